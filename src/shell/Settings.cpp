#include "Settings.h"

namespace zal {
namespace {

QString Text(const char* name) {
    return QString::fromLatin1(name);
}

} // namespace

Settings Settings::Load(const QString& path) {
    return Settings(SettingsFile::Load(path));
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
