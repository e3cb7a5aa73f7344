#include "shell/Language.h"
#include "shell/StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
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

// lupdate over a copy of a translation, so that a text new in the code comes in unfinished; the
// messages it then holds.
struct Message {
    QString context, source;
    bool unfinished = false;
    QStringList forms; // the translation, or one text per plural form
};

std::vector<Message> Updated(const QString& name, const QStringList& options) {
    QTemporaryDir dir;
    const QString ts = dir.filePath(name);
    EXPECT_TRUE(QFile::copy(QStringLiteral(ZAL_SOURCE_DIR "/i18n/") + name, ts));
    QFile::setPermissions(ts, QFile::ReadOwner | QFile::WriteOwner);
    QProcess run;
    run.start(QStringLiteral(ZAL_LUPDATE),
              QStringList{QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                          QStringLiteral("-no-obsolete"), QStringLiteral(ZAL_SOURCE_DIR "/src"),
                          QStringLiteral(ZAL_VALUE_TEXTS)} +
                  options + QStringList{QStringLiteral("-ts"), ts});
    EXPECT_TRUE(run.waitForFinished(120000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();

    std::vector<Message> messages;
    QFile file(ts);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            messages.push_back(
                {context, xml.readElementText(QXmlStreamReader::IncludeChildElements), false, {}});
        } else if (xml.name() == QLatin1String("translation")) {
            Message& m = messages.back();
            m.unfinished = xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
            QString text;
            while (!(xml.readNext() == QXmlStreamReader::EndElement &&
                     xml.name() == QLatin1String("translation")) &&
                   !xml.atEnd()) {
                if (xml.isStartElement() && xml.name() == QLatin1String("numerusform"))
                    m.forms << xml.readElementText();
                else if (xml.isCharacters())
                    text += xml.text();
            }
            if (m.forms.isEmpty())
                m.forms << text;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}
// Every German text the program shows, as lupdate finds it in the sources and the value lists, has an
// English translation that keeps its placeholders; every text that counts (%n) has its German plural
// forms too.
TEST(Translation, EveryGermanTextHasAnEnglishOneWithItsPlaceholders) {
    const std::pair<const char*, QStringList> files[] = {
        {"zal_en.ts", {}},
        {"zal_de.ts", {QStringLiteral("-pluralonly")}},
    };
    for (const auto& [name, options] : files) {
        const std::vector<Message> messages = Updated(QLatin1String(name), options);
        QStringList faults;
        for (const Message& m : messages) {
            const bool missing = std::any_of(m.forms.begin(), m.forms.end(),
                                             [](const QString& form) { return form.isEmpty(); });
            if (m.unfinished || m.forms.isEmpty() || missing)
                faults << QStringLiteral("%1: no translation of \"%2\"").arg(m.context, m.source);
            for (const QString& form : m.forms)
                if (!missing && Placeholders(form) != Placeholders(m.source))
                    faults << QStringLiteral("%1: \"%2\" keeps not the placeholders of \"%3\"")
                                  .arg(m.context, form, m.source);
        }
        EXPECT_GT(messages.size(), name == std::string("zal_en.ts") ? 300u : 5u) << name;
        EXPECT_TRUE(faults.isEmpty()) << name << '\n' << faults.join(u'\n').toStdString();
    }
}

// The sources' string literals, each run of adjacent ones joined as the compiler joins them, with
// the line it starts on; comments, character literals and raw strings are passed over.
std::vector<std::pair<int, QString>> Literals(const QString& code) {
    std::vector<std::pair<int, QString>> found;
    int line = 1;
    bool joining = false; // only white space and comments since the last literal
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'\n')
            ++line;
        if (c == u'/' && code.mid(i, 2) == QLatin1String("//")) {
            i = code.indexOf(u'\n', i) - 1;
            if (i < 0)
                break;
        } else if (c == u'/' && code.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = code.indexOf(QLatin1String("*/"), i + 2);
            line += static_cast<int>(code.mid(i, end - i).count(u'\n'));
            i = end + 1;
        } else if (c == u'R' && code.mid(i, 3) == QLatin1String("R\"(")) {
            const qsizetype end = code.indexOf(QLatin1String(")\""), i);
            line += static_cast<int>(code.mid(i, end - i).count(u'\n'));
            i = end + 1;
            joining = false;
        } else if (c == u'\'') {
            for (++i; i < code.size() && code[i] != u'\''; ++i)
                i += code[i] == u'\\';
            joining = false;
        } else if (c == u'"') {
            QString text;
            for (++i; i < code.size() && code[i] != u'"'; ++i) {
                if (code[i] != u'\\') {
                    text += code[i];
                } else {
                    const QChar e = code[++i];
                    text += e == u'n'   ? QChar(u'\n')
                            : e == u't' ? QChar(u'\t')
                            : e == u'r' ? QChar(u'\r')
                                        : e;
                }
            }
            if (joining)
                found.back().second += text;
            else
                found.emplace_back(line, text);
            joining = true;
        } else if (!c.isSpace()) {
            joining = false;
        }
    }
    return found;
}

// A German text in the sources that lupdate does not find reaches the user untranslated: every shown
// text is marked (QCoreApplication::translate, QT_TRANSLATE_NOOP).
TEST(Translation, EveryShownGermanTextIsMarked) {
    QSet<QString> marked;
    for (const Message& m : Updated(QStringLiteral("zal_en.ts"), {}))
        marked.insert(QString(m.source).remove(u'\r')); // XML reads a carriage return as a line end
    static const QRegularExpression german(QStringLiteral(
        "[äöüÄÖÜß]|\\b(der|die|das|nicht|wurde|kann|können|ist|sind|und|keine?|mit|für|noch|schon|wird|"
        "oder|steht|dort|Gerät|Datei|Fehler)\\b"));
    QStringList faults;
    QDirIterator files(QStringLiteral(ZAL_SOURCE_DIR "/src"),
                       {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        for (const auto& [line, text] : Literals(QString::fromUtf8(file.readAll())))
            if (text.trimmed().contains(u' ') && text.contains(german) &&
                !marked.contains(QString(text).remove(u'\r')))
                faults << QStringLiteral("%1:%2: \"%3\"").arg(file.fileName()).arg(line).arg(text);
    }
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
    const auto backups = [](int n) {
        return QCoreApplication::translate("Cli", "%n Sicherungen", nullptr, n);
    };
    EXPECT_EQ(backups(1), QStringLiteral("1 backup"));
    EXPECT_EQ(backups(2), QStringLiteral("2 backups"));
    ASSERT_TRUE(InstallLanguage(Language::German));
    EXPECT_EQ(backups(1), QStringLiteral("1 Sicherung"));
    EXPECT_EQ(backups(0), QStringLiteral("0 Sicherungen"));
    EXPECT_EQ(Str(10615), german);
    EXPECT_EQ(ValueListText(QStringLiteral("Relais ein")), QStringLiteral("Relais ein"));
}

} // namespace
