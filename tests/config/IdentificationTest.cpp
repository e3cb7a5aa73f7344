#include "config/Identification.h"
#include "config/Products.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace zal;

namespace {

// How many of the 256 version codes give each outcome, per product code.
struct Census {
    int supported = 0, unsupportedVersion = 0, unknownVersion = 0, unknownProduct = 0;
    bool operator==(const Census&) const = default;
};

TEST(IdentifyImage, EveryProductAndVersionCode) {
    for (int product = 0; product < 256; ++product) {
        Census census;
        for (int version = 0; version < 256; ++version) {
            switch (IdentifyImage(version, product)) {
            case irSupported:
                ++census.supported;
                break;
            case irUnsupportedVersion:
                ++census.unsupportedVersion;
                break;
            case irUnknownVersion:
                ++census.unknownVersion;
                break;
            case irUnknownProduct:
                ++census.unknownProduct;
                break;
            }
        }
        Census expected;
        if (product >= 1 && product <= 4)
            expected = {5, 0xFE - 0x23 + 1, 0x1F, 0}; // 0, 0x20-0x22, 0xFF / 0x23-0xFE / 0x01-0x1F
        else if (product == 5 || product == 79)
            expected = {1, 254, 1, 0}; // 1 / 2-0xFF / 0
        else if (IsClassicProduct(product)) {
            // An added product of the older family: the layouts it was not made in are unsupported.
            const int v1x = HasLayout(product, kVersionV1x) ? 2 : 0; // 0 and 0xFF
            const int supported = v1x + static_cast<int>(LayoutsOf(product).size()) - (v1x ? 1 : 0);
            expected = {supported, 0xFE - 0x23 + 1 + 5 - supported, 0x1F, 0};
        } else if (FindProduct(product))
            expected = {1, 254, 1, 0};
        else
            expected = {0, 0, 0, 256};
        EXPECT_EQ(census, expected) << "product " << product;
    }
}

TEST(IdentifyImage, BoundariesOfEachOutcome) {
    const struct {
        int version, product;
        IdentifyResult result;
    } cases[] = {
        {0xFF, 1, irSupported},          {0x00, 2, irSupported},        {0x22, 4, irSupported},
        {0x01, 3, irUnknownVersion},     {0x1F, 3, irUnknownVersion},   {0x23, 3, irUnsupportedVersion},
        {0xFE, 1, irUnsupportedVersion}, {0x20, 2, irSupported},        {1, 5, irSupported},
        {0, 5, irUnknownVersion},        {2, 79, irUnsupportedVersion}, {0xFF, 79, irUnsupportedVersion},
        {0x22, 0, irUnknownProduct},     {1, 80, irUnknownProduct},     {1, 78, irUnknownProduct},
        {0x22, 80, irUnknownProduct},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IdentifyImage(c.version, c.product), c.result) << c.version << ' ' << c.product;
}

struct Recorded {
    ProductSelection selection;
    std::vector<int> selected;
    Recorded() {
        selection.setProductSelectedHook([this](int p) { selected.push_back(p); });
    }
};

TEST(SelectProductVersion, AdoptsValidSelections) {
    const struct {
        int version, minor, product;
        int expectVersion;
    } cases[] = {
        {0xFF, 3, 1, 0},    {0x00, 0, 3, 0}, {0x20, 1, 2, 0x20}, {0x21, 2, 4, 0x21},
        {0x22, 8, 1, 0x22}, {1, 2, 5, 1},    {1, 0, 79, 1},
    };
    for (const auto& c : cases) {
        Recorded r;
        r.selection.SelectProductVersion(c.version, c.minor, c.product);
        EXPECT_EQ(r.selection.product(), c.product);
        EXPECT_EQ(r.selection.version(), c.expectVersion);
        EXPECT_EQ(r.selection.minor(), c.minor);
        EXPECT_EQ(r.selected, std::vector<int>{c.product});
    }
}

TEST(SelectProductVersion, InvalidVersionKeepsProductAndRunsNoHook) {
    const struct { int version, product; } cases[] = {{0x25, 2}, {0x10, 3}, {0, 5}, {2, 79}};
    for (const auto& c : cases) {
        Recorded r;
        r.selection.SelectProductVersion(c.version, 7, c.product);
        EXPECT_EQ(r.selection.product(), 1);
        EXPECT_EQ(r.selection.version(), kVersionInvalid);
        EXPECT_EQ(r.selection.minor(), 7); // the minor version is stored always
        EXPECT_TRUE(r.selected.empty());
    }
}

TEST(SelectProductVersion, HookRunsAlsoWhenTheProductStaysTheSame) {
    Recorded r;
    r.selection.SelectProductVersion(0x22, 0, 1);
    r.selection.SelectProductVersion(0x21, 0, 1);
    EXPECT_EQ(r.selected, (std::vector<int>{1, 1}));
}

TEST(IsCompatibleVersion, AgainstEachSelection) {
    // Rows: selected (product, version); columns: version codes 0x00, 0xFF, 0x20, 0x21, 0x22, 0x01, 0x23.
    const int versions[] = {0x00, 0xFF, 0x20, 0x21, 0x22, 0x01, 0x23};
    const struct {
        int product, version;
        bool expected[7];
    } rows[] = {
        {1, 0x22, {false, false, false, false, true, false, false}},
        {1, 0x20, {false, false, true, false, false, false, false}},
        {2, 0x00, {true, true, false, false, false, false, false}},
        {3, kVersionInvalid, {true, true, false, false, false, false, false}},
        {5, 1, {false, false, false, false, false, true, false}},
        {79, kVersionInvalid, {false, false, false, false, false, false, false}},
    };
    for (const auto& row : rows) {
        ProductSelection s;
        s.setDirect(row.product, row.version);
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(s.IsCompatibleVersion(versions[i]), row.expected[i])
                << row.product << '/' << row.version << " with " << versions[i];
    }
}

TEST(FormatVersion, TextOfVersionWords) {
    const std::map<int, QString> cases = {
        {0xFF00, QStringLiteral("1.x")},   {0x0005, QStringLiteral("1.x")},
        {0x2105, QStringLiteral("21.05")}, {0x2208, QStringLiteral("22.08")},
        {0x0103, QStringLiteral("01.03")}, {0x2A0B, QStringLiteral("2a.0b")},
    };
    for (const auto& [word, text] : cases)
        EXPECT_EQ(FormatVersion(static_cast<std::uint16_t>(word)), text);
}

TEST(FormatHexByte, TwoUpperCaseDigits) {
    EXPECT_EQ(FormatHexByte(0x0A), QStringLiteral("0A"));
    EXPECT_EQ(FormatHexByte(0xFF), QStringLiteral("FF"));
    EXPECT_EQ(FormatHexByte(0x00), QStringLiteral("00"));
}

TEST(Products, TableRows) {
    for (const int shipped : {1, 2, 3, 4, 5, 79})
        EXPECT_NE(FindProduct(shipped), nullptr) << shipped;
    ASSERT_NE(FindProduct(79), nullptr);
    EXPECT_STREQ(FindProduct(79)->extension, ".Muveplus2");
    EXPECT_STREQ(FindProduct(4)->defaultFileWord, "DORF");
    EXPECT_EQ(FindProduct(80), nullptr);
    EXPECT_TRUE(IsPlusProduct(5));
    EXPECT_FALSE(IsPlusProduct(3));
    EXPECT_EQ(DefaultImageFileName("ZAL", "V21"), QStringLiteral("Default ZAL V21.bin"));
}

} // namespace
