#pragma once

namespace zal {

// A product together with its layout family, the key of the enabling rules and value lists. The four
// older products count as V2x for versions 0x20-0x22 and as V1x for version 0.
enum class Variant { MuvePlus, MuvePlus2, Bora2, Zal2, Muve2, Dorf2, Bora1, Zal1, Muve1, Dorf1, None };

constexpr int kVariantCount = 10;

Variant VariantOf(int product, int version);

} // namespace zal
