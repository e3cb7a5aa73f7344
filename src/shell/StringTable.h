#pragma once

#include <QString>
#include <QStringList>

namespace zal {

// Every user-visible text of the program is a numbered entry of one table, so that technicians and
// service documents can refer to messages by number. Texts are kept verbatim, slips included.
QString Str(int id);

// True when the table holds a text of that number.
bool HasStr(int id);

// Fills "%s" placeholders from left to right, as the original's Format did for strings. A "%s"
// without an argument stays as it is; "%%" gives a single "%".
QString FormatText(const QString& format, const QStringList& args);

// Str(id) with its placeholders filled.
QString StrF(int id, const QStringList& args);

} // namespace zal
