// The editor's commands that read the device and check what it is before any transfer.

#include "DeviceCommandSupport.h"

#include "config/ImageChecksum.h"
#include "config/ImageLayout.h"
#include "config/Products.h"
#include "config/WritePlan.h"
#include "radio/DeviceIdentity.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace zal {

using namespace device_commands;

void TfrmEnterData::planProgress(int planned) {
    progressDone_ = 0;
    progressPlanned_ = planned;
    if (observer_.progress)
        observer_.progress(0, planned);
}

bool TfrmEnterData::RefusesDevice(int deviceProduct, int deviceVersion) {
    if (deviceProduct != product()) {
        const QString name = productName(deviceProduct);
        report(MessageKind::Information,
               name.isEmpty() ? Msg::DeviceNotRecognised : Msg::DeviceIsAnotherProduct);
        return true;
    }
    if (!selection_.IsCompatibleVersion(deviceVersion)) {
        report(MessageKind::Information, Msg::DeviceIncompatible);
        return true;
    }
    return false;
}

// --- Read from device -----------------------------------------------------------------------------------

CommandResult TfrmEnterData::ReadFromDevice() {
    return RunDeviceCommand(QStringLiteral("read"), [this] { return ReadSteps(); });
}

CommandResult TfrmEnterData::ReadSteps() {
    CommandFrame frame(*this, kbx_);
    if (const std::optional<Msg> failure = OpenAndConnect(kbx_)) {
        report(MessageKind::Error, *failure);
        return CommandResult::Failed;
    }
    setStatus(Msg::Reading);
    processEvents();
    planProgress(Chunks({kWholeImage}) + 1);
    ConfigImage identity{};
    ConfigImage read = comparison_;
    switch (ReadDevice(read, {kWholeImage}, identity)) {
    case DeviceRead::Read:
        break;
    case DeviceRead::Cancelled:
        setStatus(QCoreApplication::translate("Editor", "Lesen abgebrochen – der Editor ist unverändert"));
        return CommandResult::Cancelled;
    case DeviceRead::Failed:
        report(MessageKind::Error, Msg::ReadFailed);
        return CommandResult::Failed;
    case DeviceRead::Swapped: {
        // Two devices' bytes in one image: neither kept nor shown.
        const QString text =
            QCoreApplication::translate("Editor", "Das Gerät wurde während des Lesens getauscht: erst %1, "
                                                  "dann %2. Der Editor ist unverändert; bitte erneut lesen.")
                .arg(DeviceName(identity), DeviceName(read));
        setStatus(text);
        dialogs_.message(MessageKind::Error, 0, text);
        return CommandResult(CommandResult::Failed).setDetail(text);
    }
    }
    comparison_ = read;
    // Whatever the editor makes of it, the image is kept as the device gave it.
    BackupDeviceImage(comparison_);
    const int deviceProduct = comparison_[kProductCodeAddress];
    switch (IdentifyImage(comparison_[kVersionCodeAddress], deviceProduct)) {
    case irSupported:
        setStatus(QString());
        break;
    case irUnsupportedVersion:
        show(MessageKind::Error, Msg::DeviceVersionUnsupported);
        setStatus(Msg::ReadFailed);
        return CommandResult::Refused;
    case irUnknownVersion: {
        setStatus(QString());
        if (ask(MessageKind::Error, Msg::DeviceUnknownVersionSave, QuestionButtons::YesNo,
                {FormatHexByte(comparison_[kVersionCodeAddress]),
                 FormatHexByte(comparison_[kMinorVersionAddress])}) == Answer::Yes &&
            SaveDeviceImage(comparison_, deviceProduct))
            setStatus(Msg::DeviceImageSaved);
        return CommandResult::Refused;
    }
    case irUnknownProduct:
        setStatus(QString());
        if (ask(MessageKind::Error, Msg::DeviceUnknownProductSave, QuestionButtons::YesNo) == Answer::Yes &&
            SaveDeviceImage(comparison_, 0))
            setStatus(Msg::DeviceImageSaved);
        return CommandResult::Refused;
    }
    if (IsPlusProduct(deviceProduct) && !TestImageChecksum(comparison_)) {
        show(MessageKind::Error, Msg::DeviceChecksumWrong);
        setStatus(QString());
    }
    if (deviceProduct != product())
        show(MessageKind::Information, Msg::ProductChangedToDevice);
    working_ = comparison_;
    SelectProductVersion(working_[kVersionCodeAddress], working_[kMinorVersionAddress], deviceProduct);
    const int fault = FillFields();
    if (fault < 0) {
        report(MessageKind::Information, Msg::ReadComplete);
    } else {
        ShowFault(Msg::DeviceImageFaulty, fault);
        setStatus(Msg::ConversionFailed);
    }
    deviceName_ = DeviceName(comparison_);
    setFile(QString(), fsFromDevice);
    MarkClean();
    return CommandResult::Done;
}

