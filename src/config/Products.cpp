#include "Products.h"

#include <algorithm>

namespace zal {
namespace {

constexpr ProductInfo kProducts[] = {
    // code, model, button, info, extension, file type, default word, family, save filter, jumpers,
    // positions, radio inputs, wired inputs
    {kBora, "BORA", "BORA", 10003, ".Bora", 10612, "BORA", ProductFamily::Classic, 1, false, false, false,
     true},
    {kZal, "ZAL", "ZAL", 10004, ".Zal", 10613, "ZAL", ProductFamily::Classic, 2, true, true, true, true},
    {kMuve, "MUVE", "MUVE", 10005, ".Muve", 10622, "MUVE", ProductFamily::Classic, 3, true, false, true,
     false},
    {kDorf, "DORF", "DORF", 10007, ".Dorf", 10614, "DORF", ProductFamily::Classic, 6, false, true, true,
     false},
    {kMuvePlus, "MUVE+", "MUVE+", 10006, ".Muveplus", 10623, "MUVEPLUS", ProductFamily::Plus, 4, false, false,
     true, false},
    {kMuvePlus2, "MUVE+ II", "MUVE+ II", 10006, ".Muveplus2", 10653, "MUVEPLUS2", ProductFamily::Plus, 5,
     false, false, true, false},
};

constexpr LayoutVersion kClassicVersions[] = {
    {kVersionV1x, "V1X", "V1.x"},
    {kVersionV20, "V20", "V20.xx"},
    {kVersionV21, "V21", "V21.xx"},
    {kVersionV22, "V22", "V22.xx"},
};

} // namespace

std::span<const ProductInfo> Products() {
    return kProducts;
}

const ProductInfo* FindProduct(int code) {
    const auto it = std::find_if(std::begin(kProducts), std::end(kProducts),
                                 [code](const ProductInfo& p) { return p.code == code; });
    return it == std::end(kProducts) ? nullptr : it;
}

bool IsPlusProduct(int code) {
    const ProductInfo* p = FindProduct(code);
    return p && p->family == ProductFamily::Plus;
}

bool IsClassicProduct(int code) {
    const ProductInfo* p = FindProduct(code);
    return p && p->family == ProductFamily::Classic;
}

std::span<const LayoutVersion> ClassicVersions() {
    return kClassicVersions;
}

const LayoutVersion* FindClassicVersion(int code) {
    if (code == 0xFF)
        code = kVersionV1x;
    const auto it = std::find_if(std::begin(kClassicVersions), std::end(kClassicVersions),
                                 [code](const LayoutVersion& v) { return v.code == code; });
    return it == std::end(kClassicVersions) ? nullptr : it;
}

bool HasPositions(int product, int version) {
    const ProductInfo* p = FindProduct(product);
    return p && p->positions && version == kVersionV22;
}

QString DefaultImageFileName(const QString& productWord, const QString& suffix) {
    return QStringLiteral("Default %1 %2.bin").arg(productWord, suffix);
}

Variant VariantOf(int product, int version) {
    const ProductInfo* p = FindProduct(product);
    if (!p)
        return Variant::None;
    if (p->family == ProductFamily::Plus)
        return product == kMuvePlus ? Variant::MuvePlus : Variant::MuvePlus2;
    if (version != kVersionV1x && !IsV2x(version))
        return Variant::None;
    // The older products in their table order, V2x then V1.x.
    const int index = static_cast<int>(p - kProducts);
    return static_cast<Variant>(static_cast<int>(version == kVersionV1x ? Variant::Bora1 : Variant::Bora2) +
                                index);
}

std::vector<AddressRange> WriteRanges(int product) {
    if (IsPlusProduct(product))
        return {{0x20, 0x92}, {0x96, 0xE0}, {0xF6, 0xF6}};
    return {{0x00, 0x0F}, {0x1F, 0x6D}, {0x70, 0xF6}};
}

std::vector<AddressRange> VerifiedRanges(int product) {
    if (IsPlusProduct(product))
        return {{0x20, 0xE0}, {0xF6, 0xF6}};
    return WriteRanges(product);
}

std::vector<AddressRange> KeptByDevice(int product) {
    if (!IsPlusProduct(product))
        return {};
    std::vector<AddressRange> kept{{0x00, 0x1F}, {0x93, 0x95}, {0xF0, 0xF5}, {0xF7, 0xFF}};
    // A MUVE+ II's long serial (its radio ID in the long protocol) lies inside a written range: it
    // goes out as the device has it, never as the file that was opened has it.
    if (product == kMuvePlus2)
        kept.push_back(kPlus2LongSerialBytes);
    return kept;
}

std::vector<AddressRange> IdentificationRanges() {
    return {{0x00, 0x1F}, {0x93, 0x95}, {0xF0, 0xFF}};
}

std::vector<AddressRange> IdentificationRanges(int product) {
    std::vector<AddressRange> ranges = IdentificationRanges();
    if (product == kMuvePlus2)
        ranges.push_back(kPlus2LongSerialBytes);
    return ranges;
}

std::vector<AddressRange> DefaultWriteRanges() {
    std::vector<AddressRange> ranges = WriteRanges(kBora);
    ranges.push_back({0xF8, 0xF9});
    return ranges;
}

int WrittenMarkerAddress(int product) {
    return product == kMuvePlus2 ? 0xE2 : -1;
}

} // namespace zal
