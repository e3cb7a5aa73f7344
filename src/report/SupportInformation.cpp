#include "SupportInformation.h"

#include "backup/SupportBundle.h"
#include "backup/SupportLog.h"
#include "shell/FileSystem.h"

#include <QFileInfo>
#include <QSysInfo>

namespace zal {

CommandResult SaveSupportBundle(TfrmEnterData& editor, const QString& path) {
    std::vector<BundleEntry> entries;
    for (const QString& file : SupportLog(editor.supportLogPath()).Files()) {
        QByteArray content;
        if (ReadWholeFile(file, content))
            entries.emplace_back(QFileInfo(file).fileName(), content);
    }
    const QString versions =
        QStringLiteral("ZAL family programmer %1\nQt %2\n%3\n%4\n%5 (%6)\n")
            .arg(ProgramVersionText(), QString::fromLatin1(qVersion()), UsbLibraryVersion(),
                 ArchiveLibraryVersion(), QSysInfo::prettyProductName(), QSysInfo::kernelVersion());
    entries.emplace_back(QStringLiteral("versions.txt"), versions.toUtf8());
    entries.emplace_back(QStringLiteral("kbx-info.txt"), (editor.KbxInformation() + u'\n').toUtf8());
    entries.emplace_back(QStringLiteral("backups-index.jsonl"), editor.backups().IndexTail(50));
    QByteArray settings;
    if (ReadWholeFile(editor.folders().settingsFile, settings))
        entries.emplace_back(QStringLiteral("Values.ini"), settings);
    const QString problem = WriteZipArchive(path, entries);
    if (!problem.isEmpty())
        return CommandResult(CommandResult::Failed).setDetail(problem);
    return CommandResult::Done;
}

} // namespace zal
