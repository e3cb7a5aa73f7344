#pragma once

#include "CliDialogs.h"
#include "editor/EnterData.h"

#include <QStringList>
#include <QTextStream>

#include <memory>

namespace zal::cli {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;

// The options the editor and device commands share, and the arguments left over.
struct Options {
    bool yes = false, service = false, changeCodes = false, json = false, force = false;
    QString output, product, timeout, serial, format;
    QStringList kbx, port;            // chosen KBX units: USB serial numbers, ttys
    QString count, changeCodes_, log; // line mode
    QStringList positional;
    QString error;
};

Options Parse(const QStringList& arguments);

// The editor as the program creates it; --service and --changecodes act as the program's single
// argument. Device commands show their progress on standard error when it is a terminal.
struct Session {
    std::unique_ptr<CliDialogs> dialogs;
    std::unique_ptr<TfrmEnterData> editor;
};

Session MakeSession(QTextStream& err, const Options& options);
// The same for one chosen KBX (a tty or a USB serial number; both empty: the default one).
Session MakeSession(QTextStream& err, const Options& options, const QString& port, const QString& usbSerial);

// Opens a file as the menu does; done when the editor took it.
CommandResult Open(Session& session, const QString& path);
// Save As to a path; done when it was saved.
CommandResult SaveAs(Session& session, const QString& path);

} // namespace zal::cli
