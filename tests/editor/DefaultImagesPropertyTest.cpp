// For every shipped default image: it fills without fault, and fill, collect, fill, collect reaches a
// fixed point after the first collect.

#include "config/ImageFile.h"
#include "config/Products.h"
#include "radio/DeviceIdentity.h"
#include "shell/AppFolders.h"
#include "support/EditorFixture.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <vector>

using namespace zal;
using namespace zal::test;

namespace {

struct Variant {
    int product, version;
};

void PrintTo(const Variant& v, std::ostream* out) {
    *out << v.product << '/' << v.version;
}

class EveryDefault : public ::testing::TestWithParam<Variant> {};

TEST_P(EveryDefault, FillsWithoutFaultAndRoundTrips) {
    for (const QLocale& locale :
         {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        EditorFixture fx({}, locale);
        fx.New(GetParam().product, GetParam().version);
        ASSERT_EQ(fx.e().product(), GetParam().product);
        ASSERT_EQ(fx.e().version(), IsPlusProduct(GetParam().product) ? 1 : GetParam().version);
        EXPECT_EQ(fx.e().lastFault(), -1);
        EXPECT_TRUE(fx.dialogs.shown.empty()) << fx.dialogs.shown.front().text.toStdString();

        const ConfigImage original = fx.e().working();
        ASSERT_FALSE(fx.e().CollectFields());
        const ConfigImage first = fx.e().working();
        EXPECT_EQ(fx.e().FillFields(), -1);
        ASSERT_FALSE(fx.e().CollectFields());
        EXPECT_EQ(fx.e().working(), first);
        // The shipped images are already in the form the editor writes.
        for (int a = 0; a < kImageSize; ++a)
            EXPECT_EQ(first[a], original[a]) << "address " << a << " in " << locale.name().toStdString();
    }
}

// Every product row with every layout it has: a product added to the table is tested with the rest.
std::vector<Variant> EveryProductLayout() {
    std::vector<Variant> all;
    for (const ProductInfo& p : Products()) {
        for (const int version : LayoutsOf(p.code))
            all.push_back({p.code, version});
    }
    return all;
}

// Each row's own facts: each of its layouts has a column in the rules (its own, or that of the product
// it behaves as), a layout of the family it was not made in has none, its default image is shipped
// under the row's name and is of its product and layout, and its radio ID is read from the address
// the row names.
TEST(Products, EveryRowAndLayout) {
    std::set<zal::Variant> columns; // every column some product takes
    QStringList images;             // the default images the rows name
    for (const Variant& v : EveryProductLayout()) {
        const ProductInfo& row = ProductRow(v.product);
        const zal::Variant column = VariantOf(v.product, v.version);
        ASSERT_NE(column, zal::Variant::None) << v.product << '/' << v.version;
        EXPECT_LT(static_cast<int>(column), kVariantCount) << v.product;
        columns.insert(column);
        // A product keeps to one family's columns, and each layout to its own kind of column.
        EXPECT_EQ(VariantOf(v.product, v.version) == row.variant.get(),
                  row.family == ProductFamily::Plus || IsV2x(v.version))
            << v.product << '/' << v.version;
        for (const int other : {kVersionV1x, kVersionV20, kVersionV21, kVersionV22}) {
            if (row.family == ProductFamily::Classic && !HasLayout(v.product, other)) {
                EXPECT_EQ(VariantOf(v.product, other), zal::Variant::None) << v.product << '/' << other;
            }
        }
        // A scope narrowed to some V2.x versions holds this layout exactly when it is one of them.
        EXPECT_TRUE(kScopeAll.contains(v.product, v.version));
        const bool v2x = row.family == ProductFamily::Classic && IsV2x(v.version);
        for (const int version : {kVersionV20, kVersionV21, kVersionV22}) {
            const zal::Scope narrowed = kScopePlus | kScopeV1x | kScopeV2x.onlyV2x({version});
            EXPECT_EQ(narrowed.contains(v.product, v.version), !v2x || version == v.version)
                << v.product << '/' << v.version << " in " << version;
        }
        // A version the product does not have (the MUVE+ family has one layout, whatever its byte).
        EXPECT_EQ(kScopeAll.contains(v.product, 0x30), row.family == ProductFamily::Plus);
        EXPECT_TRUE((kScopeV1x | zal::Scope::Unknown()).contains(v.product, 0x30) ||
                    row.family == ProductFamily::Plus);
        const QString suffix = row.family == ProductFamily::Plus
                                   ? QStringLiteral("V1")
                                   : QLatin1String(FindClassicVersion(v.version)->defaultSuffix);
        const QString shipped = QStringLiteral(ZAL_BIN_DIR "/") +
                                DefaultImageFileName(QLatin1String(row.defaultFileWord), suffix).chopped(4) +
                                QStringLiteral(".b");
        images << QFileInfo(shipped).completeBaseName();
        ConfigImage image{};
        ASSERT_TRUE(LoadImageFile(shipped, image)) << shipped.toStdString();
        EXPECT_EQ(image[kProductCodeAddress], v.product) << shipped.toStdString();
        if (row.family == ProductFamily::Classic) {
            EXPECT_EQ(image[kVersionCodeAddress], v.version) << shipped.toStdString();
        }
        image[kPlus2TransmissionProtocolAddress] = 0; // the short protocol, where a product has both
        image[row.ownCodeAddress] = 0x4A;
        image[row.ownCodeAddress + 1] = 0x11;
        EXPECT_EQ(IdentifyDevice(image).radioId.remove(u' '), QStringLiteral("4A11"))
            << shipped.toStdString();
    }
    EXPECT_EQ(columns.size(), static_cast<size_t>(kVariantCount));
    // The program installs exactly the images the rows name: one list in the build, one in the rows.
    QStringList installed = DefaultImageBaseNames();
    installed.sort();
    images.sort();
    EXPECT_EQ(installed, images);
}

INSTANTIATE_TEST_SUITE_P(Shipped, EveryDefault, ::testing::ValuesIn(EveryProductLayout()),
                         [](const auto& info) {
                             return "P" + std::to_string(info.param.product) + "_V" +
                                    std::to_string(info.param.version);
                         });

} // namespace

namespace {

// Whatever an image holds, filling it never fails in any other way than with a fault address, and the
// collect that follows either completes or stops with a conversion error (texts of the fill always
// parse, so here it completes).
TEST(AnyImage, FillsAndCollectsWithoutCrashing) {
    std::mt19937 random(2024);
    const std::pair<int, int> variants[] = {{1, 0x22}, {2, 0x00}, {2, 0x21}, {3, 0x20},
                                            {4, 0x22}, {5, 1},    {79, 1}};
    EditorFixture fx;
    for (const auto& [product, version] : variants) {
        fx.New(product, version);
        for (int round = 0; round < 40; ++round) {
            ConfigImage image;
            for (auto& b : image)
                b = static_cast<std::uint8_t>(random());
            image[0xF8] = static_cast<std::uint8_t>(product);
            image[0xF9] = static_cast<std::uint8_t>(version);
            fx.e().setWorking(image);
            const int fault = fx.e().FillFields();
            EXPECT_GE(fault, -1);
            EXPECT_LE(fault, 0xFF);
            const std::optional<ConversionError> error = fx.e().CollectFields();
            EXPECT_FALSE(error) << product << "/" << version << " "
                                << (error ? error->fieldName.toStdString() : "");
        }
    }
}

} // namespace
