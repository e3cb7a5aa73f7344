#include "AppFolders.h"

#include "FileSystem.h"
#include "Settings.h"
#include "StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace zal {
namespace {

bool IsFolder(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

// Creates every missing folder of the path, one level at a time so that each gets normal permissions.
bool MakePath(const QString& path) {
    if (IsFolder(path))
        return true;
    const QString parent = QFileInfo(WithoutTrailingSeparator(path)).path();
    if (parent != path && !IsFolder(parent) && !MakePath(parent))
        return false;
    return MakeFolder(path);
}

// The data folder's name is kept in the string table in its Windows form.
QString DataFolderSuffix() {
    return Str(19999).replace(u'\\', u'/');
}

} // namespace

QString UsableHome(const QString& homeVariable, const QString& passwordHome) {
    const auto root = [](const QString& path) { return QDir::cleanPath(path) == QLatin1String("/"); };
    if (!homeVariable.isEmpty() && !root(homeVariable))
        return homeVariable;
    return passwordHome.isEmpty() || root(passwordHome) ? QString() : passwordHome;
}

PlatformFolders SystemPlatformFolders() {
    // Without HOME (a service, cron, "env -i") Qt takes "/" for the home, where root could create
    // Documents and .local: the home from the password database is meant instead.
    const passwd* user = ::getpwuid(::geteuid());
    const QString home =
        UsableHome(qEnvironmentVariable("HOME"),
                   user && user->pw_dir ? NameFromNative(QByteArray(user->pw_dir)) : QString());
    if (home.isEmpty())
        return {};
    if (home != qEnvironmentVariable("HOME"))
        qputenv("HOME", NativeName(home));
    PlatformFolders folders;
    folders.applicationData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    folders.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!folders.applicationData.isEmpty())
        MakePath(folders.applicationData);
    if (!folders.documents.isEmpty())
        MakePath(folders.documents);
    return folders;
}

QString FindInstallFolder(const QString& executableFolder) {
    const QString here = WithTrailingSeparator(executableFolder);
    if (QFileInfo::exists(here + QStringLiteral("Values.i")))
        return here;
    // Installed: bin/ and share/ are siblings; a helper program lies one folder deeper, in
    // libexec/zal-programmer/.
    for (const char* relative : {"../share/zal-programmer", "../../share/zal-programmer"}) {
        const QString shared = QDir::cleanPath(here + QLatin1String(relative));
        if (IsFolder(shared))
            return WithTrailingSeparator(shared);
    }
    return here;
}

QString ProgramVersionText() {
    return QStringLiteral(ZAL_PROGRAM_VERSION);
}

const QStringList& DefaultImageBaseNames() {
    // The build's list of the images it ships (cmake/DefaultImages.cmake), so that a new one is named once.
    static const QStringList names = QStringLiteral(ZAL_DEFAULT_IMAGE_NAMES).split(u'|');
    return names;
}

AppFolders SettleFolders(const QString& installFolder, const QString& programVersion,
                         const QStringList& arguments, const PlatformFolders& platform) {
    AppFolders f;
    f.installFolder = WithTrailingSeparator(installFolder);

    // 1. Data folder.
    if (IsFolder(platform.applicationData)) {
        const QString base = WithoutTrailingSeparator(platform.applicationData);
        MakeFolder(base + QStringLiteral("/VESK/"));
        f.dataFolder = base + DataFolderSuffix();
        MakeFolder(f.dataFolder);
    } else {
        f.dataFolder = f.installFolder;
    }

    // 2. Configuration folder.
    if (IsFolder(platform.documents)) {
        const QString base = WithoutTrailingSeparator(platform.documents);
        MakeFolder(base + QStringLiteral("/VESK/"));
        f.configFolder = base + QStringLiteral("/VESK/ZAL Config/");
        MakeFolder(f.configFolder);
    } else {
        f.configFolder = f.installFolder + QStringLiteral("Config/");
        MakeFolder(f.configFolder);
    }

    // 3. Settings file: installed on the first start, refreshed whenever the program version changes,
    // keeping what the user set (the configuration folder, the records, the backups).
    const QString shipped = f.installFolder + QStringLiteral("Values.i");
    f.settingsFile = f.dataFolder + QStringLiteral("Values.ini");
    bool refresh = false, installed = false;
    if (QFileInfo::exists(shipped)) {
        if (QFileInfo::exists(f.settingsFile)) {
            const Settings current = Settings::Load(f.settingsFile);
            if (current.value(setting::kAppVersion) != programVersion) {
                CopyFileReplacing(shipped, f.settingsFile);
                for (const SettingPlace& place : setting::kUserPlaces) {
                    if (const std::optional<QString> kept = current.stored(place))
                        Settings::Store(f.settingsFile, place, *kept);
                }
                Settings::Store(f.settingsFile, setting::kAppVersion, programVersion);
                refresh = true;
            }
        } else {
            CopyFileReplacing(shipped, f.settingsFile);
            Settings::Store(f.settingsFile, setting::kAppVersion, programVersion);
            installed = true;
        }
        // The settings name the records' server and its user: for this user's eyes only (a later
        // rewrite keeps the mode).
        if (refresh || installed)
            QFile::setPermissions(f.settingsFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // 4. Default images: missing ones always, all of them on a refresh.
    for (const QString& base : DefaultImageBaseNames()) {
        const QString source = f.installFolder + base + QStringLiteral(".b");
        const QString target = f.dataFolder + base + QStringLiteral(".bin");
        if (QFileInfo::exists(source) && (refresh || !QFileInfo::exists(target)))
            CopyFileReplacing(source, target);
    }

    // 5.-7. Default configuration folder: a folder named on the command line, else the user's choice
    // kept in the settings file, else the configuration folder.
    f.defaultConfigFolder = WithoutTrailingSeparator(f.configFolder);
    for (const QString& argument : arguments) {
        if (IsFolder(argument)) {
            f.defaultConfigFolder = argument;
            return f;
        }
    }
    const QString stored = Settings::Load(f.settingsFile).value(setting::kConfigDirectory);
    if (!stored.isEmpty())
        f.defaultConfigFolder = WithoutTrailingSeparator(stored);
    return f;
}

void StoreDefaultConfigFolder(AppFolders& folders, const QString& folder) {
    folders.defaultConfigFolder = WithoutTrailingSeparator(folder);
    Settings::Store(folders.settingsFile, setting::kConfigDirectory, folders.defaultConfigFolder);
}

QSettings UserSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VESK"),
                     QStringLiteral("ZAL Programmer"));
}

} // namespace zal
