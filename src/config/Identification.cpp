#include "Identification.h"

#include "Products.h"

namespace zal {
IdentifyResult IdentifyImage(int versionCode, int productCode) {
    const ProductInfo* product = FindProduct(productCode);
    if (!product)
        return irUnknownProduct;
    if (product->family == ProductFamily::Plus) {
        if (versionCode == kVersionPlus)
            return irSupported;
        return versionCode == 0 ? irUnknownVersion : irUnsupportedVersion;
    }
    if (versionCode == 0x00 || versionCode == 0xFF || IsV2x(versionCode))
        // A layout of the family that this product was never made in.
        return HasLayout(productCode, versionCode == 0xFF ? kVersionV1x : versionCode) ? irSupported
                                                                                       : irUnsupportedVersion;
    return versionCode < 0x20 ? irUnknownVersion : irUnsupportedVersion;
}

Firmware Firmware::Of(const ConfigImage& image) {
    return Of(image, image[kProductCodeAddress]);
}

Firmware Firmware::Of(const ConfigImage& image, int product) {
    return {product, image[kVersionCodeAddress], image[kMinorVersionAddress]};
}

QString Firmware::text() const {
    return FormatVersion(static_cast<std::uint16_t>(word()));
}

bool Firmware::acknowledgeAsValue() const {
    return product == kMuvePlus && version == kVersionPlus && minor <= 2;
}

QString FormatVersion(std::uint16_t word) {
    const int high = word >> 8;
    if (high == 0x00 || high == 0xFF)
        return QStringLiteral("1.x");
    return QStringLiteral("%1.%2").arg(high, 2, 16, QChar(u'0')).arg(word & 0xFF, 2, 16, QChar(u'0'));
}

QString FormatHexByte(std::uint8_t value) {
    return QStringLiteral("%1").arg(value, 2, 16, QChar(u'0')).toUpper();
}

void ProductSelection::SelectProductVersion(int versionCode, int minorVersion, int productCode) {
    minor_ = minorVersion;
    if (IsPlusProduct(productCode)) {
        if (versionCode == kVersionPlus) {
            version_ = kVersionPlus;
            SetCurrentProduct(productCode);
        } else {
            version_ = kVersionInvalid;
        }
        return;
    }
    if (versionCode == 0x00 || versionCode == 0xFF) {
        version_ = kVersionV1x;
    } else if (IsV2x(versionCode)) {
        version_ = versionCode;
    } else {
        version_ = kVersionInvalid;
        return;
    }
    if (FindProduct(productCode) && !HasLayout(productCode, version_)) {
        version_ = kVersionInvalid;
        return;
    }
    SetCurrentProduct(productCode);
}

void ProductSelection::SetCurrentProduct(int productCode) {
    product_ = productCode;
    if (hook_)
        hook_(productCode);
}

bool ProductSelection::IsCompatibleVersion(int versionCode) const {
    if (IsPlusProduct(product_))
        return versionCode == kVersionPlus && version_ == kVersionPlus;
    if (versionCode == 0x00 || versionCode == 0xFF)
        return !IsV2x(version_);
    if (IsV2x(versionCode))
        return versionCode == version_;
    return false;
}

} // namespace zal
