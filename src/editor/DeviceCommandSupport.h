#pragma once

// What the editor's device commands share: opening the KBX with its device, counting the chunks of a
// transfer, and the frame that closes the KBX and ends the hourglass on every path.

#include "EnterData.h"

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
