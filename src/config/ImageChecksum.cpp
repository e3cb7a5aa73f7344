#include "ImageChecksum.h"

namespace zal {
namespace {

struct CrcTable {
    std::uint8_t entry[256];
    constexpr CrcTable() : entry{} {
        for (int i = 0; i < 256; ++i) {
            std::uint8_t crc = static_cast<std::uint8_t>(i);
            for (int bit = 0; bit < 8; ++bit)
                crc = static_cast<std::uint8_t>((crc & 0x80) ? (crc << 1) ^ 0xA6 : crc << 1);
            entry[i] = crc;
        }
    }
};

constexpr CrcTable kTable;
static_assert(kTable.entry[1] == 0xA6 && kTable.entry[2] == 0xEA && kTable.entry[3] == 0x4C);

} // namespace

std::uint8_t ComputeImageChecksum(const ConfigImage& image) {
    std::uint8_t crc = 0xFF;
    for (const AddressRange& range : kChecksummedBytes) {
        for (int a = range.first; a <= range.last; ++a)
            crc = kTable.entry[crc ^ image[a]];
    }
    return crc ^ 0xFF;
}

void StoreImageChecksum(ConfigImage& image) {
    image[kImageChecksumAddress] = ComputeImageChecksum(image);
}

bool TestImageChecksum(const ConfigImage& image) {
    return image[kImageChecksumAddress] == ComputeImageChecksum(image);
}

} // namespace zal
