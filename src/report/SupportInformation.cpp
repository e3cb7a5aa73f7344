#include "SupportInformation.h"

#include "backup/SupportBundle.h"
#include "backup/SupportLog.h"
#include "records/RecordsDatabase.h"
#include "shell/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zal {
namespace {

// The settings as support may see them: a URL without its password, and no key that names one.
QByteArray Redacted(const QByteArray& settings) {
    QList<QByteArray> lines = settings.split('\n');
    for (QByteArray& line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QString key = QString::fromUtf8(line.left(equals)).trimmed();
        const QString value = QString::fromUtf8(line.mid(equals + 1));
        line = key.contains(QLatin1String("password"), Qt::CaseInsensitive)
                   ? line.left(equals + 1) + "(removed)"
                   : line.left(equals + 1) + RecordsDatabase::ShownLocation(value).toUtf8();
    }
    return lines.join('\n');
}

// A file of the data folder goes into the bundle only when it is a regular file of its own: a link could
// carry a private file from elsewhere into an archive that is sent away, and a pipe or a device would
// never end. What is left out is named in the bundle's notes.
bool ReadOwnFile(const QString& path, QByteArray& content, QStringList& notes) {
    const QString name = QFileInfo(path).fileName();
    const int fd = ::open(NativeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ELOOP)
            notes << name +
                         QStringLiteral(": left out, a symbolic link rather than a file of the data folder");
        return false;
    }
    struct stat st {};
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        notes << name + QStringLiteral(": left out, not a regular file");
        return false;
    }
    content = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

CommandResult SaveSupportBundle(TfrmEnterData& editor, const QString& path) {
    std::vector<BundleEntry> entries;
    QStringList notes;
    for (const QString& file : SupportLog(editor.supportLogPath()).Files()) {
        QByteArray content;
        if (ReadOwnFile(file, content, notes))
            entries.emplace_back(QFileInfo(file).fileName(), content);
    }
    const QString versions =
        QStringLiteral("ZAL family programmer %1\nQt %2\n%3\n%4\n%5 (%6)\n")
            .arg(ProgramVersionText(), QString::fromLatin1(qVersion()), UsbLibraryVersion(),
                 ArchiveLibraryVersion(), QSysInfo::prettyProductName(), QSysInfo::kernelVersion());
    entries.emplace_back(QStringLiteral("versions.txt"), versions.toUtf8());
    entries.emplace_back(QStringLiteral("kbx-info.txt"), (editor.KbxInformation() + u'\n').toUtf8());
    // Backup entries that wait for the records to be reached again.
    QByteArray waiting;
    if (const QString index = editor.backups().indexPath();
        PathExists(index) && ReadOwnFile(index, waiting, notes))
        entries.emplace_back(QStringLiteral("backups-index.jsonl"), waiting);
    // The records database only if there is one: asking would create it.
    const QString records =
        RecordsDatabase::Location(editor.folders().dataFolder, editor.folders().settings());
    if (records.startsWith(QLatin1String("postgres")) || PathExists(records))
        entries.emplace_back(QStringLiteral("records.txt"), RecordsDatabase(records).Summary().toUtf8());
    QByteArray settings;
    if (ReadOwnFile(editor.folders().settingsFile, settings, notes))
        entries.emplace_back(QStringLiteral("Values.ini"), Redacted(settings));
    if (!notes.isEmpty())
        entries.emplace_back(QStringLiteral("notes.txt"), (notes.join(u'\n') + u'\n').toUtf8());
    if (const Result<> written = WriteZipArchive(path, entries); !written)
        return CommandResult(CommandResult::Failed).setDetail(written.error());
    return CommandResult::Done;
}

} // namespace zal
