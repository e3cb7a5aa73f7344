#include "DeviceIdentity.h"

#include "config/Identification.h"
#include "config/Products.h"
#include "radio/RadioCode.h"

namespace zal {
namespace {

QString HexBytes(const ConfigImage& image, std::initializer_list<int> addresses) {
    QString text;
    for (int a : addresses)
        text += FormatHexByte(image[static_cast<size_t>(a)]);
    return text;
}

} // namespace

DeviceIdentity IdentifyDevice(const ConfigImage& image) {
    DeviceIdentity id;
    id.product = image[kProductCodeAddress];
    const ProductInfo* info = FindProduct(id.product);
    id.productName = info ? QString::fromLatin1(info->model) : QStringLiteral("Unbekannt");
    id.version = FormatVersion(
        static_cast<std::uint16_t>(image[kVersionCodeAddress] * 256 + image[kMinorVersionAddress]));
    if (id.product == kMuvePlus2) {
        // The long serial and, with the long protocol (0x94 = 2), the long radio ID share these bytes.
        id.serial = HexBytes(image, {0xC8, 0xC9, 0xCA, 0xFE, 0xFF});
        id.radioId = image[0x94] == 2 ? id.serial : HexBytes(image, {0x00, 0x01});
    } else {
        const unsigned serial = image[0xFD] * 65536u + image[0xFE] * 256u + image[0xFF];
        id.serial = QStringLiteral("%1").arg(serial, 6, 10, QLatin1Char('0'));
        id.radioId = id.product == kMuvePlus ? CodeToText(image[0x00], image[0x01])
                                             : CodeToText(image[0x10], image[0x11]);
    }
    return id;
}

} // namespace zal
