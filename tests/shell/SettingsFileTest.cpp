#include "shell/SettingsFile.h"
#include "shell/Settings.h"
#include "shell/TextEncoding.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <random>

using namespace zal;
using namespace zal::test;

namespace {

struct LookupCase {
    const char* name;
    QByteArray file;
    const char* section;
    const char* key;
    std::optional<QString> expected;
};

void PrintTo(const LookupCase& c, std::ostream* out) {
    *out << c.name;
}

class SettingsLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(SettingsLookup, ReadsLikeTheWindowsProfileServices) {
    const LookupCase& c = GetParam();
    EXPECT_EQ(SettingsFile::FromBytes(c.file).value(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Semantics, SettingsLookup,
    ::testing::Values(
        LookupCase{"CaseInsensitiveNames", "[setup]\nappversion=1\n", "SETUP", "AppVersion",
                   QStringLiteral("1")},
        LookupCase{"TrimmedNamesAndValues", "  [ Setup ]  \n  Key  =  a value  \n", "Setup", "Key",
                   QStringLiteral("a value")},
        LookupCase{"MatchingQuotesStripped", "[S]\nk=\"quoted text\"\n", "S", "k",
                   QStringLiteral("quoted text")},
        LookupCase{"SingleQuotesStripped", "[S]\nk='x'\n", "S", "k", QStringLiteral("x")},
        LookupCase{"UnmatchedQuotesKept", "[S]\nk=\"half\n", "S", "k", QStringLiteral("\"half")},
        LookupCase{"MixedQuotesKept", "[S]\nk=\"a'\n", "S", "k", QStringLiteral("\"a'")},
        LookupCase{"InnerQuotesKept", "[S]\nk=\"a\" and \"b\"\n", "S", "k", QStringLiteral("a\" and \"b")},
        LookupCase{"NoEscapes", "[S]\nk=C:\\temp\\new\n", "S", "k", QStringLiteral("C:\\temp\\new")},
        LookupCase{"CommaKept", "[S]\nk=Ein, Aus\n", "S", "k", QStringLiteral("Ein, Aus")},
        LookupCase{"SemicolonInValueKept", "[S]\nk=a;b\n", "S", "k", QStringLiteral("a;b")},
        LookupCase{"CommentLineIgnored", "[S]\n;k=commented\nk=real\n", "S", "k", QStringLiteral("real")},
        LookupCase{"FirstKeyWins", "[S]\nk=first\nK=second\n", "S", "k", QStringLiteral("first")},
        LookupCase{"FirstSectionWins", "[S]\nk=first\n[s]\nk=second\nother=x\n", "S", "other", std::nullopt},
        LookupCase{"EqualsInValue", "[S]\nk=a=b\n", "S", "k", QStringLiteral("a=b")},
        LookupCase{"EmptyValue", "[S]\nk=\n", "S", "k", QString()},
        LookupCase{"LineWithoutEqualsIgnored", "[S]\njust words\nk=v\n", "S", "just words", std::nullopt},
        LookupCase{"KeyBeforeAnySectionIgnored", "k=v\n[S]\n", "S", "k", std::nullopt},
        LookupCase{"CrLfLines", "[S]\r\nk=v\r\n", "S", "k", QStringLiteral("v")},
        LookupCase{"MissingSection", "[S]\nk=v\n", "T", "k", std::nullopt},
        LookupCase{"Utf8Umlauts", "[S]\nk=Öffner Kontakt\n", "S", "k", QStringLiteral("Öffner Kontakt")},
        LookupCase{"Utf8Bom", "\xEF\xBB\xBF[S]\nk=Grün\n", "S", "k", QStringLiteral("Grün")},
        LookupCase{"Windows1252Umlauts",
                   "[S]\nk=\xD6"
                   "ffner \x80 \x84x\x93\n",
                   "S", "k", QStringLiteral("Öffner € „x“")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFile, MissingFileIsEmpty) {
    const SettingsFile file = SettingsFile::Load(QStringLiteral("/nonexistent/Values.ini"));
    EXPECT_FALSE(file.hasSection("Setup"));
    EXPECT_EQ(file.text("Setup", "AppVersion"), QString());
}

TEST(SettingsFile, BinaryGarbageNeverCrashes) {
    std::mt19937 random(42);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(1 + static_cast<int>(random() % 2000), '\0');
        for (char& b : bytes)
            b = static_cast<char>(random());
        if (round % 2)
            bytes.prepend("[AlarmType]\n");
        const SettingsFile file = SettingsFile::FromBytes(bytes);
        (void)file.text("AlarmType", "0");
        SettingsFile copy = file;
        copy.setValue("Setup", "AppVersion", QStringLiteral("1"));
        EXPECT_EQ(copy.text("Setup", "AppVersion"), QStringLiteral("1"));
    }
}

TEST(SettingsFile, WritingOneKeyKeepsEveryOtherByte) {
    const QByteArray before =
        "; comment\r\n[Setup]\r\n  ConfigDirectory = /old  \r\nAppVersion=1\r\n\r\n[Other]\r\nx=1";
    SettingsFile file = SettingsFile::FromBytes(before);
    file.setValue("setup", "configdirectory", QStringLiteral("/new"));
    EXPECT_EQ(file.toBytes(),
              QByteArray("; comment\r\n[Setup]\r\n  ConfigDirectory =/new\r\nAppVersion=1\r\n\r\n"
                         "[Other]\r\nx=1"));
    EXPECT_EQ(file.text("Setup", "ConfigDirectory"), QStringLiteral("/new"));
}

TEST(SettingsFile, NewKeyGoesAtTheEndOfItsSection) {
    SettingsFile file = SettingsFile::FromBytes("[Setup]\nAppVersion=1\n\n[Other]\nx=1\n");
    file.setValue("Setup", "ConfigDirectory", QStringLiteral("/c"));
    EXPECT_EQ(file.toBytes(), QByteArray("[Setup]\nAppVersion=1\nConfigDirectory=/c\n\n[Other]\nx=1\n"));
}

TEST(SettingsFile, NewSectionIsAppendedWithTheFilesLineEnds) {
    SettingsFile file = SettingsFile::FromBytes("[Other]\r\nx=1");
    file.setValue("Setup", "AppVersion", QStringLiteral("2"));
    EXPECT_EQ(file.toBytes(), QByteArray("[Other]\r\nx=1\r\n[Setup]\r\nAppVersion=2\r\n"));
}

TEST(SettingsFile, WritingKeepsWindows1252) {
    SettingsFile file = SettingsFile::FromBytes("[S]\nk=\xC4rger\n[Setup]\nConfigDirectory=a\n");
    ASSERT_EQ(file.encoding(), TextEncoding::Windows1252);
    file.setValue("Setup", "ConfigDirectory", QStringLiteral("/Büro"));
    EXPECT_EQ(file.toBytes(), QByteArray("[S]\nk=\xC4rger\n[Setup]\nConfigDirectory=/B\xFCro\n"));
}

TEST(SettingsFile, SaveAndReadBackThroughTheFileFunctions) {
    TempHome home;
    const QString path = home.file(QStringLiteral("Values.ini"));
    EXPECT_TRUE(WriteSettingValue(path, "Setup", "AppVersion", QStringLiteral("1.2.3.4")));
    EXPECT_EQ(ReadSettingValue(path, "SETUP", "appversion"), QStringLiteral("1.2.3.4"));
}

// Each setting is read as declared: its fallback when the file says nothing usable, the environment
// over the file where it names a variable.
TEST(Settings, EachSettingAsDeclared) {
    TempHome home;
    const QString path = WriteTestFile(home.file(QStringLiteral("Values.ini")),
                                       "[FrequencyBand]\n0=Band A\n[Backups]\nMaxAgeDays=0\n"
                                       "KeepPerDevice= 7 \nBeforeWrite=no\nWritePreview=0\n"
                                       "[records]\nstation= L1 \n");
    const Settings s = Settings::Load(path);
    EXPECT_EQ(s.entry(setting::kFrequencyBand, 0), QStringLiteral("Band A"));
    EXPECT_EQ(s.entry(setting::kFrequencyBand, 2), QString());
    EXPECT_EQ(s.value(setting::kBackupMaxAgeDays), 365); // not above zero
    EXPECT_EQ(s.value(setting::kBackupKeepPerDevice), 7);
    EXPECT_TRUE(s.value(setting::kBackupBeforeWrite)); // only "0" turns it off
    EXPECT_FALSE(s.value(setting::kBackupWritePreview));
    EXPECT_EQ(s.stored(setting::kRecordsDatabase.place), std::nullopt);
    // What cannot be used as written is said with its line and what is used instead.
    const QStringList problems = s.problems();
    ASSERT_EQ(problems.size(), 2) << problems.join(u'\n').toStdString();
    EXPECT_TRUE(problems[0].startsWith(path + QStringLiteral(":6: [Backups] BeforeWrite=no")));
    EXPECT_TRUE(problems[0].endsWith(QStringLiteral("; es gilt 1")));
    EXPECT_TRUE(problems[1].contains(QStringLiteral(":4: [Backups] MaxAgeDays=0: ")) &&
                problems[1].endsWith(QStringLiteral("es gilt 365")));
    const QString commented =
        WriteTestFile(home.file(QStringLiteral("c.ini")), "[Backups]\nBeforeWrite=0   ; 0: none\n[Records]\n"
                                                          "Station=Line 2   ; optional\n");
    const QStringList said = Settings::Load(commented).problems();
    ASSERT_EQ(said.size(), 2);
    for (const QString& problem : said)
        EXPECT_TRUE(problem.contains(QStringLiteral("Kommentare stehen auf einer eigenen Zeile")));
    // A wait: a duration with its unit, read only where the records are a server's.
    const QByteArray records = qgetenv("ZAL_RECORDS");
    qunsetenv("ZAL_RECORDS");
    const struct {
        const char* database;
        const char* wait;
        const char* said; // nullptr: nothing to say
    } waits[] = {
        {"postgresql://zal@db/zal", "LockTimeout=2", ": ohne Einheit; es gilt 2 ms"},
        {"postgresql://zal@db/zal", "LockTimeout=2 s", ": keine Dauer"},
        {"postgresql://zal@db/zal", "ConnectTimeout=5s", nullptr},
        {"/srv/records.sqlite", "LockTimeout=2s",
         ": gilt nur für Aufzeichnungen auf einem PostgreSQL-Server"},
    };
    for (const auto& w : waits) {
        const Settings waiting = Settings::Load(
            WriteTestFile(home.file(QStringLiteral("w.ini")),
                          QByteArray("[Records]\nDatabase=") + w.database + "\n" + w.wait + "\n"));
        const QStringList told = waiting.problems();
        ASSERT_EQ(told.size(), w.said ? 1 : 0) << w.wait;
        if (w.said) {
            EXPECT_TRUE(told[0].contains(QStringLiteral(":3: [Records] ") + QLatin1String(w.wait) +
                                         QString::fromUtf8(w.said)))
                << told[0].toStdString();
        }
        // What is no duration is not passed on: the default holds.
        EXPECT_EQ(waiting.wait(setting::kRecordsLockTimeout).isEmpty(),
                  QByteArray(w.wait) != "LockTimeout=2" && QByteArray(w.wait) != "LockTimeout=2s")
            << w.wait;
    }
    records.isNull() ? qunsetenv("ZAL_RECORDS") : qputenv("ZAL_RECORDS", records);

    const QByteArray before = qgetenv("ZAL_STATION");
    qunsetenv("ZAL_STATION");
    EXPECT_EQ(s.value(setting::kRecordsStation), QStringLiteral("L1"));
    qputenv("ZAL_STATION", " ");
    EXPECT_EQ(s.value(setting::kRecordsStation), QStringLiteral("L1")); // blank is no override
    qputenv("ZAL_STATION", "L9");
    EXPECT_EQ(s.value(setting::kRecordsStation), QStringLiteral("L9"));
    EXPECT_TRUE(Settings::FromEnvironment(setting::kRecordsStation));
    before.isNull() ? qunsetenv("ZAL_STATION") : qputenv("ZAL_STATION", before);

    EXPECT_TRUE(Settings::Store(path, setting::kBackupBeforeWrite, false));
    EXPECT_FALSE(Settings::Load(path).value(setting::kBackupBeforeWrite));
    EXPECT_EQ(Settings::Load(home.file(QStringLiteral("none.ini"))).value(setting::kBackupKeepPerDevice), 20);
}

TEST(TextEncoding, Windows1252RoundTripsEveryByte) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(EncodeWindows1252(DecodeWindows1252(all)), all);
    EXPECT_EQ(EncodeWindows1252(QStringLiteral("日")), QByteArray("?"));
}

} // namespace
