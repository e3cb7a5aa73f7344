#pragma once

#include "CliDialogs.h"
#include "editor/EnterData.h"
#include "form/FieldText.h"

#include <QJsonObject>
#include <QString>
#include <QTextStream>

namespace zal::cli {

// The editor as one JSON object (the format is a public interface of zalctl: see the README).
QJsonObject EditorJson(const TfrmEnterData& editor, const CliDialogs& dialogs);

// The four pages with their groups, captions and shown values.
void PrintEditor(QTextStream& out, const TfrmEnterData& editor);

} // namespace zal::cli
