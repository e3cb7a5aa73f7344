#pragma once

#include "ImageLayout.h"

#include <array>
#include <cstdint>

namespace zal {

// The whole configuration of a device: 256 bytes, the same in the device, in a configuration file and in
// a default image. Numbers wider than a byte are stored big-endian.
constexpr int kImageSize = 256;
using ConfigImage = std::array<std::uint8_t, kImageSize>;

// True when both images hold the same bytes from first to last, inclusive.
bool SameRange(const ConfigImage& a, const ConfigImage& b, int first, int last);

std::uint16_t ReadU16BE(const ConfigImage& image, int address);
void WriteU16BE(ConfigImage& image, int address, std::uint16_t value);

// A packed BCD byte as a number; 0 when either nibble is above 9.
int BcdToNumber(std::uint8_t value);

} // namespace zal
