#include "config/Identification.h"
#include "config/ImageChecksum.h"
#include "config/ImageFile.h"
#include "config/Products.h"

#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zal;

namespace {

struct Shipped {
    std::string base;
    int product;
    int version;
};

// Every layout of every product row has its default image: a product added to the rows is tested
// with the rest.
std::vector<Shipped> EveryShippedImage() {
    std::vector<Shipped> shipped;
    for (const ProductInfo& p : Products()) {
        for (const int version : LayoutsOf(p.code)) {
            const QString suffix = p.family == ProductFamily::Plus
                                       ? QStringLiteral("V1")
                                       : QLatin1String(FindClassicVersion(version)->defaultSuffix);
            shipped.push_back(
                {DefaultImageFileName(QLatin1String(p.defaultFileWord), suffix).chopped(4).toStdString(),
                 p.code, version});
        }
    }
    return shipped;
}

void PrintTo(const Shipped& shipped, std::ostream* out) {
    *out << shipped.base;
}

class DefaultImage : public ::testing::TestWithParam<Shipped> {
protected:
    ConfigImage Load() {
        ConfigImage image{};
        const QString path = QStringLiteral(ZAL_BIN_DIR "/") + QString::fromStdString(GetParam().base) + ".b";
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
    for (const Shipped& shipped : EveryShippedImage()) {
        if (!IsPlusProduct(shipped.product))
            continue;
        ConfigImage image{};
        ASSERT_TRUE(LoadImageFile(
            QStringLiteral(ZAL_BIN_DIR "/%1.b").arg(QString::fromStdString(shipped.base)), image));
        EXPECT_TRUE(TestImageChecksum(image)) << shipped.base;
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, DefaultImage, ::testing::ValuesIn(EveryShippedImage()),
                         [](const auto& info) {
                             QString name = QString::fromStdString(info.param.base).mid(8);
                             name.replace(u' ', u'_');
                             return name.toStdString();
                         });

} // namespace
