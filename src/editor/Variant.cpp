#include "Variant.h"

#include "config/Products.h"

namespace zal {

Variant VariantOf(int product, int version) {
    if (product == kMuvePlus)
        return Variant::MuvePlus;
    if (product == kMuvePlus2)
        return Variant::MuvePlus2;
    const bool v2 = version == kVersionV20 || version == kVersionV21 || version == kVersionV22;
    const bool v1 = version == kVersionV1x;
    if (!v1 && !v2)
        return Variant::None;
    switch (product) {
    case kBora:
        return v2 ? Variant::Bora2 : Variant::Bora1;
    case kZal:
        return v2 ? Variant::Zal2 : Variant::Zal1;
    case kMuve:
        return v2 ? Variant::Muve2 : Variant::Muve1;
    case kDorf:
        return v2 ? Variant::Dorf2 : Variant::Dorf1;
    default:
        return Variant::None;
    }
}

} // namespace zal
