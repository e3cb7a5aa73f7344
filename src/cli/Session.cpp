#include "Session.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

namespace zal::cli {

Options Parse(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption yes(QStringLiteral("yes")), service(QStringLiteral("service")),
        changeCodes(QStringLiteral("changecodes")), json(QStringLiteral("json")),
        force(QStringLiteral("force")), output(QStringLiteral("o"), QString(), QStringLiteral("FILE")),
        product(QStringLiteral("product"), QString(), QStringLiteral("P")),
        timeout(QStringLiteral("timeout"), QString(), QStringLiteral("S")),
        serial(QStringLiteral("serial"), QString(), QStringLiteral("S")),
        format(QStringLiteral("format"), QString(), QStringLiteral("F")),
        kbx(QStringLiteral("kbx"), QString(), QStringLiteral("SERIAL")),
        port(QStringLiteral("port"), QString(), QStringLiteral("PATH")),
        count(QStringLiteral("count"), QString(), QStringLiteral("N")),
        changeCodesFrom(QStringLiteral("change-codes"), QString(), QStringLiteral("FIRSTCODE")),
        log(QStringLiteral("log"), QString(), QStringLiteral("LOG"));
    parser.addOptions({yes, service, changeCodes, json, force, output, product, timeout, serial, format, kbx,
                       port, count, changeCodesFrom, log});
    Options o;
    // The parser wants a program name in front.
    if (!parser.parse(QStringList{QStringLiteral("zalctl")} + arguments)) {
        o.error = parser.errorText();
        return o;
    }
    o.yes = parser.isSet(yes);
    o.service = parser.isSet(service);
    o.changeCodes = parser.isSet(changeCodes);
    o.json = parser.isSet(json);
    o.force = parser.isSet(force);
    o.output = parser.value(output);
    o.product = parser.value(product);
    o.timeout = parser.value(timeout);
    o.serial = parser.value(serial);
    o.format = parser.value(format).toLower();
    o.kbx = parser.values(kbx);
    o.port = parser.values(port);
    o.count = parser.value(count);
    o.changeCodes_ = parser.value(changeCodesFrom);
    o.log = parser.value(log);
    o.positional = parser.positionalArguments();
    return o;
}

Session MakeSession(QTextStream& err, const Options& o) {
    return MakeSession(err, o, o.port.value(0), o.kbx.value(0));
}

Session MakeSession(QTextStream& err, const Options& o, const QString& port, const QString& usbSerial) {
    Session s;
    s.dialogs = std::make_unique<CliDialogs>(err, o.yes);
    TfrmEnterData::Options options;
    if (o.service)
        options.arguments << QStringLiteral("-SERVICE");
    else if (o.changeCodes)
        options.arguments << QStringLiteral("-CHANGECODES");
    options.installFolder = FindInstallFolder(QCoreApplication::applicationDirPath());
    options.platform = SystemPlatformFolders();
    options.kbxFactory = TransportFactoryFor(port, usbSerial);
    s.editor = std::make_unique<TfrmEnterData>(*s.dialogs, options);
    s.editor->observer().notice = [&err](const QString& text) { err << "zalctl: " << text << Qt::endl; };
    if (::isatty(STDERR_FILENO)) {
        s.editor->observer().progress = [](int done, int planned) {
            if (planned <= 0)
                return;
            std::fprintf(stderr, "\r%3d %% (%d/%d)", done * 100 / planned, done, planned);
            if (done >= planned)
                std::fprintf(stderr, "\r                    \r");
            std::fflush(stderr);
        };
    }
    return s;
}

CommandResult Open(Session& s, const QString& path) {
    s.dialogs->answerOpenWith(path);
    return s.editor->FileOpen();
}

CommandResult SaveAs(Session& s, const QString& path) {
    s.dialogs->answerSaveWith(path);
    return s.editor->FileSaveAs();
}

} // namespace zal::cli
