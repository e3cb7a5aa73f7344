#pragma once

#include "CliDialogs.h"
#include "editor/EnterData.h"
#include "form/FieldText.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QTextStream>

namespace zal::cli {

// The editor as one JSON object (the format is a public interface of zalctl: see the README).
QJsonObject EditorJson(const TfrmEnterData& editor, const CliDialogs& dialogs);

// Fields two images show differently: name, page, group and caption, then the first image's value
// under mineKey and the second's under otherKey.
QJsonArray ChangesJson(const std::vector<DifferenceRow>& rows, const char* mineKey, const char* otherKey);

// The four pages with their groups, captions and shown values.
void PrintEditor(QTextStream& out, const TfrmEnterData& editor);

} // namespace zal::cli
