#pragma once

#include "config/ConfigImage.h"
#include "device/KbxInterface.h"
#include "radio/FixedCodes.h"
#include "shell/CommandResult.h"
#include "shell/Dialogs.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace zal {

// The logic of the two windows that change a device's fixed radio ID codes: they read the codes the
// device has, derive new ones from what the technician types, write them straight into the device and
// verify them by reading them back. Each keeps its own KBX connection and two work images.

// The key filter of the change windows: a code key, in upper case.
bool FixedCodeKey(QChar& key);

// BORA, ZAL, MUVE and DORF: six codes (the 1st to 5th fixed code and the fixed input code).
class TfrmChangeFixed {
public:
    static constexpr int kRows = kFixedCodeCount;
    static constexpr int kFirst = kFixedCodeBytes.first;
    static constexpr int kLast = kFixedCodeBytes.last;

    TfrmChangeFixed(Dialogs& dialogs, KbxTransportFactory factory = DefaultTransportFactory(),
                    KbxClock& clock = SystemClock());

    // Reads the device's codes into the old fields and empties the new ones.
    bool Prepare();
    // The technician changed a new field (row 0-5): an invalid code is refused and emptied; the first
    // row alone fills the others with the following codes.
    void NewChanged(int row);
    void setNew(int row, const QString& text) {
        newCodes[static_cast<size_t>(row)] = text;
        NewChanged(row);
    }
    // Writes, reads back and compares; done when the device holds the new codes.
    CommandResult WriteToDevice();
    // The codes that were written, for the editor's working image.
    void CopyInto(ConfigImage& image) const;
    // Whether a write would store exactly what is shown: every row's code (its new one, or the old one
    // where the new field is empty) has four digits, so no half-typed code is padded into the device.
    bool writeEnabled() const;
    // The rows a write changes, "1. feste: 1000 -> B100" one per line, for the question before it.
    QString changeList() const;

    std::array<QString, kRows> oldCodes;
    std::array<QString, kRows> newCodes;

private:
    Dialogs& dialogs_;
    TKbxInterface kbx_;
    ConfigImage newImage_{};
    ConfigImage deviceImage_{};
};

// MUVE+ and MUVE+ II: nine codes (kPlusFixedCodeBytes), the device's own code first; the technician types
// only the first, the eight fixed codes follow from it.
class TfrmChangeFixedPlus {
public:
    static constexpr int kRows = kPlusFixedCodeCount;

    TfrmChangeFixedPlus(Dialogs& dialogs, KbxTransportFactory factory = DefaultTransportFactory(),
                        KbxClock& clock = SystemClock());

    bool Prepare();
    void New1Changed();
    void setNew1(const QString& text) {
        newCodes[0] = text;
        New1Changed();
    }
    CommandResult WriteToDevice();
    void CopyInto(ConfigImage& image) const;
    QString changeList() const;

    std::array<QString, kRows> oldCodes;
    std::array<QString, kRows> newCodes;
    bool writeEnabled = false;

private:
    Dialogs& dialogs_;
    TKbxInterface kbx_;
    ConfigImage newImage_{};
    ConfigImage deviceImage_{};
};

} // namespace zal
