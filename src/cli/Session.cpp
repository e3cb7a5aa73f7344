#include "Session.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

namespace zal::cli {

Options Parse(const QStringList& arguments) {
    Options o;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const auto value = [&]() -> QString {
            if (i + 1 < arguments.size())
                return arguments[++i];
            o.error = a + QStringLiteral(" needs a value");
            return QString();
        };
        if (a == QLatin1String("--yes"))
            o.yes = true;
        else if (a == QLatin1String("--service"))
            o.service = true;
        else if (a == QLatin1String("--changecodes"))
            o.changeCodes = true;
        else if (a == QLatin1String("--json"))
            o.json = true;
        else if (a == QLatin1String("--force"))
            o.force = true;
        else if (a == QLatin1String("-o"))
            o.output = value();
        else if (a == QLatin1String("--product"))
            o.product = value();
        else if (a == QLatin1String("--timeout"))
            o.timeout = value();
        else if (a.startsWith(QLatin1String("--")))
            o.error = QStringLiteral("unknown option ") + a;
        else
            o.positional << a;
    }
    return o;
}

Session MakeSession(QTextStream& err, const Options& o) {
    Session s;
    s.dialogs = std::make_unique<CliDialogs>(err, o.yes);
    TfrmEnterData::Options options;
    if (o.service)
        options.arguments << QStringLiteral("-SERVICE");
    else if (o.changeCodes)
        options.arguments << QStringLiteral("-CHANGECODES");
    options.installFolder = FindInstallFolder(QCoreApplication::applicationDirPath());
    options.platform = SystemPlatformFolders();
    s.editor = std::make_unique<TfrmEnterData>(*s.dialogs, options);
    s.editor->observer.notice = [&err](const QString& text) { err << "zalctl: " << text << Qt::endl; };
    if (::isatty(STDERR_FILENO)) {
        s.editor->observer.progress = [](int done, int planned) {
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

bool Open(Session& s, const QString& path) {
    s.dialogs->answerOpenWith(path);
    s.editor->FileOpen();
    return s.editor->fileState() == fsOpened && s.editor->fileName() == path;
}

bool SaveAs(Session& s, const QString& path) {
    s.dialogs->answerSaveWith(path);
    return s.editor->FileSaveAs();
}

} // namespace zal::cli
