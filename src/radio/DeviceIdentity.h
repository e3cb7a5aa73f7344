#pragma once

#include "config/ConfigImage.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace zal {

// Who a device image belongs to, as a technician names it: product, firmware, serial number and the
// device's own radio ID. The one derivation of them: the editor's product information, the report,
// the backups and the production line all take theirs from here.
struct DeviceIdentity {
    int product = 0;
    QString productName; // "ZAL", "MUVE+ II"; "Unbekannt" for a code no product has
    QString version;     // "22.08", "1.x"
    // As the editor shows it: decimal, or ten hexadecimal digits for a MUVE+ II.
    QString shownSerial;
    // As records keep it (backup names, the index, the line log): the decimal serial padded to six
    // digits, so that names sort by it; the MUVE+ II's ten digits as shown.
    QString serial;
    QString radioId; // as the editor shows it; empty when the device has none stored

    // One device: the same product with the same serial number.
    QString deviceKey() const { return productName + u' ' + serial; }
};

DeviceIdentity IdentifyDevice(const ConfigImage& image);
// The identity of an image shown as product (the editor's selection), whatever its product byte.
DeviceIdentity IdentifyDevice(const ConfigImage& image, int product);

// Whether two serial numbers name the same device, in whichever form either was written: the shown
// "42" finds the recorded "000042", hexadecimal digits in either case.
bool SameSerial(const QString& a, const QString& b);
// The fixed radio ID codes an image holds, at its product's own addresses (six for the older products,
// nine for the extended repeaters), leaving out the unset 0000 and FFFF; none for an unknown product.
std::vector<std::uint16_t> FixedCodesOf(const ConfigImage& image);
// The one form of a serial number that every written form of it comes to (records look it up by this).
QString SerialKey(const QString& serial);

} // namespace zal
