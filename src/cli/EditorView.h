#pragma once

#include "CliDialogs.h"
#include "editor/EnterData.h"
#include "form/FieldText.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QTextStream>

namespace zal::cli {

// The editor as one JSON object (the format is a public interface of zalctl: see the README).
QJsonObject EditorJson(const TfrmEnterData& editor, const CliDialogs& dialogs);

// A text from the records or another PC as a terminal may show it: control characters (an escape
// sequence, a newline in a station's name) written as \xHH, so that it can neither move the cursor
// nor forge a row. JSON keeps such texts exact.
QString Printable(const QString& text);

// A time as JSON gives it: ISO 8601 with its offset from UTC, so that it reads the same everywhere.
QString JsonTime(const QDateTime& time);

// Prints a command's JSON document; one that failed carries what it said on err as "error"
// ({"number": N, "text": ...}) beside the rest.
void PrintJsonDocument(QTextStream& out, QTextStream& err, QJsonObject document, bool failed);

// Fields two images show differently: name, page, group and caption, then the first image's value
// under mineKey and the second's under otherKey.
QJsonArray ChangesJson(const std::vector<DifferenceRow>& rows, const char* mineKey, const char* otherKey);

// Puts the fields through the image and back, as saving the file and opening it again would: a value
// the image does not keep (a field forced open that this product does not store) then shows as it
// will be. False when a text does not parse (the save that follows says which).
bool SettleThroughImage(TfrmEnterData& editor);

// Why a field cannot be changed from the command line even with --force: it only shows what the file
// or the device holds (the product information); empty when it can be.
QString ShowsOnly(const Field& field);

// The four pages with their groups, captions and shown values.
void PrintEditor(QTextStream& out, const TfrmEnterData& editor);

} // namespace zal::cli
