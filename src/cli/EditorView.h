#pragma once

#include "CliDialogs.h"
#include "editor/EnterData.h"

#include <QJsonObject>
#include <QString>
#include <QTextStream>

namespace zal::cli {

// The caption of a field as a technician reads it: row, then column ("Position 3 / Relais").
QString FieldCaption(const Field& field);

// The value a field shows: its text, the selected item's text, or the check box state.
QString ShownValue(const Field& field);

// The editor as one JSON object (the format is a public interface of zalctl: see the README).
QJsonObject EditorJson(const TfrmEnterData& editor, const CliDialogs& dialogs);

// The four pages with their groups, captions and shown values.
void PrintEditor(QTextStream& out, const TfrmEnterData& editor);

} // namespace zal::cli