// --- One device from the first frame to the last ------------------------------------------------------

namespace {

bool Overlaps(AddressRange a, AddressRange b) {
    return a.first <= b.last && b.first <= a.last;
}

// A range whose bytes tell receivers who sends: the fixed radio IDs, and a long serial, which is the
// radio ID in the long protocol. Such bytes never go into a device the command did not read.
bool CarriesRadioIds(int product, AddressRange r) {
    if (!IsPlusProduct(product))
        return Overlaps(r, kFixedCodeBytes);
    return Overlaps(r, kPlusFixedCodeBytes) || (HasLongSerial(product) && Overlaps(r, kPlus2LongSerialBytes));
}

} // namespace

bool TfrmEnterData::StopBeforeWriting() {
    if (kbx_.cancelled())
        return true;
    if (!observer_.stopRequested || !kbx_.sentWrites().empty() || !observer_.stopRequested())
        return false;
    kbx_.requestCancel();
    return true;
}

int TfrmEnterData::IdentityChunks() const {
    return HasLongSerial(product()) ? 2 : 1;
}

int TfrmEnterData::ReadIdentity(ConfigImage& into) {
    int read = kbx_.ReadBlock(into, kIdentityBytes.first, kIdentityBytes.last);
    if (read == kbxOk && HasLongSerial(into[kProductCodeAddress]))
        read = kbx_.ReadBlock(into, kPlus2LongSerialBytes.first, kPlus2LongSerialBytes.last);
    return read;
}

TfrmEnterData::DeviceRead
TfrmEnterData::ReadDevice(ConfigImage& into, const std::vector<AddressRange>& ranges, ConfigImage& before) {
    before = into;
    int read = ReadIdentity(before);
    for (const AddressRange& r : ranges) {
        if (read == kbxOk)
            read = kbx_.ReadBlock(into, r.first, r.last);
    }
    if (read == kbxCancelled || kbx_.cancelled())
        return DeviceRead::Cancelled;
    if (read != kbxOk)
        return DeviceRead::Failed;
    // Compared over what both reads hold: the identity at the start and where the ranges end.
    bool same = SameRange(before, into, kIdentityBytes.first, kIdentityBytes.last);
    if (HasLongSerial(before[kProductCodeAddress]) &&
        std::any_of(ranges.begin(), ranges.end(), [](AddressRange r) {
            return r.first <= kPlus2LongSerialBytes.first && kPlus2LongSerialBytes.last <= r.last;
        }))
        same = same && SameRange(before, into, kPlus2LongSerialBytes.first, kPlus2LongSerialBytes.last);
    return same ? DeviceRead::Read : DeviceRead::Swapped;
}

