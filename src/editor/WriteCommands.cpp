// The editor's write into a device: the plan, the preview, the transfer and its read-back.

#include "DeviceCommandSupport.h"

#include "config/ImageLayout.h"
#include "config/Products.h"
#include "config/WritePlan.h"
#include "radio/DeviceIdentity.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace zal {

using namespace device_commands;

// --- Write to device ------------------------------------------------------------------------------------

CommandResult TfrmEnterData::WriteToDevice() {
    return RunDeviceCommand(QStringLiteral("write"), [this] { return WriteSteps(false); });
}

const std::vector<DifferenceRow>& TfrmEnterData::writeChanges() {
    if (!writeChanges_)
        writeChanges_ = changeImages_ ? DifferencesBetween(changeImages_->first, changeImages_->second)
                                      : std::vector<DifferenceRow>{};
    return *writeChanges_;
}

std::optional<DeviceIdentity> TfrmEnterData::writeTarget() const {
    if (!changeImages_)
        return std::nullopt;
    return IdentifyDevice(changeImages_->first);
}

CommandResult TfrmEnterData::PreviewWrite() {
    return RunDeviceCommand(QStringLiteral("preview"), [this] { return WriteSteps(true); });
}

QString TfrmEnterData::WriteConsequence() const {
    const std::vector<AddressRange>& sent = kbx_.sentWrites();
    if (sent.empty())
        return QCoreApplication::translate("Editor",
                                           "Es wurde nichts in das Gerät geschrieben; es ist unverändert.");
    QString text =
        QCoreApplication::translate("Editor", "Bevor der Vorgang endete, gingen an das Gerät: Adressen %1.")
            .arg(RangesText(sent));
    if (!record_.backupFile.isEmpty())
        text += u' ' + RestoreHint(QFileInfo(record_.backupFile).fileName());
    else
        text += QCoreApplication::translate("Editor", " Vor dem Schreiben wurde keine Sicherung angelegt.");
    return text;
}

CommandResult TfrmEnterData::WriteSteps(bool previewOnly) {
    CommandFrame frame(*this, kbx_);
    changeImages_.reset();
    writeChanges_.reset();
    if (std::optional<ConversionError> error = CollectFields()) {
        ReportConversionError(*error);
        return CommandResult::Failed;
    }
    if (const std::optional<Msg> failure = OpenAndConnect(kbx_)) {
        report(MessageKind::Error, *failure);
        return CommandResult::Failed;
    }
    setStatus(previewOnly ? Msg::Reading : Msg::Writing);
    processEvents();

    // What is written where does not depend on the device; what goes there does, once it is read.
    const std::vector<AddressRange> writes = PlannedWrites(product());
    // With backups on, the whole image is read first and kept, so that what the write replaces can
    // always be put back; without, only the identification is read: 51 bytes, not the whole image.
    // The preview needs the whole image too, to tell what will change.
    const BackupPolicy policy = backups().policy();
    const bool preview = !previewOnly && policy.previewWrite && observer_.confirmWrite;
    const bool whole = policy.beforeWrite || preview || previewOnly;
    const std::vector<AddressRange> reads =
        whole ? std::vector<AddressRange>{kWholeImage} : IdentificationRanges(product());
    // The write, the identity read before its first frame and its radio IDs, its marker and the
    // verification's read, after whatever is read first (between two reads of the identity).
    const int writeChunks = Chunks(writes) + IdentityChecks(writes) + Chunks({kWholeImage});
    const int readChunks = Chunks(reads) + IdentityChunks();
    planProgress(previewOnly ? readChunks : readChunks + writeChunks);
    ConfigImage identity{};
    const DeviceRead read = ReadDevice(comparison_, reads, identity);
    if (read == DeviceRead::Cancelled) {
        setStatus(QCoreApplication::translate("Editor", "Schreiben abgebrochen"));
        return CommandResult(CommandResult::Cancelled).setDetail(WriteConsequence());
    }
    if (read == DeviceRead::Failed) {
        // Reported rather than ending silently: the technician must know that nothing was written.
        report(MessageKind::Error, Msg::ReadFailed, {}, WriteConsequence());
        return CommandResult::Failed;
    }
    // An image of two devices is neither kept nor written from.
    if (read == DeviceRead::Swapped)
        return SwappedDuringRead(comparison_, identity);
    if (policy.beforeWrite && !previewOnly)
        BackupDeviceImage(comparison_);
    if (const std::optional<CommandResult> refused = RefusedBeforeWrite())
        return *refused;

    // What the extended repeaters keep of their own goes out as the device has it. The editor takes
    // the plan's image once the write begins: a preview that was not confirmed leaves it as it was.
    const WritePlan plan = PlanWrite(product(), working_, comparison_);
    if (whole) // the device's own bytes are known everywhere: the preview shows what will change
        changeImages_.emplace(comparison_, plan.planned);
    if (previewOnly) {
        setStatus(QString());
        return CommandResult::Done;
    }
    if (preview) {
        if (const std::optional<CommandResult> stopped = ConfirmWrite(writeChunks))
            return *stopped;
    }
    working_ = plan.image;
    const ConfigImage before = comparison_; // what the device held, when it was read whole
    const bool written = SendPlan(plan, &before);
    if (swappedIn_) {
        const QString text = SwapConsequence(*swappedIn_, before);
        report(MessageKind::Error, Msg::WriteFailed, {}, text);
        return CommandResult(CommandResult::Failed).setDetail(text);
    }
    if (kbx_.cancelled())
        return WriteCancelled(plan, before, whole);
    if (!written) {
        report(MessageKind::Error, Msg::WriteFailed, {}, WriteConsequence());
        return CommandResult::Failed;
    }
    return VerifyWrite(plan);
}

