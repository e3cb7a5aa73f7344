#include "line/ProductionLine.h"
#include "radio/FixedCodeWindows.h"

#include <gtest/gtest.h>

using namespace zal;

namespace {

using Block = std::vector<std::uint16_t>;

TEST(CodeAllocator, HandsOutBlocksThatNeverShareACode) {
    const struct {
        const char* name;
        std::uint16_t first;
        bool plus;
        std::set<std::uint16_t> used;
        std::vector<Block> expected;
    } cases[] = {
        {"classic",
         0xA100,
         false,
         {},
         {{0xA100, 0xA101, 0xA102, 0xA103, 0xA104, 0xA105},
          {0xA106, 0xA107, 0xA108, 0xA109, 0xA10A, 0xA10B}}},
        {"classic past FFFE",
         0xFFFC,
         false,
         {},
         {{0xFFFC, 0xFFFD, 0xFFFE, 0x0001, 0x0002, 0x0003},
          {0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0009}}},
        {"plus skips what the log used",
         0x1000,
         true,
         {0x1004},
         {{0x1005, 0x1006, 0x1007, 0x1008, 0x1009, 0x100A, 0x100B, 0x100C, 0x100D}}},
        {"plus never reaches FFFF",
         0xFFF0,
         true,
         {},
         {{0xFFF0, 0xFFF1, 0xFFF2, 0xFFF3, 0xFFF4, 0xFFF5, 0xFFF6, 0xFFF7, 0xFFF8},
          {0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0009}}},
    };
    for (const auto& c : cases) {
        CodeAllocator codes(c.first, c.plus, c.used);
        for (const Block& expected : c.expected)
            EXPECT_EQ(codes.Next(), expected) << c.name;
    }
    // All codes given: nothing more, rather than a code twice.
    std::set<std::uint16_t> all;
    for (int code = 1; code < 0xFFFF; ++code)
        all.insert(static_cast<std::uint16_t>(code));
    all.erase(0x1234);
    EXPECT_EQ(CodeAllocator(0x1000, false, all).Next(), std::nullopt);
}

} // namespace
