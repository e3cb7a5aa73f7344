#include "Language.h"

#include "AppFolders.h"

#include <QCoreApplication>
#include <QTranslator>

#include <atomic>
#include <cstdlib>
#include <memory>

namespace zal {
namespace {

// Set once at the start; the production line's threads read it.
std::atomic<Language> current{Language::German};

} // namespace

Language LanguageFromEnvironment(const std::function<QString(const char*)>& variable) {
    QString locale = variable("LANGUAGE").section(u':', 0, 0);
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (!locale.isEmpty())
            break;
        locale = variable(name);
    }
    // "de", "de_AT.UTF-8", "de_CH@euro": the language is what comes before the territory.
    const QString language = locale.section(u'_', 0, 0).section(u'.', 0, 0).section(u'@', 0, 0);
    return language.compare(QLatin1String("de"), Qt::CaseInsensitive) == 0 ? Language::German
                                                                           : Language::English;
}

Language LanguageFromEnvironment() {
    return LanguageFromEnvironment(
        [](const char* name) { return QString::fromLocal8Bit(std::getenv(name)); });
}

std::optional<Language> ChosenLanguage() {
    const QString code = UserSettings().value(QStringLiteral("language")).toString();
    if (code == LanguageCode(Language::German))
        return Language::German;
    if (code == LanguageCode(Language::English))
        return Language::English;
    return std::nullopt;
}

Result<> StoreChosenLanguage(Language language) {
    QSettings settings = UserSettings();
    settings.setValue(QStringLiteral("language"), LanguageCode(language));
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return {};
    return Failure{settings.status() == QSettings::AccessError ? Problem::ReadOnly : Problem::Damaged,
                   settings.fileName()};
}

Language ProgramLanguage() {
    return ChosenLanguage().value_or(LanguageFromEnvironment());
}

bool InstallLanguage(Language language) {
    // German is the language of the sources: its translation holds only the plural forms ("1 Feld",
    // "2 Felder") of the texts that count something.
    static QTranslator english, german;
    QCoreApplication::removeTranslator(&english);
    QCoreApplication::removeTranslator(&german);
    current = Language::German;
    if (language == Language::German)
        return german.load(QStringLiteral(":/i18n/zal_de.qm")) &&
               QCoreApplication::installTranslator(&german);
    if (!english.load(QStringLiteral(":/i18n/zal_en.qm")) || !QCoreApplication::installTranslator(&english)) {
        InstallLanguage(Language::German);
        return false;
    }
    current = Language::English;
    return true;
}

Language CurrentLanguage() {
    return current;
}

QString LanguageCode(Language language) {
    return language == Language::German ? QStringLiteral("de") : QStringLiteral("en");
}

QString ValueListText(const QString& text) {
    if (current == Language::German)
        return text;
    const QByteArray source = text.toUtf8();
    // Some drop-downs take their items from the string table rather than the settings file.
    const QString listed = QCoreApplication::translate("ValueList", source.constData());
    return listed != text ? listed : QCoreApplication::translate("StringTable", source.constData());
}

bool SameValueListText(const QString& shown, const QString& given) {
    if (shown == given || ValueListText(given) == shown)
        return true;
    if (current != Language::German)
        return false;
    // Shown in German (the sources), given in English: the English of what is shown.
    static const std::unique_ptr<QTranslator> english = [] {
        auto t = std::make_unique<QTranslator>();
        return t->load(QStringLiteral(":/i18n/zal_en.qm")) ? std::move(t) : nullptr;
    }();
    if (!english)
        return false;
    const QByteArray source = shown.toUtf8();
    for (const char* context : {"ValueList", "StringTable"})
        if (english->translate(context, source.constData()) == given)
            return true;
    return false;
}

} // namespace zal
