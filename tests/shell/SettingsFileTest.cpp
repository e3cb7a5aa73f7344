#include "shell/SettingsFile.h"
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

TEST(TextEncoding, Windows1252RoundTripsEveryByte) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(EncodeWindows1252(DecodeWindows1252(all)), all);
    EXPECT_EQ(EncodeWindows1252(QStringLiteral("日")), QByteArray("?"));
}

} // namespace
