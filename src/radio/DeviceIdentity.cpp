#include "DeviceIdentity.h"

#include "RadioCode.h"
#include "config/Identification.h"
#include "config/Products.h"
#include <QCoreApplication>

namespace zal {
namespace {

QString HexBytes(const ConfigImage& image, std::initializer_list<int> addresses) {
    QString text;
    for (int a : addresses)
        text += FormatHexByte(image[static_cast<size_t>(a)]);
    return text;
}

QString WithoutLeadingZeros(const QString& serial) {
    qsizetype first = 0;
    while (first < serial.size() - 1 && serial[first] == u'0')
        ++first;
    return serial.mid(first);
}

} // namespace

DeviceIdentity IdentifyDevice(const ConfigImage& image) {
    return IdentifyDevice(image, image[kProductCodeAddress]);
}

DeviceIdentity IdentifyDevice(const ConfigImage& image, int product) {
    DeviceIdentity id;
    id.product = product;
    const ProductInfo* info = FindProduct(id.product);
    // The name is part of the device's key (backup names, the records), so it is the same word in
    // every language; a window translates it as it shows it.
    id.productName = info ? QString::fromLatin1(info->model.get())
                          : QString::fromUtf8(QT_TRANSLATE_NOOP("Radio", "Unbekannt"));
    id.version = Firmware::Of(image).text();
    if (HasLongSerial(id.product)) {
        // The long serial and, with the long protocol, the long radio ID share these bytes.
        const int s = kPlus2LongSerialAddress;
        id.shownSerial = id.serial =
            HexBytes(image, {s, s + 1, s + 2, kSerialAddress + 1, kSerialAddress + 2});
        const int own = ProductRow(id.product).ownCodeAddress;
        id.radioId = image[kPlus2TransmissionProtocolAddress] == kPlus2LongProtocol
                         ? id.serial
                         : HexBytes(image, {own, own + 1});
    } else {
        const unsigned serial =
            image[kSerialAddress] * 65536u + image[kSerialAddress + 1] * 256u + image[kSerialAddress + 2];
        id.shownSerial = QString::number(serial);
        id.serial = QStringLiteral("%1").arg(serial, 6, 10, QLatin1Char('0'));
        const int own = ProductRow(id.product).ownCodeAddress;
        id.radioId = CodeToText(image[own], image[own + 1]);
    }
    return id;
}

std::vector<std::uint16_t> FixedCodesOf(const ConfigImage& image) {
    const int product = IdentifyDevice(image).product;
    if (!FindProduct(product))
        return {};
    const int own = ProductRow(product).ownCodeAddress;
    const int count = IsPlusProduct(product) ? kPlusFixedCodeCount : kFixedCodeCount;
    std::vector<std::uint16_t> codes;
    for (int i = 0; i < count; ++i) {
        const auto code = static_cast<std::uint16_t>(image[static_cast<size_t>(own + 2 * i)] << 8 |
                                                     image[static_cast<size_t>(own + 2 * i + 1)]);
        if (code != 0x0000 && code != 0xFFFF)
            codes.push_back(code);
    }
    return codes;
}

QString SerialKey(const QString& serial) {
    return WithoutLeadingZeros(serial.trimmed()).toUpper();
}

bool SameSerial(const QString& a, const QString& b) {
    return SerialKey(a) == SerialKey(b);
}

} // namespace zal
