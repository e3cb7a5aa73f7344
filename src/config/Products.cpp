#include "Products.h"

#include <algorithm>

namespace zal {
namespace {

constexpr ProductInfo kProducts[] = {
    {kBora, "BORA", "BORA", 10003, ".Bora", 10612, "BORA", ProductFamily::Classic},
    {kZal, "ZAL", "ZAL", 10004, ".Zal", 10613, "ZAL", ProductFamily::Classic},
    {kMuve, "MUVE", "MUVE", 10005, ".Muve", 10622, "MUVE", ProductFamily::Classic},
    {kDorf, "DORF", "DORF", 10007, ".Dorf", 10614, "DORF", ProductFamily::Classic},
    {kMuvePlus, "MUVE+", "MUVE+", 10006, ".Muveplus", 10623, "MUVEPLUS", ProductFamily::Plus},
    {kMuvePlus2, "MUVE+ II", "MUVE+ II", 10006, ".Muveplus2", 10653, "MUVEPLUS2", ProductFamily::Plus},
};

constexpr LayoutVersion kClassicVersions[] = {
    {kVersionV1x, "mnuFileNewVersionV1x", 10104, "V1X"},
    {kVersionV20, "mnuFileNewVersionV20xx", 10105, "V20"},
    {kVersionV21, "mnuFileNewVersionV21xx", 10106, "V21"},
    {kVersionV22, "mnuFileNewVersionV22xx", 10107, "V22"},
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

std::span<const LayoutVersion> ClassicVersions() {
    return kClassicVersions;
}

const LayoutVersion* FindClassicVersion(int code) {
    const auto it = std::find_if(std::begin(kClassicVersions), std::end(kClassicVersions),
                                 [code](const LayoutVersion& v) { return v.code == code; });
    return it == std::end(kClassicVersions) ? nullptr : it;
}

QString DefaultImageFileName(const QString& productWord, const QString& suffix) {
    return QStringLiteral("Default %1 %2.bin").arg(productWord, suffix);
}

} // namespace zal
