#pragma once

#include "Settings.h"

#include <QSettings>
#include <QString>
#include <QStringList>

namespace zal {

// The places the program works with. Folders named "folder" end with a separator; the default
// configuration folder (where the file dialogs start) does not.
struct AppFolders {
    QString installFolder;       // where the shipped Values.i and ".b" images lie
    QString dataFolder;          // Values.ini and the default images
    QString configFolder;        // the user's configuration files
    QString defaultConfigFolder; // without a trailing separator
    QString settingsFile;        // dataFolder + "Values.ini"

    // Values.ini as it stands now: read anew, as other instances of the program share it.
    Settings settings() const { return Settings::Load(settingsFile); }
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
