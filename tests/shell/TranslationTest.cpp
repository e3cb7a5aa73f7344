#include "shell/Language.h"
#include "shell/StringTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

using namespace zal;

namespace {

// "%1", "%s", "%n" in the order of their numbers, as a sorted list.
QStringList Placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%(\\d+|s|n)"));
    QStringList found;
    for (const QRegularExpressionMatch& m : placeholder.globalMatch(text))
        found << m.captured();
    found.sort();
    return found;
}

// Every German text the program shows, as lupdate finds it in the sources and the value lists, has an
// English translation that keeps its placeholders. lupdate runs over a copy of the translation, so
// that a text new in the code comes in unfinished and fails here.
TEST(Translation, EveryGermanTextHasAnEnglishOneWithItsPlaceholders) {
    const QString lupdate = QStringLiteral(ZAL_LUPDATE);
    if (lupdate.isEmpty() || lupdate.endsWith(QLatin1String("NOTFOUND")))
        GTEST_SKIP() << "lupdate (qt6-l10n-tools) is not installed";
    QTemporaryDir dir;
    const QString ts = dir.filePath(QStringLiteral("zal_en.ts"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZAL_SOURCE_DIR "/i18n/zal_en.ts"), ts));
    QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);
    QProcess run;
    run.start(lupdate, {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                        QStringLiteral("-no-obsolete"), QStringLiteral(ZAL_SOURCE_DIR "/src"),
                        QStringLiteral(ZAL_VALUE_TEXTS), QStringLiteral("-ts"), ts});
    ASSERT_TRUE(run.waitForFinished(120000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();

    QFile file(ts);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString context, source;
    int messages = 0;
    QStringList faults;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.name() == QLatin1String("translation")) {
            ++messages;
            const bool unfinished =
                xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
            const QString english = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (unfinished || english.isEmpty())
                faults << QStringLiteral("%1: no translation of \"%2\"").arg(context, source);
            else if (Placeholders(english) != Placeholders(source))
                faults << QStringLiteral("%1: \"%2\" keeps not the placeholders of \"%3\"")
                              .arg(context, english, source);
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(messages, 300); // the string table alone has more than 200
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

TEST(Translation, TheLanguageComesFromTheLocaleGermanOnlyWhereItIsGerman) {
    struct Case {
        std::map<std::string, QString> environment;
        Language expected;
    };
    const Case cases[] = {
        {{{"LANG", QStringLiteral("de_DE.UTF-8")}}, Language::German},
        {{{"LANG", QStringLiteral("de_AT@euro")}}, Language::German},
        {{{"LANG", QStringLiteral("de")}}, Language::German},
        {{{"LANG", QStringLiteral("en_GB.UTF-8")}}, Language::English},
        {{{"LANG", QStringLiteral("sv_SE.UTF-8")}}, Language::English},
        {{{"LANG", QStringLiteral("C")}}, Language::English},
        {{}, Language::English},
        {{{"LANGUAGE", QStringLiteral("de:en")}, {"LANG", QStringLiteral("en_US.UTF-8")}}, Language::German},
        {{{"LANGUAGE", QStringLiteral("en")}, {"LANG", QStringLiteral("de_DE.UTF-8")}}, Language::English},
        {{{"LC_ALL", QStringLiteral("de_CH.UTF-8")}, {"LANG", QStringLiteral("en_GB.UTF-8")}},
         Language::German},
        {{{"LC_MESSAGES", QStringLiteral("en_GB")}, {"LANG", QStringLiteral("de_DE")}}, Language::English},
    };
    for (const Case& c : cases) {
        const Language language = LanguageFromEnvironment([&c](const char* name) {
            const auto it = c.environment.find(name);
            return it == c.environment.end() ? QString() : it->second;
        });
        EXPECT_EQ(language, c.expected)
            << (c.environment.empty() ? "" : c.environment.begin()->second.toStdString());
    }
}

TEST(Translation, EnglishKeepsTheNumbersAndGermanStaysVerbatim) {
    const QString german = Str(10615);
    ASSERT_TRUE(InstallLanguage(Language::English));
    EXPECT_EQ(CurrentLanguage(), Language::English);
    EXPECT_EQ(Str(10607), QStringLiteral("Do you want to save the configuration before leaving?"));
    EXPECT_EQ(StrF(10631, {QStringLiteral("05"), QStringLiteral("01")}).left(32),
              QStringLiteral("Unknown version number. (0x0501)"));
    EXPECT_EQ(ValueListText(QStringLiteral("Relais ein bis Rückstellung")),
              QStringLiteral("Relay on until reset"));
    // A text the user put into the settings file has no translation and shows as it stands.
    EXPECT_EQ(ValueListText(QStringLiteral("Mein Relais")), QStringLiteral("Mein Relais"));
    ASSERT_TRUE(InstallLanguage(Language::German));
    EXPECT_EQ(Str(10615), german);
    EXPECT_EQ(ValueListText(QStringLiteral("Relais ein")), QStringLiteral("Relais ein"));
}

} // namespace
