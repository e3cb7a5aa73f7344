// A failure shows Qt's strings as their text, control characters escaped.

#include <gtest/gtest.h>

namespace {

TEST(QtPrinters, ShowTheTextItself) {
    EXPECT_EQ(::testing::PrintToString(QStringLiteral("Gerät \"A\"\n\x1b[2J")),
              "\"Gerät \\\"A\\\"\\x0a\\x1b[2J\"");
    EXPECT_EQ(::testing::PrintToString(QByteArray("ok\xff\0", 4)), "b\"ok\\xff\\x00\"");
    EXPECT_EQ(::testing::PrintToString(QStringList{QStringLiteral("a"), QString()}), "{\"a\", \"\"}");
}

} // namespace
