#include "config/ImageChecksum.h"

#include <gtest/gtest.h>

using namespace zal;

namespace {

TEST(ImageChecksum, KnownVectors) {
    ConfigImage zeros{};
    EXPECT_EQ(ComputeImageChecksum(zeros), 0xF7);
    ConfigImage ones;
    ones.fill(0xFF);
    EXPECT_EQ(ComputeImageChecksum(ones), 0x89);
}

TEST(ImageChecksum, Bytes0xE0To0xEFNeverMatter) {
    ConfigImage image{};
    for (int i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const std::uint8_t reference = ComputeImageChecksum(image);
    for (int a = 0xE0; a <= 0xEF; ++a) {
        ConfigImage changed = image;
        changed[a] ^= 0x5A;
        EXPECT_EQ(ComputeImageChecksum(changed), reference) << a;
    }
    // Every covered byte does matter: a single-bit change is always caught by a CRC.
    for (int a : {0x00, 0x7F, 0xDF, 0xF0, 0xFF}) {
        ConfigImage changed = image;
        changed[a] ^= 0x01;
        EXPECT_NE(ComputeImageChecksum(changed), reference) << a;
    }
}

TEST(ImageChecksum, StoreThenTest) {
    ConfigImage image{};
    image[0x42] = 0x99;
    EXPECT_FALSE(TestImageChecksum(image));
    StoreImageChecksum(image);
    EXPECT_TRUE(TestImageChecksum(image));
    image[0xE5] = 1;
    EXPECT_TRUE(TestImageChecksum(image));
    image[0x10] = 1;
    EXPECT_FALSE(TestImageChecksum(image));
}

} // namespace