// The device read before a write: one this editor cannot write into is refused, after saying why; what
// its firmware does not support is said, and the write goes on.
std::optional<CommandResult> TfrmEnterData::RefusedBeforeWrite() {
    const int deviceProduct = comparison_[kProductCodeAddress];
    const int deviceVersion = comparison_[kVersionCodeAddress];
    const Firmware firmware = Firmware::Of(comparison_);
    bool refused = true;
    switch (IdentifyImage(deviceVersion, deviceProduct)) {
    case irSupported:
        refused = false;
        break;
    case irUnsupportedVersion:
        show(MessageKind::Error, Msg::DeviceVersionUnsupported);
        break;
    case irUnknownVersion:
        show(MessageKind::Error, Msg::DeviceUnknownVersion,
             {FormatHexByte(deviceVersion), FormatHexByte(comparison_[kMinorVersionAddress])});
        break;
    case irUnknownProduct:
        show(MessageKind::Error, Msg::DeviceUnknownProduct);
        break;
    }
    if (refused)
        setStatus(QString());

    // Firmware warnings: the write goes on after them.
    if (firmware.acknowledgeAsValue() &&
        working_[kPlusAcknowledgeAAddress] != working_[kPlusAcknowledgeBAddress]) {
        show(MessageKind::Warning, Msg::AcknowledgeNotSupported);
        setStatus(QString());
    }
    const ProductInfo* device = FindProduct(deviceProduct);
    if (device && device->positions && !firmware.positionAlarms() &&
        std::any_of(working_.begin() + kPositionCodeBytes.first,
                    working_.begin() + kPositionCodeBytes.last + 1, [](std::uint8_t b) { return b != 0; })) {
        show(MessageKind::Warning, Msg::PositionAlarmsNeed228);
        setStatus(QString());
    }
    if (refused || RefusesDevice(deviceProduct, deviceVersion))
        return CommandResult::Refused;
    return std::nullopt;
}

