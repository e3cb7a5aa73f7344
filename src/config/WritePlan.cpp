#include "WritePlan.h"

#include "ImageChecksum.h"
#include "Products.h"

#include <algorithm>

namespace zal {

namespace {

void CopyRange(const ConfigImage& from, ConfigImage& to, AddressRange r) {
    std::copy(from.begin() + r.first, from.begin() + r.last + 1, to.begin() + r.first);
}

// The device's image with the written ranges taken from what is sent.
ConfigImage Overlay(const ConfigImage& device, const WritePlan& plan) {
    ConfigImage planned = device;
    for (const AddressRange& r : plan.writes)
        CopyRange(plan.image, planned, r);
    return planned;
}

} // namespace

std::vector<AddressRange> PlannedWrites(int product) {
    std::vector<AddressRange> writes = WriteRanges(product);
    if (const int marker = WrittenMarkerAddress(product); marker >= 0)
        writes.push_back({marker, marker});
    return writes;
}

WritePlan PlanWrite(int product, const ConfigImage& working, const ConfigImage& device) {
    WritePlan plan;
    plan.writes = PlannedWrites(product);
    plan.image = working;
    for (const AddressRange& r : KeptByDevice(product))
        CopyRange(device, plan.image, r);
    if (IsPlusProduct(product))
        StoreImageChecksum(plan.image);
    if (const int marker = WrittenMarkerAddress(product); marker >= 0)
        plan.image[static_cast<size_t>(marker)] = 1;
    plan.planned = Overlay(device, plan);
    plan.verify = VerifiedRanges(product);
    return plan;
}

WritePlan PlanRestore(int product, const ConfigImage& kept, const ConfigImage& device, bool withFixedCodes,
                      bool anotherDevice) {
    WritePlan plan;
    plan.writes = WriteRanges(product);
    if (withFixedCodes)
        plan.writes.push_back(IsPlusProduct(product) ? kPlusFixedCodeBytes : kFixedCodeBytes);
    if (const int marker = WrittenMarkerAddress(product); marker >= 0)
        plan.writes.push_back({marker, marker});
    plan.image = kept;
    plan.image = Overlay(device, plan);
    // A long serial lies among what a write covers: another device keeps its own.
    if (anotherDevice && HasLongSerial(product))
        CopyRange(device, plan.image, kPlus2LongSerialBytes);
    // The extended repeaters' checksum covers bytes the device keeps as its own: it is made for what
    // the device will hold, which is the backup's own checksum when the backup is of this device.
    if (IsPlusProduct(product))
        StoreImageChecksum(plan.image);
    plan.planned = plan.image;
    plan.verify = plan.writes;
    return plan;
}

WritePlan PlanDefaultWrite(const ConfigImage& image) {
    WritePlan plan;
    plan.writes = DefaultWriteRanges();
    plan.image = image;
    plan.planned = image; // nothing is read first: only the written ranges are known
    plan.verify = plan.writes;
    return plan;
}

std::vector<int> Unverified(const WritePlan& plan, const ConfigImage& readBack) {
    std::vector<int> differing;
    for (const AddressRange& r : plan.verify) {
        for (int a = r.first; a <= r.last; ++a) {
            if (readBack[static_cast<size_t>(a)] != plan.image[static_cast<size_t>(a)] &&
                std::find(differing.begin(), differing.end(), a) == differing.end())
                differing.push_back(a);
        }
    }
    return differing;
}

} // namespace zal
