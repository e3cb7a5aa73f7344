#pragma once

// Every setting the program reads, declared once: where it stands in Values.ini, what it is when
// neither the file nor the environment says, and the environment variable that overrides it. Code asks
// for a setting by its declaration and never names a section, a key or a variable itself.

#include "SettingsFile.h"

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>
#include <vector>

namespace zal {

struct SettingPlace {
    const char* section;
    const char* key;
};

// Text, trimmed; empty when missing. An environment variable that is set and not empty wins.
struct TextSetting {
    SettingPlace place;
    const char* environment = nullptr;
};

// A whole number above zero; anything else (missing, 0, "abc") gives the fallback.
struct CountSetting {
    SettingPlace place;
    int fallback;
};

// On unless the file says "0" (or the other way round): a missing key keeps the fallback.
struct SwitchSetting {
    SettingPlace place;
    bool fallback;
};

// A section of numbered entries shipped with the program ("0=...", "1=...").
struct NumberedSetting {
    const char* section;
};

// Set only in the environment, for the technician or the tests.
struct EnvironmentSetting {
    const char* name;
};

namespace setting {

// The user's choice of default configuration folder, and the program version the file was installed by.
inline constexpr TextSetting kConfigDirectory{{"Setup", "ConfigDirectory"}};
inline constexpr TextSetting kAppVersion{{"Setup", "AppVersion"}};

// The records: a file (absolute, or relative to the data folder) or a postgresql:// URL, the station's
// name in them, and the waits a server URL gets unless it names them itself.
inline constexpr TextSetting kRecordsDatabase{{"Records", "Database"}, "ZAL_RECORDS"};
inline constexpr TextSetting kRecordsStation{{"Records", "Station"}, "ZAL_STATION"};
inline constexpr TextSetting kRecordsConnectTimeout{{"Records", "ConnectTimeout"}};
inline constexpr TextSetting kRecordsStatementTimeout{{"Records", "StatementTimeout"}};
inline constexpr TextSetting kRecordsLockTimeout{{"Records", "LockTimeout"}};
// How long a commit that hands out fixed codes waits for a synchronous standby to confirm it.
inline constexpr TextSetting kRecordsReplicationWait{{"Records", "ReplicationWait"}};

// The device backups: how long they are kept, whether a write reads and keeps the device's image first
// and whether it shows what it will change.
inline constexpr CountSetting kBackupMaxAgeDays{{"Backups", "MaxAgeDays"}, 365};
inline constexpr CountSetting kBackupKeepPerDevice{{"Backups", "KeepPerDevice"}, 20};
inline constexpr SwitchSetting kBackupBeforeWrite{{"Backups", "BeforeWrite"}, true};
inline constexpr SwitchSetting kBackupWritePreview{{"Backups", "WritePreview"}, true};

// Shipped texts: product names by code, frequency bands and radio protocols by number.
inline constexpr NumberedSetting kProductName{"ProductName"};
inline constexpr NumberedSetting kFrequencyBand{"FrequencyBand"};
inline constexpr NumberedSetting kRadioProtocol{"RadioProtocol"};

// The KBX: a tty instead of the USB unit, every frame logged ("1"), a vendor:product pair of the
// unit's own, and where the kernel shows the USB devices' strings.
inline constexpr EnvironmentSetting kKbxPort{"ZAL_KBX_PORT"};
inline constexpr EnvironmentSetting kKbxTrace{"ZAL_KBX_TRACE"};
inline constexpr EnvironmentSetting kKbxUsbId{"ZAL_KBX_USB_ID"};
inline constexpr EnvironmentSetting kUsbSysfs{"ZAL_USB_SYSFS"};

// What the user sets rather than the shipped copy: kept when a program update installs a new
// Values.ini over the old one. The shipped copy has none of these keys.
inline constexpr std::initializer_list<SettingPlace> kUserPlaces{
    kConfigDirectory.place,        kRecordsDatabase.place,         kRecordsStation.place,
    kRecordsConnectTimeout.place,  kRecordsStatementTimeout.place, kRecordsLockTimeout.place,
    kRecordsReplicationWait.place, kBackupMaxAgeDays.place,        kBackupKeepPerDevice.place,
    kBackupBeforeWrite.place,      kBackupWritePreview.place,
};

} // namespace setting

// Where a setting's value came from, for a listing of them all.
enum class SettingOrigin { Default, File, Environment };

struct ListedSetting {
    QString name;  // "[Records] Station", or the variable for one set only in the environment
    QString value; // what is used
    SettingOrigin origin;
    int line = 0;        // in the file, when it came from there
    QString environment; // the variable, when it came from there
};

// A wait as a server URL or the settings give it ("2s", "1min", "500ms", or "500" in ms, as PostgreSQL
// reads it); nothing when it is none (or longer than a server takes).
std::optional<qint64> DurationMs(const QString& text);

// Values.ini read once; each question answers from that one reading (and the environment), so a
// command that needs several settings opens the file once.
class Settings {
public:
    // A missing or unreadable file gives every setting its fallback.
    static Settings Load(const QString& path);
    explicit Settings(SettingsFile file, QString path = {})
        : file_(std::move(file)), path_(std::move(path)) {}

    QString value(const TextSetting& setting) const;
    int value(const CountSetting& setting) const;
    bool value(const SwitchSetting& setting) const;
    // The entry numbered so, or empty.
    QString entry(const NumberedSetting& setting, int number) const;
    // A wait for the server's records: its text when it is a duration, else empty (the default holds).
    QString wait(const TextSetting& setting) const;
    // Every declared setting but the shipped lists, with what is used and where it came from (as git
    // config --list --show-origin does).
    std::vector<ListedSetting> listing() const;
    // What the file itself holds at the place, without fallback or environment.
    std::optional<QString> stored(const SettingPlace& place) const;

    // What the file holds that cannot be used as it stands, each with the file, its line and what is used
    // instead: a value followed by "; comment" (the file's rules keep it as part of the value), a switch
    // that is neither 0 nor 1, a count that is no whole number above zero, a wait that is no duration, has
    // no unit, or is set for records that are no server.
    QStringList problems() const;

    // Shipped lists of numbered entries that are declared as data elsewhere (the value lists' rows).
    const SettingsFile& file() const { return file_; }

    // Whether the setting's environment variable overrides the file now.
    static bool FromEnvironment(const TextSetting& setting);
    static QString Environment(const EnvironmentSetting& setting);
    // The technicians' switches are on with "1" only, so that "0" turns them off.
    static bool EnvironmentSwitch(const EnvironmentSetting& setting);

    // One key written into the file at the path, keeping every other byte of it.
    static Result<> Store(const QString& path, const TextSetting& setting, const QString& value);
    static Result<> Store(const QString& path, const SwitchSetting& setting, bool on);
    static Result<> Store(const QString& path, const SettingPlace& place, const QString& value);

private:
    // "path:line: [Section] Key=value", where a problem's words follow.
    QString where(const SettingPlace& place, const QString& value) const;
    QStringList waitProblems() const;

    SettingsFile file_;
    QString path_;
};

} // namespace zal
