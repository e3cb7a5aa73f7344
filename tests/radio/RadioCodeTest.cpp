#include "radio/RadioCode.h"

#include <gtest/gtest.h>

using namespace zal;

namespace {

TEST(RadioCode, BytesToText) {
    const struct {
        std::uint8_t high, low;
        const char* text;
    } cases[] = {{0x00, 0x00, ""},
                 {0x1A, 0x2F, "1A2F"},
                 {0x0A, 0xBC, "0ABC"},
                 {0x00, 0x01, "0001"},
                 {0xFF, 0xFF, "FFFF"}};
    for (const auto& c : cases)
        EXPECT_EQ(CodeToText(c.high, c.low), QString::fromLatin1(c.text));
}

TEST(RadioCode, TextToBytes) {
    const struct {
        const char* text;
        int code;
    } cases[] = {{"", 0x0000},     {"0001", 0x0001},  {"ffff", 0xFFFF}, {"12", 0x1200},   {"1g2h", 0x1020},
                 {"1A2F", 0x1A2F}, {"1a2f9", 0x1A2F}, {"---", 0x0000},  {"----", 0x0000}, {"ABC", 0xABC0}};
    for (const auto& c : cases)
        EXPECT_EQ(TextToCode(QString::fromLatin1(c.text)), c.code) << c.text;
}

TEST(RadioCode, EveryCodeRoundTrips) {
    for (int code = 0; code <= 0xFFFF; ++code)
        ASSERT_EQ(TextToCode(CodeToText(static_cast<std::uint16_t>(code))), code);
}

TEST(RadioCode, KeyFilter) {
    int allowed = 0;
    for (int key = 0; key < 0x100; ++key) {
        if (IsRadioCodeKey(QChar(key)))
            ++allowed;
    }
    EXPECT_EQ(allowed, 10 + 6 + 6 + 4);
    for (char16_t key :
         {u'0', u'9', u'A', u'F', u'a', u'f', char16_t(3), char16_t(8), char16_t(22), char16_t(24)})
        EXPECT_TRUE(IsRadioCodeKey(QChar(key)));
    for (char16_t key : {u'G', u'g', u' ', u'-', u'x', char16_t(13), char16_t(0xC4)})
        EXPECT_FALSE(IsRadioCodeKey(QChar(key)));
}

} // namespace
