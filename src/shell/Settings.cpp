#include "Settings.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace zal {
namespace {

QString Text(const char* name) {
    return QString::fromLatin1(name);
}

} // namespace

Settings Settings::Load(const QString& path) {
    return Settings(SettingsFile::Load(path), path);
}

QStringList Settings::problems() const {
    QStringList said;
    const auto where = [this](const SettingPlace& place, const QString& value) {
        return QStringLiteral("%1:%2: [%3] %4=%5")
            .arg(path_)
            .arg(file_.lineOf(Text(place.section), Text(place.key)))
            .arg(Text(place.section), Text(place.key), value);
    };
    // A ";" after blanks reads as a comment to a person, never to the file's rules.
    static const QRegularExpression comment(QStringLiteral("\\s;"));
    const auto commented = [](const QString& value) { return value.contains(comment); };
    const QString commentNote = QCoreApplication::translate(
        "Settings", " (ein „;“ nach dem Wert beginnt keinen Kommentar: Kommentare "
                    "stehen auf einer eigenen Zeile)");
    for (const SwitchSetting& s : {setting::kBackupBeforeWrite, setting::kBackupWritePreview}) {
        const QString text = file_.text(Text(s.place.section), Text(s.place.key)).trimmed();
        if (!text.isEmpty() && text != QLatin1String("0") && text != QLatin1String("1"))
            said << where(s.place, text) +
                        QCoreApplication::translate("Settings", ": weder 0 noch 1; es gilt %1")
                            .arg(value(s) ? 1 : 0) +
                        (commented(text) ? commentNote : QString());
    }
    for (const CountSetting& s : {setting::kBackupMaxAgeDays, setting::kBackupKeepPerDevice}) {
        const QString text = file_.text(Text(s.place.section), Text(s.place.key)).trimmed();
        bool ok = false;
        if (!text.isEmpty() && (text.toInt(&ok) <= 0 || !ok))
            said << where(s.place, text) +
                        QCoreApplication::translate("Settings", ": keine ganze Zahl über 0; es gilt %1")
                            .arg(value(s)) +
                        (commented(text) ? commentNote : QString());
    }
    for (const TextSetting& s :
         {setting::kConfigDirectory, setting::kRecordsDatabase, setting::kRecordsStation,
          setting::kRecordsConnectTimeout, setting::kRecordsStatementTimeout, setting::kRecordsLockTimeout,
          setting::kRecordsReplicationWait}) {
        const QString text = file_.text(Text(s.place.section), Text(s.place.key)).trimmed();
        if (commented(text))
            said << where(s.place, text) +
                        QCoreApplication::translate("Settings", ": es gilt der ganze Text") + commentNote;
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

bool Settings::Store(const QString& path, const SettingPlace& place, const QString& value) {
    return WriteSettingValue(path, Text(place.section), Text(place.key), value);
}

bool Settings::Store(const QString& path, const TextSetting& setting, const QString& value) {
    return Store(path, setting.place, value);
}

bool Settings::Store(const QString& path, const SwitchSetting& setting, bool on) {
    return Store(path, setting.place, on ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace zal
