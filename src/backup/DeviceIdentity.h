#pragma once

#include "config/ConfigImage.h"

#include <QString>

namespace zal {

// Who a device image belongs to, as a technician names it: product, firmware, serial number and the
// device's own radio ID, in the forms the editor shows them.
struct DeviceIdentity {
    int product = 0;
    QString productName; // "ZAL", "MUVE+ II"; "Unbekannt" for a code no product has
    QString version;     // "22.08", "1.x"
    QString serial;      // six decimal digits at least, or ten hexadecimal digits for a MUVE+ II
    QString radioId;     // empty when the device has none stored

    // One device: the same product with the same serial number.
    QString deviceKey() const { return productName + u' ' + serial; }
};

DeviceIdentity IdentifyDevice(const ConfigImage& image);

} // namespace zal
