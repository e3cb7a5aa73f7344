#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

namespace zal {

// The places the program works with. Folders named "folder" end with a separator; the default
// configuration folder (where the file dialogs start) does not.
struct AppFolders {
    QString installFolder;       // where the shipped Values.i and ".b" images lie
    QString dataFolder;          // Values.ini and the eighteen default images
    QString configFolder;        // the user's configuration files
    QString defaultConfigFolder; // without a trailing separator
    QString settingsFile;        // dataFolder + "Values.ini"
};

// The machine's folders the program settles under; empty when the platform has none.
struct PlatformFolders {
    QString applicationData; // the user's XDG data folder
    QString documents;       // the user's documents folder
};

// Asks Qt for the user's data and documents folders, creating them when they are missing (a fresh
// account may have neither yet).
PlatformFolders SystemPlatformFolders();
// The home the platform folders go into: HOME, else (unset, or "/") the password database's home; none
// when that is "/" or unknown either, and the folders then fall back as for a home that cannot be used.
QString UsableHome(const QString& homeVariable, const QString& passwordHome);

// The shipped copies lie beside the executable in a build tree and under <prefix>/share/zal-programmer/
// for an installed program.
QString FindInstallFolder(const QString& executableFolder);

// The program's own version text, four numbers.
QString ProgramVersionText();

// The user's own settings, apart from Values.ini: the editor window's place and the language chosen
// (~/.config/VESK/ZAL Programmer.ini).
QSettings UserSettings();

// The section of Values.ini that holds the settings of the device backups. It is not in the shipped
// copy, so a refresh after a program update keeps it as the user left it.
inline constexpr char kBackupSection[] = "Backups";
inline constexpr char kBackupMaxAgeDays[] = "MaxAgeDays";
inline constexpr char kBackupKeepPerDevice[] = "KeepPerDevice";
inline constexpr char kBackupBeforeWrite[] = "BeforeWrite";
inline constexpr char kBackupWritePreview[] = "WritePreview";

// Base names of the default images the build ships, in the order they are installed.
const QStringList& DefaultImageBaseNames();

// Settles the folders, installs or refreshes Values.ini and the default images from the shipped copies,
// and picks the default configuration folder from the arguments or the settings file. Shows nothing and
// reports nothing: whatever cannot be created or copied is left as it is.
AppFolders SettleFolders(const QString& installFolder, const QString& programVersion,
                         const QStringList& arguments, const PlatformFolders& platform);

// Sets the default configuration folder and stores it in the settings file.
void StoreDefaultConfigFolder(AppFolders& folders, const QString& folder);

} // namespace zal
