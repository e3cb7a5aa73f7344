#include "config/WritePlan.h"
#include "config/ImageChecksum.h"
#include "config/Products.h"

#include <gtest/gtest.h>

using namespace zal;

namespace {

ConfigImage Pattern(int start) {
    ConfigImage image{};
    for (size_t a = 0; a < image.size(); ++a)
        image[a] = static_cast<std::uint8_t>(start + static_cast<int>(a) * 7);
    return image;
}

bool In(const std::vector<AddressRange>& ranges, int a) {
    for (const AddressRange& r : ranges)
        if (a >= r.first && a <= r.last)
            return true;
    return false;
}

// The bytes a write sends and leaves, per product: the extended repeaters keep their identity and fixed
// IDs (and a MUVE+ II its long serial), carry a checksum over what they will hold, and a MUVE+ II gets
// its written marker last.
TEST(WritePlan, EachProductWritesItsOwnBytes) {
    const struct {
        int product;
        int kept;   // bytes the device keeps inside what is otherwise the editor's image
        int marker; // -1: none
    } rows[] = {
        {kBora, 0, -1}, {kZal, 0, -1},       {kMuve, 0, -1},
        {kDorf, 0, -1}, {kMuvePlus, 50, -1}, {kMuvePlus2, 53, 0xE2},
    };
    const ConfigImage working = Pattern(1), device = Pattern(2);
    for (const auto& row : rows) {
        const WritePlan plan = PlanWrite(row.product, working, device);
        const bool plus = IsPlusProduct(row.product);
        int kept = 0;
        for (int a = 0; a < 256; ++a) {
            const auto i = static_cast<size_t>(a);
            kept += a != kImageChecksumAddress && a != row.marker && plan.image[i] == device[i];
            EXPECT_EQ(plan.planned[i], In(plan.writes, a) ? plan.image[i] : device[i])
                << row.product << ' ' << a;
        }
        EXPECT_EQ(kept, row.kept) << row.product;
        EXPECT_EQ(plus ? plan.image[kProductCodeAddress] : plan.image[0x30],
                  plus ? device[kProductCodeAddress] : working[0x30]);
        EXPECT_EQ(TestImageChecksum(plan.planned), plus) << row.product;
        if (row.marker >= 0) {
            EXPECT_EQ(plan.writes.back().first, row.marker);
            EXPECT_EQ(plan.planned[static_cast<size_t>(row.marker)], 1);
        }
        EXPECT_TRUE(Unverified(plan, plan.planned).empty()) << row.product;
        EXPECT_FALSE(Unverified(plan, device).empty()) << row.product;
    }
}

// A backup back into a device: another device keeps its fixed IDs unless it replaces the one the backup
// is of, and another MUVE+ II its long serial.
TEST(WritePlan, ARestoreKeepsWhatBelongsToTheDevice) {
    const ConfigImage kept = Pattern(1), device = Pattern(2);
    for (const bool withCodes : {true, false}) {
        const WritePlan zal = PlanRestore(kZal, kept, device, withCodes, true);
        EXPECT_EQ(zal.planned[kFixedCodesAddress],
                  withCodes ? kept[kFixedCodesAddress] : device[kFixedCodesAddress]);
        const WritePlan plus2 = PlanRestore(kMuvePlus2, kept, device, withCodes, true);
        EXPECT_EQ(plus2.planned[0x05], withCodes ? kept[0x05] : device[0x05]);
        EXPECT_EQ(plus2.planned[kPlus2LongSerialAddress], device[kPlus2LongSerialAddress]);
        EXPECT_EQ(plus2.planned[0xE2], kept[0xE2]); // the backup's own marker
        EXPECT_TRUE(TestImageChecksum(plus2.planned));
    }
    EXPECT_EQ(PlanRestore(kMuvePlus2, kept, device, true, false).planned[kPlus2LongSerialAddress],
              kept[kPlus2LongSerialAddress]);
    const WritePlan defaults = PlanDefaultWrite(kept);
    EXPECT_EQ(defaults.writes.back().first, kProductCodeAddress);
    EXPECT_EQ(Unverified(defaults, device).size(), 232u);
}

} // namespace
