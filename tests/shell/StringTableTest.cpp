#include "shell/StringTable.h"

#include <gtest/gtest.h>

using namespace zal;

namespace {

TEST(StringTable, TextsAreVerbatimWithTheirSlips) {
    EXPECT_EQ(Str(10606),
              QStringLiteral("Default.....bin Datei konnte in Anwednungsverzeichnis nicht gefunden werden"));
    EXPECT_TRUE(Str(10615).contains(QStringLiteral("eingeschlatet ist \nund ob")));
    EXPECT_EQ(Str(10703), QStringLiteral("ZAL family programmer"));
    EXPECT_EQ(Str(19999), QStringLiteral("\\VESK\\ZAL Programmer (DE)\\"));
    EXPECT_EQ(Str(10667).left(38), QStringLiteral("Angeschlossenes Gerät wurde auf ‚%s’ V"));
}

TEST(StringTable, NumberedRunsAreComplete) {
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Str(10402 + i), QStringLiteral("Position %1").arg(i + 1));
        EXPECT_EQ(Str(10433 + i), QStringLiteral("Position %1").arg(i + 1));
        EXPECT_EQ(Str(10802 + i), QStringLiteral("%1. feste").arg(i + 1));
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Str(10462 + i), QStringLiteral("Eing. %1").arg(i + 1));
        EXPECT_EQ(Str(10731 + i), QStringLiteral("Sende %1. feste").arg(i + 1));
    }
}

TEST(StringTable, UnknownNumberIsEmpty) {
    EXPECT_FALSE(HasStr(10000));
    EXPECT_TRUE(Str(10000).isEmpty());
}

TEST(FormatText, FillsPlaceholdersInOrder) {
    EXPECT_TRUE(StrF(10631, {QStringLiteral("05"), QStringLiteral("01")})
                    .startsWith(QStringLiteral("Unbekannte Versionsnummer. (0x0501)\n\nBitte")));
    EXPECT_EQ(FormatText(QStringLiteral("%s und %s"), {QStringLiteral("a")}), QStringLiteral("a und %s"));
    EXPECT_EQ(FormatText(QStringLiteral("100%% %s"), {QStringLiteral("x")}), QStringLiteral("100% x"));
}

} // namespace
