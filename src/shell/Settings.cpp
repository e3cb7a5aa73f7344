#include "Settings.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <optional>

namespace zal {
namespace {

QString Text(const char* name) {
    return QString::fromLatin1(name);
}

constexpr const TextSetting* kWaits[] = {&setting::kRecordsConnectTimeout, &setting::kRecordsStatementTimeout,
                                         &setting::kRecordsLockTimeout, &setting::kRecordsReplicationWait};

} // namespace

std::optional<qint64> DurationMs(const QString& text) {
    static const QRegularExpression duration(QStringLiteral("^(\\d{1,10})(ms|s|min)?$"));
    const QRegularExpressionMatch match = duration.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 number = match.captured(1).toLongLong();
    const QString unit = match.captured(2);
    const qint64 ms = unit == QLatin1String("min") ? number * 60000
                      : unit == QLatin1String("s") ? number * 1000
                                                   : number;
    // The server takes a wait up to INT_MAX ms.
    if (ms > 2147483647)
        return std::nullopt;
    return ms;
}

std::vector<ListedSetting> Settings::listing() const {
    std::vector<ListedSetting> listed;
    const auto add = [&](const SettingPlace& place, const QString& value, const char* environment) {
        ListedSetting l{QStringLiteral("[%1] %2").arg(Text(place.section), Text(place.key)), value,
                        SettingOrigin::Default, 0, QString()};
        if (environment && !qEnvironmentVariable(environment).trimmed().isEmpty()) {
            l.origin = SettingOrigin::Environment;
            l.environment = Text(environment);
        } else if (file_.value(Text(place.section), Text(place.key))) {
            l.origin = SettingOrigin::File;
            l.line = file_.lineOf(Text(place.section), Text(place.key));
        }
        listed.push_back(std::move(l));
    };
    for (const TextSetting& s :
         {setting::kConfigDirectory, setting::kAppVersion, setting::kRecordsDatabase,
          setting::kRecordsStation, setting::kRecordsConnectTimeout, setting::kRecordsStatementTimeout,
          setting::kRecordsLockTimeout, setting::kRecordsReplicationWait})
        add(s.place, value(s), s.environment);
    for (const CountSetting& s : {setting::kBackupMaxAgeDays, setting::kBackupKeepPerDevice})
        add(s.place, QString::number(value(s)), nullptr);
    for (const SwitchSetting& s : {setting::kBackupBeforeWrite, setting::kBackupWritePreview})
        add(s.place, value(s) ? QStringLiteral("1") : QStringLiteral("0"), nullptr);
    for (const EnvironmentSetting& s :
         {setting::kKbxPort, setting::kKbxTrace, setting::kKbxUsbId, setting::kUsbSysfs}) {
        const QString value = Environment(s);
        listed.push_back({Text(s.name), value,
                          value.isEmpty() ? SettingOrigin::Default : SettingOrigin::Environment, 0,
                          value.isEmpty() ? QString() : Text(s.name)});
    }
    return listed;
}

QString Settings::wait(const TextSetting& setting) const {
    const QString text = value(setting);
    return DurationMs(text) ? text : QString();
}

Settings Settings::Load(const QString& path) {
    return Settings(SettingsFile::Load(path), path);
}

QString Settings::where(const SettingPlace& place, const QString& value) const {
    return QStringLiteral("%1:%2: [%3] %4=%5")
        .arg(path_)
        .arg(file_.lineOf(Text(place.section), Text(place.key)))
        .arg(Text(place.section), Text(place.key), value);
}

namespace {

// A ";" after blanks reads as a comment to a person, never to the file's rules.
bool Commented(const QString& value) {
    static const QRegularExpression comment(QStringLiteral("\\s;"));
    return value.contains(comment);
}

} // namespace

QStringList Settings::problems() const {
    QStringList said;
    const QString commentNote = QCoreApplication::translate(
        "Settings", " (ein „;“ nach dem Wert beginnt keinen Kommentar: Kommentare "
                    "stehen auf einer eigenen Zeile)");
    for (const SwitchSetting& s : {setting::kBackupBeforeWrite, setting::kBackupWritePreview}) {
        const QString text = file_.text(Text(s.place.section), Text(s.place.key)).trimmed();
        if (!text.isEmpty() && text != QLatin1String("0") && text != QLatin1String("1"))
            said << where(s.place, text) +
                        QCoreApplication::translate("Settings", ": weder 0 noch 1; es gilt %1")
                            .arg(value(s) ? 1 : 0) +
                        (Commented(text) ? commentNote : QString());
    }
    for (const CountSetting& s : {setting::kBackupMaxAgeDays, setting::kBackupKeepPerDevice}) {
        const QString text = file_.text(Text(s.place.section), Text(s.place.key)).trimmed();
        bool ok = false;
        if (!text.isEmpty() && (text.toInt(&ok) <= 0 || !ok))
            said << where(s.place, text) +
                        QCoreApplication::translate("Settings", ": keine ganze Zahl über 0; es gilt %1")
                            .arg(value(s)) +
                        (Commented(text) ? commentNote : QString());
    }
    for (const TextSetting& s :
         {setting::kConfigDirectory, setting::kRecordsDatabase, setting::kRecordsStation,
          setting::kRecordsConnectTimeout, setting::kRecordsStatementTimeout, setting::kRecordsLockTimeout,
          setting::kRecordsReplicationWait}) {
        const QString text = file_.text(Text(s.place.section), Text(s.place.key)).trimmed();
        if (Commented(text))
            said << where(s.place, text) +
                        QCoreApplication::translate("Settings", ": es gilt der ganze Text") + commentNote;
    }
    return said + waitProblems();
}

QStringList Settings::waitProblems() const {
    // A duration with its unit, and only where a server reads it.
    QStringList said;
    const QString records = value(setting::kRecordsDatabase);
    const bool server = records.startsWith(QLatin1String("postgresql://")) ||
                        records.startsWith(QLatin1String("postgres://"));
    for (const TextSetting* s : kWaits) {
        const QString text = file_.text(Text(s->place.section), Text(s->place.key)).trimmed();
        if (text.isEmpty() || Commented(text)) // said as a comment already
            continue;
        const std::optional<qint64> ms = DurationMs(text);
        if (!ms)
            said << where(s->place, text) + QCoreApplication::translate(
                                                "Settings", ": keine Dauer (500ms, 2s, 1min); es gilt der "
                                                            "Standardwert");
        else if (!server)
            said << where(s->place, text) + QCoreApplication::translate(
                                                "Settings",
                                                ": gilt nur für Aufzeichnungen auf einem PostgreSQL-Server; "
                                                "SQLite wartet bis zu 10 s auf eine Sperre");
        else if (text.back().isDigit())
            said << where(s->place, text) + QCoreApplication::translate(
                                                "Settings", ": ohne Einheit; es gilt %1 ms, wie PostgreSQL "
                                                            "es liest (%1s für Sekunden)")
                                                .arg(*ms);
    }
    return said;
}

bool Settings::FromEnvironment(const TextSetting& setting) {
    return setting.environment && !qEnvironmentVariable(setting.environment).trimmed().isEmpty();
}

QString Settings::value(const TextSetting& setting) const {
    if (FromEnvironment(setting))
        return qEnvironmentVariable(setting.environment).trimmed();
    return file_.text(Text(setting.place.section), Text(setting.place.key)).trimmed();
}

int Settings::value(const CountSetting& setting) const {
    bool ok = false;
    const int value = file_.text(Text(setting.place.section), Text(setting.place.key)).trimmed().toInt(&ok);
    return ok && value > 0 ? value : setting.fallback;
}

bool Settings::value(const SwitchSetting& setting) const {
    const QString text = file_.text(Text(setting.place.section), Text(setting.place.key)).trimmed();
    if (text.isEmpty())
        return setting.fallback;
    return setting.fallback ? text != QLatin1String("0") : text == QLatin1String("1");
}

QString Settings::entry(const NumberedSetting& setting, int number) const {
    return file_.text(Text(setting.section), QString::number(number));
}

std::optional<QString> Settings::stored(const SettingPlace& place) const {
    return file_.value(Text(place.section), Text(place.key));
}

QString Settings::Environment(const EnvironmentSetting& setting) {
    return qEnvironmentVariable(setting.name);
}

bool Settings::EnvironmentSwitch(const EnvironmentSetting& setting) {
    return qEnvironmentVariable(setting.name).trimmed() == QLatin1String("1");
}

Result<> Settings::Store(const QString& path, const SettingPlace& place, const QString& value) {
    return WriteSettingValue(path, Text(place.section), Text(place.key), value);
}

Result<> Settings::Store(const QString& path, const TextSetting& setting, const QString& value) {
    return Store(path, setting.place, value);
}

Result<> Settings::Store(const QString& path, const SwitchSetting& setting, bool on) {
    return Store(path, setting.place, on ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace zal
