#pragma once

#include <QStringList>
#include <QTextStream>

namespace zal::cli {

// zalctl line: one configuration into device after device, on one KBX or several at once.
int RunLine(QTextStream& out, QTextStream& err, const QStringList& arguments);

} // namespace zal::cli
