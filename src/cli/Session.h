#pragma once

#include "CliDialogs.h"
#include "editor/EnterData.h"

#include <QStringList>
#include <QTextStream>

#include <memory>

namespace zal::cli {

constexpr int kOk = 0, kFailed = 1, kUsage = 2;

// Every option zalctl knows; a command takes a set of them.
enum Option : unsigned {
    kOptYes = 1u << 0,
    kOptService = 1u << 1,
    kOptChangeCodes = 1u << 2,
    kOptJson = 1u << 3,
    kOptForce = 1u << 4,
    kOptOutput = 1u << 5,
    kOptProduct = 1u << 6,
    kOptTimeout = 1u << 7,
    kOptSerial = 1u << 8,
    kOptFormat = 1u << 9,
    kOptKbx = 1u << 10,
    kOptPort = 1u << 11,
    kOptCount = 1u << 12,
    kOptChangeCodesFrom = 1u << 13,
    kOptLog = 1u << 14,
    kOptPreview = 1u << 15,
    kOptSince = 1u << 16,
    kOptStation = 1u << 17,
    kOptCsv = 1u << 18,
    kOptConfigOnly = 1u << 19,
    kOptReplace = 1u << 20,
    kOptAllowAsync = 1u << 21,
    kOptHeader = 1u << 22,
};
constexpr int kOptionCount = 23;
// How an option is written on the command line and in usage texts ("-o FILE", "--json").
struct OptionSpelling {
    Option option;
    const char* name;  // as the parser knows it: "o", "json"
    const char* usage; // "-o FILE", "--json"
    const char* help;  // what it does, for a command's --help
};
const OptionSpelling (&OptionSpellings())[kOptionCount];

// The options the editor and device commands share, and the arguments left over.
struct Options {
    unsigned given = 0; // the Option bits present on the command line
    bool yes = false, service = false, changeCodes = false, json = false, force = false, preview = false,
         header = false;
    QString output, product, timeout, serial, format, since, station, csv;
    QStringList kbx, port;            // chosen KBX units: USB serial numbers, ttys
    QString count, changeCodes_, log; // line mode
    QStringList logs;                 // every --log given (records rebuild takes several)
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

// An output (-o) that names one of the inputs, or an existing configuration file, is not replaced
// without --yes: true (and why on err) when the command must stop.
// Where -o writes: "-" is standard output, whatever it is (a pipe, a terminal, a file).
inline QString OutputPath(const Options& o) {
    return o.output == QLatin1String("-") ? QStringLiteral("/dev/stdout") : o.output;
}
bool OutputRefused(QTextStream& err, const Options& options, const QStringList& inputs = {});

// Opens a file as the menu does; done when the editor took it.
CommandResult Open(Session& session, const QString& path);
// A configuration's -o, checked before the command does anything: a name is written as given and never
// silently changed, so one that ends in no product's extension (out.bin, out.txt) is refused with the
// reason, and -o - (standard output) takes no --json beside it. Says why on err.
bool SaveNameRefused(QTextStream& err, const Options& options, const char* command);
// Save As to -o's path (- is standard output): one ending in the product's extension, in any case, is
// written as given; one ending in another product's is refused, saying why on err; one without an
// extension gets the product's, and err says the name it was saved under.
CommandResult SaveAs(Session& session, const QString& path, QTextStream& err);

} // namespace zal::cli