// The preview: nobody holds a device's port while the technician reads it. The write goes on only once
// confirmed and only into the device the preview showed.
std::optional<CommandResult> TfrmEnterData::ConfirmWrite(int writeChunks) {
    const ConfigImage seen = comparison_;
    kbx_.Close();
    planProgress(0); // nothing moves while the technician reads
    setStatus(QCoreApplication::translate("Editor", "Vorschau der Änderungen"));
    const bool confirmed = observer_.confirmWrite(writeChanges());
    setStatus(Msg::Writing);
    planProgress(Chunks(IdentificationRanges(product())) + writeChunks);
    if (!confirmed) {
        setStatus(QCoreApplication::translate("Editor", "Schreiben abgebrochen – nichts wurde geschrieben"));
        return CommandResult(CommandResult::Cancelled).setDetail(WriteConsequence());
    }
    ConfigImage again = seen;
    bool answered = !OpenAndConnect(kbx_);
    bool same = true;
    for (const AddressRange& r : IdentificationRanges(product())) {
        answered = answered && kbx_.ReadBlock(again, r.first, r.last) == kbxOk;
        same = same && SameRange(again, seen, r.first, r.last);
    }
    if (!answered || !same) {
        // Said as what it is, with nothing left of the transfer on the screen behind it.
        planProgress(0);
        const QString why =
            !answered
                ? QCoreApplication::translate("Editor", "Das Gerät antwortet seit der Vorschau nicht mehr.")
            : !SameIdentity(again, seen)
                ? QCoreApplication::translate("Editor", "Ein anderes Gerät ist jetzt angeschlossen: %1 statt "
                                                        "%2, das die Vorschau zeigte.")
                      .arg(DeviceName(again), DeviceName(seen))
                : QCoreApplication::translate("Editor", "Das Gerät hat sich seit der Vorschau geändert.");
        const QString text = why + u' ' + WriteConsequence();
        setStatus(QCoreApplication::translate("Editor", "Schreiben abgebrochen – nichts wurde geschrieben"));
        RecordLine(QStringLiteral("refused: ") + text);
        dialogs_.message(MessageKind::Error, 0, text);
        return CommandResult(CommandResult::Refused).setDetail(text);
    }
    return std::nullopt;
}

// Abbrechen during the writes: says what went out and, where the device was read whole before, offers
// to put back what it held, into that device only.
CommandResult TfrmEnterData::WriteCancelled(const WritePlan& plan, const ConfigImage& before, bool whole) {
    const QString consequence = WriteConsequence();
    planProgress(0);
    setStatus(QCoreApplication::translate("Editor", "Schreiben abgebrochen"));
    RecordLine(QStringLiteral("cancelled: ") + consequence);
    const std::vector<AddressRange> sent = kbx_.sentWrites();
    if (sent.empty() || !whole) {
        dialogs_.message(MessageKind::Information, 0,
                         QCoreApplication::translate("Editor", "Schreiben abgebrochen.\n\n") + consequence);
        return CommandResult(CommandResult::Cancelled).setDetail(consequence).setDeviceChanged(!sent.empty());
    }
    // The device holds part of the new configuration: offer to put back what it held, which was
    // read just before.
    const Answer answer = dialogs_.question(
        MessageKind::Question, 0,
        QCoreApplication::translate("Editor", "Schreiben abgebrochen.\n\n") + consequence +
            QCoreApplication::translate(
                "Editor", "\n\nSoll das Gerät jetzt zurückbekommen, was es vor dem Schreiben hielt?"),
        QuestionButtons::YesNo);
    if (answer != Answer::Yes)
        return CommandResult(CommandResult::Cancelled).setDetail(consequence).setDeviceChanged(true);
    ConfigImage check = before;
    bool restored = !OpenAndConnect(kbx_);
    planProgress(2 * Chunks(sent) + 2);
    // Only into the device it came from: one swapped in the meantime never gets another's image.
    ConfigImage now = before;
    const bool read = restored && kbx_.ReadBlock(now, kIdentityBytes.first, kIdentityBytes.last) == kbxOk &&
                      kbx_.ReadBlock(now, kPlus2LongSerialBytes.first, kPlus2LongSerialBytes.last) == kbxOk;
    if (read && !SameIdentity(now, before) && !SameIdentity(now, plan.planned)) {
        const QString other = QCoreApplication::translate(
                                  "Editor", "Nichts wurde zurückgeschrieben: ein anderes Gerät ist jetzt "
                                            "angeschlossen, %1 statt %2. ")
                                  .arg(DeviceName(now), DeviceName(before)) +
                              consequence;
        setStatus(
            QCoreApplication::translate("Editor", "Schreiben abgebrochen, anderes Gerät angeschlossen"));
        RecordLine(QStringLiteral("restore after cancel: ") + other);
        dialogs_.message(MessageKind::Error, 0, other);
        return CommandResult(CommandResult::Cancelled).setDetail(other).setDeviceChanged(true);
    }
    restored = read;
    for (const AddressRange& r : sent)
        restored = restored && kbx_.WriteBlock(before, r.first, r.last) == kbxOk &&
                   kbx_.ReadBlock(check, r.first, r.last) == kbxOk &&
                   SameRange(before, check, r.first, r.last);
    const QString outcome =
        restored
            ? QCoreApplication::translate("Editor", "Das Gerät hält wieder, was es vor dem Schreiben hielt.")
            : QCoreApplication::translate("Editor", "Das Zurückschreiben ist fehlgeschlagen. ") + consequence;
    setStatus(restored
                  ? QCoreApplication::translate("Editor", "Schreiben abgebrochen, Gerät wiederhergestellt")
                  : QCoreApplication::translate("Editor",
                                                "Schreiben abgebrochen, Wiederherstellung fehlgeschlagen"));
    RecordLine(QStringLiteral("restore after cancel: ") + (restored ? QStringLiteral("done") : outcome));
    dialogs_.message(restored ? MessageKind::Information : MessageKind::Error, 0, outcome);
    return CommandResult(CommandResult::Cancelled).setDetail(outcome).setDeviceChanged(!restored);
}

