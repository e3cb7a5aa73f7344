#include "shell/FileSystem.h"

#include <gtest/gtest.h>

using namespace zal;

namespace {

// Every byte string survives the trip through a name and back; UTF-8 reads as UTF-8, and every byte
// that is no part of it stands alone.
TEST(NativeNames, EveryByteStringComesBackAsItWas) {
    const struct {
        QByteArray native;
        qsizetype escaped; // how many bytes are carried as escapes
    } cases[] = {
        {"plain.Zal", 0},        {"ok-\xc3\xbc\xe2\x82\xac\xf0\x9f\x94\x94.Zal", 0}, // ü, €, a bell: UTF-8
        {"\xe4rger.Zal", 1},                                                         // Latin-1 ä
        {"a\xff\xfe", 2},        {"\xc0\xaf", 2},                                    // an overlong "/"
        {"\xed\xb2\x80", 3},     // a surrogate written as UTF-8
        {"\xf4\x90\x80\x80", 4}, // beyond U+10FFFF
        {"\xe2\x82", 2},         // cut short
        {"\xe2\x82\xc3\xbc", 2}, // cut short, then a whole ü
    };
    for (const auto& c : cases) {
        const QString name = NameFromNative(c.native);
        EXPECT_EQ(NativeName(name), c.native) << c.native.toHex().constData();
        const auto escapes = std::count_if(name.begin(), name.end(), [](QChar ch) {
            return ch.unicode() >= 0xDC80 && ch.unicode() <= 0xDCFF;
        });
        EXPECT_EQ(escapes, c.escaped) << c.native.toHex().constData();
        if (c.escaped == 0) {
            EXPECT_EQ(name, QString::fromUtf8(c.native));
        }
    }
    // A name typed with a real character beyond the BMP is never taken for an escape.
    const QString bell = QString::fromUtf8("\xf0\x9f\x94\x94");
    EXPECT_EQ(NativeName(bell), QByteArray("\xf0\x9f\x94\x94"));
}

} // namespace