CommandResult TfrmEnterData::SwappedDuringRead(const ConfigImage& now, const ConfigImage& before) {
    const QString text =
        QCoreApplication::translate("Editor", "Das Gerät wurde während des Lesens getauscht: erst %1, dann "
                                              "%2. Nichts wurde geschrieben und nichts gesichert.")
            .arg(DeviceName(before), DeviceName(now));
    planProgress(0);
    setStatus(text);
    RecordLine(QStringLiteral("refused: ") + text);
    dialogs_.message(MessageKind::Error, 0, text);
    return CommandResult(CommandResult::Failed).setDetail(text);
}

int TfrmEnterData::IdentityChecks(const std::vector<AddressRange>& writes) const {
    int checks = 0;
    for (size_t i = 0; i < writes.size(); ++i)
        checks += i == 0 || CarriesRadioIds(product(), writes[i]);
    return checks * IdentityChunks();
}

bool TfrmEnterData::SendPlan(const WritePlan& plan, const ConfigImage* expected) {
    // Every range is tried even after one failed, as the device may hold part of it by then: what
    // went out is reported from the KBX's own account.
    bool written = true;
    sentInOrder_.clear();
    sentConfirmed_ = 0;
    swappedIn_.reset();
    for (size_t i = 0; i < plan.writes.size(); ++i) {
        const AddressRange& r = plan.writes[i];
        if (expected && (i == 0 || CarriesRadioIds(product(), r))) {
            if (StopBeforeWriting())
                return false;
            ConfigImage now = *expected;
            if (ReadIdentity(now) != kbxOk)
                return false; // cancelled, or nobody answers: nothing more goes out unchecked
            if (!SameIdentity(now, *expected)) {
                swappedIn_ = now;
                return false;
            }
            sentConfirmed_ = sentInOrder_.size();
        }
        deviceWritten_ = true;
        sentInOrder_.push_back(r);
        written = kbx_.WriteBlock(plan.image, r.first, r.last) == kbxOk && written;
    }
    return written;
}

QString TfrmEnterData::SwapConsequence(const ConfigImage& now, const ConfigImage& expected) const {
    QString text =
        QCoreApplication::translate("Editor", "Ein anderes Gerät ist jetzt angeschlossen: %1 statt %2.")
            .arg(DeviceName(now), DeviceName(expected));
    const std::vector<AddressRange> confirmed(sentInOrder_.begin(),
                                              sentInOrder_.begin() + static_cast<long>(sentConfirmed_));
    const std::vector<AddressRange> either(sentInOrder_.begin() + static_cast<long>(sentConfirmed_),
                                           sentInOrder_.end());
    if (sentInOrder_.empty())
        return text + QCoreApplication::translate("Editor", " Nichts wurde geschrieben.");
    if (!confirmed.empty())
        text += QCoreApplication::translate("Editor", " In %1 gingen, in dieser Reihenfolge: Adressen %2.")
                    .arg(DeviceName(expected), RangesText(confirmed));
    if (!either.empty())
        text +=
            (confirmed.empty()
                 ? QCoreApplication::translate("Editor", " In %1 oder schon in %2 gingen, in dieser "
                                                         "Reihenfolge: Adressen %3; beide können einen Teil "
                                                         "der neuen Konfiguration halten.")
                 : QCoreApplication::translate("Editor",
                                               " Danach gingen in %1 oder schon in %2: Adressen %3; "
                                               "beide können einen Teil der neuen Konfiguration "
                                               "halten."))
                .arg(DeviceName(expected), DeviceName(now), RangesText(either));
    if (!record_.backupFile.isEmpty())
        text += u' ' + RestoreHint(QFileInfo(record_.backupFile).fileName());
    return text;
}

QString TfrmEnterData::RestoreHint(const QString& backupName) const {
    if (observer_.restoreHint)
        return observer_.restoreHint(backupName);
    return QCoreApplication::translate("Editor",
                                       "Die Sicherung von vor dem Schreiben, „%1“, kann unter "
                                       "„Datei > Sicherungen“ zurück in das Gerät geschrieben werden.")
        .arg(backupName);
}

} // namespace zal