// The read-back after a write: the same device, holding what was sent.
CommandResult TfrmEnterData::VerifyWrite(const WritePlan& plan) {
    if (!ReadForVerification() || !StillTheSameDevice(plan.planned))
        return CommandResult::Failed;
    if (const std::vector<int> unverified = Unverified(plan, comparison_); !unverified.empty()) {
        ConfigImage differing = working_;
        for (const int a : unverified)
            differing[static_cast<size_t>(a)] = comparison_[static_cast<size_t>(a)];
        QStringList fields;
        for (const DifferenceRow& row : DifferencesBetween(working_, differing))
            fields << QCoreApplication::translate("Editor", "%1 / %2: %3 statt %4")
                          .arg(row.page, row.caption, row.other, row.mine);
        QString more =
            fields.isEmpty()
                ? QCoreApplication::translate("Editor", "Nicht angenommen wurden Bytes, die kein Feld zeigt.")
                : QCoreApplication::translate("Editor", "Nicht angenommen wurden:\n") + fields.join(u'\n');
        report(MessageKind::Error, Msg::VerifyFailed, {}, more);
        return CommandResult::Failed;
    }
    TakeVerifiedImage();
    RecordEvent(QStringLiteral("write"));
    return Programmed();
}

void TfrmEnterData::TakeVerifiedImage() {
    // What the device kept of its own (its identity, fixed radio IDs, long serial, product data) is
    // what the page, the title, a report and a later save must name, not what the file held.
    keptOwn_ = !SameIdentity(working_, comparison_) || FixedCodesOf(working_) != FixedCodesOf(comparison_);
    const QString device = DeviceName(comparison_);
    working_ = comparison_;
    if (working_[kVersionCodeAddress] != version() || working_[kMinorVersionAddress] != minor())
        SelectProductVersion(working_[kVersionCodeAddress], working_[kMinorVersionAddress], product());
    FillFields();
    if (device != deviceName_) {
        deviceName_ = device;
        UpdateCaption();
    }
}

bool TfrmEnterData::ReadForVerification() {
    setStatus(Msg::Verifying);
    processEvents();
    if (kbx_.ReadImage(comparison_) == kbxOk)
        return true;
    report(MessageKind::Error, Msg::VerifyFailed, {},
           QCoreApplication::translate("Editor", "Das Gerät konnte zur Überprüfung nicht gelesen werden. ") +
               WriteConsequence());
    return false;
}

CommandResult TfrmEnterData::Programmed() {
    planProgress(0); // the transfer is over: nothing of it stays behind the final box
    show(MessageKind::Information, Msg::ProgrammingDone);
    setStatus(Msg::WriteVerified);
    if (keptOwn_)
        setStatus(statusText() + QCoreApplication::translate(
                                     "Editor", " – das Gerät behält seine Seriennummer und Funk-IDs"));
    keptOwn_ = false;
    MarkClean();
    return CommandResult::Done;
}

bool TfrmEnterData::StillTheSameDevice(const ConfigImage& expected) {
    if (SameIdentity(expected, comparison_))
        return true;
    report(MessageKind::Error, Msg::VerifyFailed, {}, SwapConsequence(comparison_, expected));
    return false;
}

} // namespace zal
