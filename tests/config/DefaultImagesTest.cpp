#include "config/Identification.h"
#include "config/ImageChecksum.h"
#include "config/ImageFile.h"
#include "config/Products.h"

#include <QString>

#include <gtest/gtest.h>

using namespace zal;

namespace {

struct Shipped {
    const char* base;
    int product;
    int version;
};

constexpr Shipped kShipped[] = {
    {"Default BORA V1X", 1, 0x00}, {"Default BORA V20", 1, 0x20}, {"Default BORA V21", 1, 0x21},
    {"Default BORA V22", 1, 0x22}, {"Default ZAL V1X", 2, 0x00},  {"Default ZAL V20", 2, 0x20},
    {"Default ZAL V21", 2, 0x21},  {"Default ZAL V22", 2, 0x22},  {"Default MUVE V1X", 3, 0x00},
    {"Default MUVE V20", 3, 0x20}, {"Default MUVE V21", 3, 0x21}, {"Default MUVE V22", 3, 0x22},
    {"Default DORF V1X", 4, 0x00}, {"Default DORF V20", 4, 0x20}, {"Default DORF V21", 4, 0x21},
    {"Default DORF V22", 4, 0x22}, {"Default MUVEPLUS V1", 5, 1}, {"Default MUVEPLUS2 V1", 79, 1},
};

void PrintTo(const Shipped& shipped, std::ostream* out) {
    *out << shipped.base;
}

class DefaultImage : public ::testing::TestWithParam<Shipped> {
protected:
    ConfigImage Load() {
        ConfigImage image{};
        const QString path = QStringLiteral(ZAL_BIN_DIR "/") + QString::fromLatin1(GetParam().base) + ".b";
        EXPECT_TRUE(LoadImageFile(path, image)) << path.toStdString();
        return image;
    }
};

TEST_P(DefaultImage, IsAValidImageOfItsProductAndVersion) {
    const ConfigImage image = Load();
    EXPECT_EQ(image[kProductCodeAddress], GetParam().product);
    EXPECT_EQ(image[kVersionCodeAddress], GetParam().version);
    EXPECT_EQ(IdentifyImage(image[kVersionCodeAddress], image[kProductCodeAddress]), irSupported);
}

TEST_P(DefaultImage, FixedRadioIdsAreRealCodes) {
    const ConfigImage image = Load();
    const bool plus = IsPlusProduct(GetParam().product);
    const int first = plus ? 0x00 : 0x10;
    const int last = plus ? 0x10 : 0x1A;
    for (int a = first; a <= last; a += 2) {
        const int code = ReadU16BE(image, a);
        EXPECT_NE(code, 0x0000) << a;
        EXPECT_NE(code, 0xFFFF) << a;
    }
}

TEST(DefaultImages, ExtendedRepeatersCarryAValidChecksum) {
    for (const char* base : {"Default MUVEPLUS V1", "Default MUVEPLUS2 V1"}) {
        ConfigImage image{};
        ASSERT_TRUE(LoadImageFile(QStringLiteral(ZAL_BIN_DIR "/%1.b").arg(QLatin1String(base)), image));
        EXPECT_TRUE(TestImageChecksum(image)) << base;
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, DefaultImage, ::testing::ValuesIn(kShipped), [](const auto& info) {
    QString name = QString::fromLatin1(info.param.base).mid(8);
    name.replace(u' ', u'_');
    return name.toStdString();
});

} // namespace
