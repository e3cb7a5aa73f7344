#pragma once

#include "ConfigImage.h"
#include "ImageLayout.h"

#include <vector>

namespace zal {

// What a write sends to a device and what the device holds after it, worked out from the product's
// rules, the image to write and what the device holds before it, without touching a device. One
// transfer carries out any plan: the writes in order, then a read-back compared over `verify`.
struct WritePlan {
    std::vector<AddressRange> writes; // sent in this order; a MUVE+ II's written marker last
    ConfigImage image{};              // what the writes send, and what the read-back must show
    ConfigImage planned{};            // the device's whole image once written
    std::vector<AddressRange> verify; // where the read-back is compared with `image`
};

// What a write of the product sends, in order: known before the device is read, so that the transfer's
// length can be told from the start.
std::vector<AddressRange> PlannedWrites(int product);

// The editor's configuration into a device of its product. An extended repeater keeps its own
// identity, fixed radio IDs and product data (`device` holds at least what IdentificationRanges names
// for the product), its checksum covers what it will hold, and a MUVE+ II's written marker is set.
WritePlan PlanWrite(int product, const ConfigImage& working, const ConfigImage& device);

// A kept image (a backup) back into a device: what a write covers, the fixed radio IDs unless the
// device keeps its own, and the marker, all as the backup has them; another MUVE+ II keeps its long
// serial. The checksum is made for what the device will hold.
WritePlan PlanRestore(int product, const ConfigImage& kept, const ConfigImage& device, bool withFixedCodes,
                      bool anotherDevice);

// A default image over the older layouts' ranges, then its product and version code.
WritePlan PlanDefaultWrite(const ConfigImage& image);

// The addresses in the plan's verified ranges where the read-back differs from what was sent.
std::vector<int> Unverified(const WritePlan& plan, const ConfigImage& readBack);

} // namespace zal
