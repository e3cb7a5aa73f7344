#pragma once

#include "ConfigImage.h"

namespace zal {

// MUVE+ and MUVE+ II devices keep a CRC-8 of their image at 0xE0: polynomial 0xA6, most significant bit
// first, register starting at 0xFF, over 0x00-0xDF and then 0xF0-0xFF (0xE0-0xEF are not covered), the
// final register XOR 0xFF. Its address is kImageChecksumAddress.

std::uint8_t ComputeImageChecksum(const ConfigImage& image);
void StoreImageChecksum(ConfigImage& image);
bool TestImageChecksum(const ConfigImage& image);

} // namespace zal
