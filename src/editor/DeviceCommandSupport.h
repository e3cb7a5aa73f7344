#pragma once

// What the editor's device commands share: opening the KBX with its device, counting the chunks of a
// transfer, and the frame that closes the KBX and ends the hourglass on every path.

#include "EnterData.h"
#include "config/ImageLayout.h"
#include "config/Products.h"
#include "radio/DeviceIdentity.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace zal::device_commands {

// Open, then connect the device; the message of the failure, or nothing.
inline std::optional<Msg> OpenAndConnect(TKbxInterface& kbx) {
    if (kbx.Open() != kbxOk)
        return Msg::KbxNotFound;
    if (kbx.ConnectDevice() != kbxOk)
        return Msg::NoDeviceConnection;
    return std::nullopt;
}

inline int Chunks(const std::vector<AddressRange>& ranges) {
    int n = 0;
    for (const AddressRange& r : ranges)
        n += TKbxInterface::ChunksIn(r.first, r.last);
    return n;
}

// What tells one device from another: its identification and serial number (a MUVE+ II's long serial
// is written with the configuration, so it is compared as the image expected holds it).
inline bool SameIdentity(const ConfigImage& a, const ConfigImage& b) {
    return SameRange(a, b, kIdentityBytes.first, kIdentityBytes.last) &&
           (!HasLongSerial(a[kProductCodeAddress]) ||
            SameRange(a, b, kPlus2LongSerialBytes.first, kPlus2LongSerialBytes.last));
}

// Ranges as messages list them, in the order given: "0x00-0x0F, 0xE0".
inline QString RangesText(const std::vector<AddressRange>& ranges) {
    const auto hex = [](int address) {
        return QStringLiteral("0x") + QStringLiteral("%1").arg(address, 2, 16, QChar(u'0')).toUpper();
    };
    QStringList parts;
    for (const AddressRange& r : ranges)
        parts << (r.first == r.last ? hex(r.first) : hex(r.first) + u'-' + hex(r.last));
    return parts.join(QStringLiteral(", "));
}

// A device as messages name it: "ZAL 004711".
inline QString DeviceName(const ConfigImage& image) {
    const DeviceIdentity id = IdentifyDevice(image);
    return id.productName + u' ' + id.serial;
}

// Closes the KBX and ends the hourglass on every path out of a command.
class CommandFrame {
public:
    CommandFrame(TfrmEnterData& editor, TKbxInterface& kbx) : editor_(editor), kbx_(kbx) {
        editor_.setBusy(true);
    }
    ~CommandFrame() {
        kbx_.Close();
        editor_.setBusy(false);
    }

private:
    TfrmEnterData& editor_;
    TKbxInterface& kbx_;
};

} // namespace zal::device_commands
