#include "ConfigImage.h"

#include <algorithm>

namespace zal {

bool SameRange(const ConfigImage& a, const ConfigImage& b, int first, int last) {
    if (first < 0 || last >= kImageSize || first > last)
        return true;
    return std::equal(a.begin() + first, a.begin() + last + 1, b.begin() + first);
}

std::uint16_t ReadU16BE(const ConfigImage& image, int address) {
    return static_cast<std::uint16_t>((image[address] << 8) | image[address + 1]);
}

void WriteU16BE(ConfigImage& image, int address, std::uint16_t value) {
    image[address] = static_cast<std::uint8_t>(value >> 8);
    image[address + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

int BcdToNumber(std::uint8_t value) {
    const int high = value >> 4;
    const int low = value & 0x0F;
    return (high > 9 || low > 9) ? 0 : high * 10 + low;
}

} // namespace zal
