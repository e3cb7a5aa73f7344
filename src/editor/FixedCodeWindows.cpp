#include "FixedCodeWindows.h"

#include "config/ImageChecksum.h"
#include "config/ImageLayout.h"
#include "config/Products.h"
#include "radio/DeviceIdentity.h"
#include "radio/RadioCode.h"
#include "shell/Messages.h"
#include "shell/StringTable.h"

#include <QCoreApplication>

#include <optional>

namespace zal {
namespace {

QString CodeAt(const ConfigImage& image, int address) {
    return CodeToText(image[address], image[address + 1]);
}

// Four characters, as the text form writes them (0x0000 would be the empty text, so it is written out).
QString FourDigits(std::uint16_t code) {
    return QStringLiteral("%1").arg(code, 4, 16, QChar(u'0')).toUpper();
}

// Shows a failure and says whether the device may have been changed: once the device answered, a
// write was sent.
// Reads the identity of the device behind the KBX again (and a MUVE+ II's long serial): the text naming
// both when another device answers than the one the window read, empty when it is the same one, nothing
// when it could not be read. Fixed radio IDs never go into a device swapped in while the window was open.
std::optional<QString> AnotherDevice(TKbxInterface& kbx, const ConfigImage& read) {
    ConfigImage now = read;
    const bool longSerial = HasLongSerial(read[kProductCodeAddress]);
    bool ok = kbx.ReadBlock(now, kIdentityBytes.first, kIdentityBytes.last) == kbxOk;
    if (ok && longSerial)
        ok = kbx.ReadBlock(now, kPlus2LongSerialBytes.first, kPlus2LongSerialBytes.last) == kbxOk;
    if (!ok)
        return std::nullopt;
    if (SameRange(now, read, kIdentityBytes.first, kIdentityBytes.last) &&
        (!longSerial || SameRange(now, read, kPlus2LongSerialBytes.first, kPlus2LongSerialBytes.last)))
        return QString();
    const DeviceIdentity was = IdentifyDevice(read), is = IdentifyDevice(now);
    return QCoreApplication::translate("Editor", "Ein anderes Gerät ist jetzt angeschlossen: %1 statt %2. "
                                                 "Die Funk ID-Codes wurden nicht geschrieben.")
        .arg(is.productName + u' ' + is.serial, was.productName + u' ' + was.serial);
}

CommandResult Refused(Dialogs& dialogs, const QString& text) {
    dialogs.message(MessageKind::Error, 0, text);
    return CommandResult(CommandResult::Refused).setDetail(text);
}

// sent: whether a write frame went out (a failure before it leaves the device as it was).
CommandResult Outcome(Dialogs& dialogs, std::optional<Msg> failure, bool sent = true) {
    if (!failure)
        return CommandResult(CommandResult::Done).setDeviceChanged(true);
    ShowMessage(dialogs, MessageKind::Error, *failure);
    return CommandResult(CommandResult::Failed, MessageKind::Error, *failure)
        .setDeviceChanged(sent && *failure != Msg::KbxNotFound && *failure != Msg::NoDeviceConnection);
}

} // namespace

bool FixedCodeKey(QChar& key) {
    if (!IsRadioCodeKey(key))
        return false;
    key = key.toUpper();
    return true;
}

TfrmChangeFixed::TfrmChangeFixed(Dialogs& dialogs, KbxTransportFactory factory, KbxClock& clock)
    : dialogs_(dialogs), kbx_(std::move(factory), clock) {}

bool TfrmChangeFixed::Prepare() {
    bool ok = kbx_.Open() == kbxOk && kbx_.ConnectDevice() == kbxOk &&
              kbx_.ReadBlock(deviceImage_, kFirst, kLast) == kbxOk &&
              kbx_.ReadBlock(deviceImage_, kIdentityBytes.first, kIdentityBytes.last) == kbxOk;
    kbx_.Close();
    for (int row = 0; row < kRows; ++row) {
        oldCodes[static_cast<size_t>(row)] = ok ? CodeAt(deviceImage_, kFirst + 2 * row) : QString();
        newCodes[static_cast<size_t>(row)].clear();
    }
    return ok;
}

void TfrmChangeFixed::NewChanged(int row) {
    QString& text = newCodes[static_cast<size_t>(row)];
    if (text.size() != 4)
        return;
    if (text == QLatin1String("0000") || text == QLatin1String("FFFF")) {
        ShowMessage(dialogs_, MessageKind::Error, Msg::InvalidFixedCode);
        text.clear();
        return;
    }
    if (row != 0)
        return;
    for (int other = 1; other < kRows; ++other) {
        if (!newCodes[static_cast<size_t>(other)].isEmpty())
            return;
    }
    const std::vector<std::uint16_t> codes = FixedCodeBlock(TextToCode(text), false);
    for (int other = 1; other < kRows; ++other)
        newCodes[static_cast<size_t>(other)] = FourDigits(codes[static_cast<size_t>(other)]);
}

CommandResult TfrmChangeFixed::WriteToDevice() {
    for (int row = 0; row < kRows; ++row) {
        const QString& text = newCodes[static_cast<size_t>(row)].isEmpty()
                                  ? oldCodes[static_cast<size_t>(row)]
                                  : newCodes[static_cast<size_t>(row)];
        WriteU16BE(newImage_, kFirst + 2 * row, TextToCode(text));
    }
    std::optional<Msg> failure;
    std::optional<QString> another;
    if (kbx_.Open() != kbxOk)
        failure = Msg::KbxNotFound;
    else if (kbx_.ConnectDevice() != kbxOk)
        failure = Msg::NoDeviceConnection;
    else if (another = AnotherDevice(kbx_, deviceImage_); !another) {
        kbx_.Close();
        return Outcome(dialogs_, Msg::ReadFailed, false);
    } else if (!another->isEmpty()) {
        kbx_.Close();
        return Refused(dialogs_, *another);
    } else if (kbx_.WriteBlock(newImage_, kFirst, kLast) != kbxOk)
        failure = Msg::WriteFailed;
    else if (kbx_.ReadBlock(deviceImage_, kFirst, kLast) != kbxOk)
        failure = Msg::ReadFailed;
    else if (!SameRange(newImage_, deviceImage_, kFirst, kLast))
        failure = Msg::VerifyFailed;
    kbx_.Close();
    return Outcome(dialogs_, failure);
}

bool TfrmChangeFixed::writeEnabled() const {
    bool changes = false;
    for (int row = 0; row < kRows; ++row) {
        const QString& typed = newCodes[static_cast<size_t>(row)];
        const QString& code = typed.isEmpty() ? oldCodes[static_cast<size_t>(row)] : typed;
        if (code.size() != kRadioCodeLength)
            return false;
        changes = changes || !typed.isEmpty();
    }
    return changes;
}

namespace {

QString ChangeList(const QString* oldCodes, const QString* newCodes, int rows,
                   const std::vector<int>& captions) {
    QStringList lines;
    for (int row = 0; row < rows; ++row) {
        const QString& typed = newCodes[row];
        if (!typed.isEmpty() && typed != oldCodes[row])
            lines << QStringLiteral("%1: %2 \u2192 %3")
                         .arg(Str(captions[static_cast<size_t>(row)]),
                              oldCodes[row].isEmpty() ? QStringLiteral("----") : oldCodes[row], typed);
    }
    return lines.join(u'\n');
}

} // namespace

QString TfrmChangeFixed::changeList() const {
    return ChangeList(oldCodes.data(), newCodes.data(), kRows, {10802, 10803, 10804, 10805, 10806, 10810});
}

QString TfrmChangeFixedPlus::changeList() const {
    return ChangeList(oldCodes.data(), newCodes.data(), kRows,
                      {10535, 10802, 10803, 10804, 10805, 10806, 10807, 10808, 10809});
}

void TfrmChangeFixed::CopyInto(ConfigImage& image) const {
    std::copy(newImage_.begin() + kFirst, newImage_.begin() + kLast + 1, image.begin() + kFirst);
}

TfrmChangeFixedPlus::TfrmChangeFixedPlus(Dialogs& dialogs, KbxTransportFactory factory, KbxClock& clock)
    : dialogs_(dialogs), kbx_(std::move(factory), clock) {}

bool TfrmChangeFixedPlus::Prepare() {
    bool ok = kbx_.Open() == kbxOk && kbx_.ConnectDevice() == kbxOk && kbx_.ReadImage(deviceImage_) == kbxOk;
    kbx_.Close();
    for (int row = 0; row < kRows; ++row) {
        oldCodes[static_cast<size_t>(row)] = ok ? CodeAt(deviceImage_, 2 * row) : QString();
        newCodes[static_cast<size_t>(row)].clear();
    }
    return ok;
}

void TfrmChangeFixedPlus::New1Changed() {
    const QString& text = newCodes[0];
    if (text.size() != 4) {
        writeEnabled = false;
        for (int row = 1; row < kRows; ++row)
            newCodes[static_cast<size_t>(row)].clear();
        return;
    }
    // The eight codes that follow must not reach FFFF: FFF6 is the last first code (its ninth is FFFE).
    const std::uint16_t first = TextToCode(text);
    if (!IsValidFirstFixedCode(first, true)) {
        ShowMessage(dialogs_, MessageKind::Error, Msg::InvalidFixedCodePlus);
        // The refused code stays for the technician to mend, but cannot be written.
        writeEnabled = false;
        return;
    }
    writeEnabled = true;
    const std::vector<std::uint16_t> codes = FixedCodeBlock(first, true);
    for (int row = 1; row < kRows; ++row)
        newCodes[static_cast<size_t>(row)] = FourDigits(codes[static_cast<size_t>(row)]);
}

CommandResult TfrmChangeFixedPlus::WriteToDevice() {
    newImage_ = deviceImage_;
    for (int row = 0; row < kRows; ++row)
        WriteU16BE(newImage_, 2 * row, TextToCode(newCodes[static_cast<size_t>(row)]));
    // The other bytes are the device's own, so the checksum over the whole image stays valid.
    StoreImageChecksum(newImage_);
    std::optional<Msg> failure;
    if (kbx_.Open() != kbxOk) {
        failure = Msg::KbxNotFound;
    } else if (kbx_.ConnectDevice() != kbxOk) {
        failure = Msg::NoDeviceConnection;
    } else if (const std::optional<QString> another = AnotherDevice(kbx_, deviceImage_); !another) {
        kbx_.Close();
        return Outcome(dialogs_, Msg::ReadFailed, false);
    } else if (!another->isEmpty()) {
        kbx_.Close();
        return Refused(dialogs_, *another);
    } else {
        const bool codes =
            kbx_.WriteBlock(newImage_, kPlusFixedCodeBytes.first, kPlusFixedCodeBytes.last) == kbxOk;
        const bool checksum =
            kbx_.WriteBlock(newImage_, kImageChecksumAddress, kImageChecksumAddress) == kbxOk;
        if (!codes || !checksum) {
            failure = Msg::WriteFailed;
        } else {
            const bool readCodes =
                kbx_.ReadBlock(deviceImage_, kPlusFixedCodeBytes.first, kPlusFixedCodeBytes.last) == kbxOk;
            const bool readChecksum =
                kbx_.ReadBlock(deviceImage_, kImageChecksumAddress, kImageChecksumAddress) == kbxOk;
            if (!readCodes || !readChecksum)
                failure = Msg::ReadFailed;
            else if (!SameRange(newImage_, deviceImage_, kPlusFixedCodeBytes.first,
                                kPlusFixedCodeBytes.last) ||
                     newImage_[kImageChecksumAddress] != deviceImage_[kImageChecksumAddress])
                failure = Msg::VerifyFailed;
        }
    }
    kbx_.Close();
    return Outcome(dialogs_, failure);
}

void TfrmChangeFixedPlus::CopyInto(ConfigImage& image) const {
    std::copy(newImage_.begin(), newImage_.begin() + kPlusFixedCodeBytes.last + 1, image.begin());
}

} // namespace zal
