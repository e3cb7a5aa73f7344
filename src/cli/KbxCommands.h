#pragma once

#include <QStringList>
#include <QTextStream>

namespace zal::cli {

// "zalctl kbx-info": asks the KBX for its information text.
int RunKbxInfo(QTextStream& out, QTextStream& err, const QStringList& arguments);

// "zalctl kbx-dump": reads the device's whole image and prints it as a hex dump.
int RunKbxDump(QTextStream& out, QTextStream& err, const QStringList& arguments);

// "zalctl kbx-list": every KBX the tool can see, so that "not plugged in" and "no permission" tell
// apart: the FTDI USB devices (description, serial, bus and address, accessible or not) and the tty
// named by ZAL_KBX_PORT.
int RunKbxList(QTextStream& out, QTextStream& err, const QStringList& arguments);

} // namespace zal::cli
