#pragma once

#include <QStringList>
#include <QTextStream>

namespace zal::cli {

// "zalctl kbx-info": asks the KBX for its information text.
int RunKbxInfo(QTextStream& out, QTextStream& err, const QStringList& arguments);

// "zalctl kbx-dump": reads the device's whole image and prints it as a hex dump.
int RunKbxDump(QTextStream& out, QTextStream& err, const QStringList& arguments);

} // namespace zal::cli
