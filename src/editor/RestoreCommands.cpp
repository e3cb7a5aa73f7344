// The editor's commands that put a kept image back into a device, and keep a device's image as a file.

#include "DeviceCommandSupport.h"

#include "config/ImageFile.h"
#include "config/ImageLayout.h"
#include "config/Products.h"
#include "config/WritePlan.h"
#include "radio/DeviceIdentity.h"
#include "shell/FileSystem.h"
#include "shell/StringTable.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace zal {

using namespace device_commands;

// --- Restore a kept image -------------------------------------------------------------------------------

CommandResult TfrmEnterData::RestoreImage(const ConfigImage& kept, RestoreInto into) {
    return RunDeviceCommand(QStringLiteral("restore"),
                            [this, &kept, into] { return RestoreSteps(kept, into); });
}

CommandResult TfrmEnterData::RestoreSteps(const ConfigImage& kept, RestoreInto into) {
    CommandFrame frame(*this, kbx_);
    changeImages_.reset();
    writeChanges_.reset();
    if (const std::optional<Msg> failure = OpenAndConnect(kbx_)) {
        report(MessageKind::Error, *failure);
        return CommandResult::Failed;
    }
    setStatus(Msg::Writing);
    processEvents();
    // What a write covers, the fixed radio IDs a write keeps, and a MUVE+ II's written marker: the
    // backup's own bytes in every one of them.
    const std::vector<AddressRange> writes = PlanRestore(product(), kept, kept, true, false).writes;
    planProgress(2 * Chunks({kWholeImage}) + Chunks(writes) + IdentityChunks() + IdentityChecks(writes));
    ConfigImage identity{};
    switch (ReadDevice(comparison_, {kWholeImage}, identity)) {
    case DeviceRead::Read:
        break;
    case DeviceRead::Swapped:
        return SwappedDuringRead(comparison_, identity);
    case DeviceRead::Cancelled:
        setStatus(QCoreApplication::translate("Editor", "Schreiben abgebrochen"));
        return CommandResult(CommandResult::Cancelled).setDetail(WriteConsequence());
    case DeviceRead::Failed:
        report(MessageKind::Error, Msg::ReadFailed, {}, WriteConsequence());
        return CommandResult::Failed;
    }
    const int deviceProduct = comparison_[kProductCodeAddress];
    const int deviceVersion = comparison_[kVersionCodeAddress];
    if (IdentifyImage(deviceVersion, deviceProduct) != irSupported) {
        show(MessageKind::Error, Msg::DeviceVersionUnsupported);
        return CommandResult::Refused;
    }
    // The backup is opened in the editor first, which takes its product and version.
    if (kept[kProductCodeAddress] != product()) {
        report(MessageKind::Information, Msg::DeviceIsAnotherProduct);
        return CommandResult::Refused;
    }
    if (RefusesDevice(deviceProduct, deviceVersion))
        return CommandResult::Refused;

    // Another device of the same product: its fixed radio IDs never become another's unasked.
    const DeviceIdentity keptId = IdentifyDevice(kept);
    const DeviceIdentity deviceId = IdentifyDevice(comparison_);
    const bool another = !SameSerial(keptId.serial, deviceId.serial);
    // In the long protocol a MUVE+ II's long serial is its radio ID, and another device keeps its own:
    // a replacement then cannot spare the receivers their learning.
    const bool longRadioId =
        HasLongSerial(product()) && kept[kPlus2TransmissionProtocolAddress] == kPlus2LongProtocol;
    const QString relearn =
        QCoreApplication::translate("Editor", "Im langen Protokoll ist die lange Seriennummer die Funk-ID; "
                                              "%1 behält seine eigene, die Empfänger müssen sie neu lernen.")
            .arg(DeviceName(comparison_));
    if (another && into == RestoreInto::Ask) {
        const QString names =
            QCoreApplication::translate("Editor", "Die Sicherung ist von %1 %2, angeschlossen ist %1 %3.")
                .arg(keptId.productName, keptId.serial, deviceId.serial);
        setStatus(QString());
        const int chosen = dialogs_.choose(
            MessageKind::Question,
            names +
                QCoreApplication::translate(
                    "Editor",
                    "\n\nNur die Konfiguration: das angeschlossene Gerät behält seine eigenen Funk ID-Codes "
                    "und seine Seriennummer.\nErsetzen: es übernimmt auch die Funk ID-Codes von %1 %2 "
                    "(ein defektes Gerät wird ersetzt, die Empfänger müssen nicht neu lernen); die "
                    "Aufzeichnungen vermerken %1 %2 als ersetzt.\n\nSolange beide Geräte dieselben Funk "
                    "ID-Codes haben, können sie gegenseitig Alarme auslösen.")
                    .arg(keptId.productName, keptId.serial) +
                (longRadioId ? QStringLiteral("\n\n") + relearn : QString()),
            {QCoreApplication::translate("Editor", "&Nur Konfiguration"),
             QCoreApplication::translate("Editor", "&Ersetzen")});
        if (chosen < 0) {
            const QString refused =
                names + QCoreApplication::translate(
                            "Editor", " Nichts wurde geschrieben: die Sicherung eines anderen "
                                      "Geräts geht nur als Konfiguration oder als Ersatz hinein.");
            setStatus(refused);
            RecordLine(QStringLiteral("refused: ") + refused);
            dialogs_.message(MessageKind::Information, 0, refused);
            return CommandResult(CommandResult::Refused).setDetail(refused);
        }
        into = chosen == 0 ? RestoreInto::ConfigurationOnly : RestoreInto::Replacement;
        setStatus(Msg::Writing);
    }
    const bool replacement = another && into == RestoreInto::Replacement;
    if (backups().policy().beforeWrite)
        BackupDeviceImage(comparison_);

    const WritePlan plan =
        PlanRestore(product(), kept, comparison_, into != RestoreInto::ConfigurationOnly, another);
    const ConfigImage& planned = plan.planned;
    changeImages_.emplace(comparison_, planned);

    const ConfigImage before = comparison_;
    const bool written = SendPlan(plan, &before);
    if (swappedIn_) {
        const QString text = SwapConsequence(*swappedIn_, before);
        report(MessageKind::Error, Msg::WriteFailed, {}, text);
        return CommandResult(CommandResult::Failed).setDetail(text);
    }
    if (kbx_.cancelled() && kbx_.sentWrites().empty()) {
        setStatus(QCoreApplication::translate("Editor", "Schreiben abgebrochen – nichts wurde geschrieben"));
        return CommandResult(CommandResult::Cancelled).setDetail(WriteConsequence());
    }
    if (!written || kbx_.cancelled()) {
        report(MessageKind::Error, Msg::WriteFailed, {}, WriteConsequence());
        return kbx_.cancelled() ? CommandResult::Cancelled : CommandResult::Failed;
    }
    if (!ReadForVerification() || !StillTheSameDevice(planned))
        return CommandResult::Failed;
    QStringList differing;
    for (const int a : Unverified(plan, comparison_))
        differing << QCoreApplication::translate("Editor", "0x%1: %2 statt %3")
                         .arg(a, 2, 16, QChar(u'0'))
                         .arg(FormatHexByte(comparison_[static_cast<size_t>(a)]),
                              FormatHexByte(planned[static_cast<size_t>(a)]));
    if (!differing.isEmpty()) {
        report(MessageKind::Error, Msg::VerifyFailed, {},
               QCoreApplication::translate("Editor", "Nicht angenommen wurden die Bytes %1.")
                       .arg(differing.join(QStringLiteral(", "))) +
                   u' ' + WriteConsequence());
        return CommandResult::Failed;
    }
    if (replacement) {
        RecordLine(QStringLiteral("replaced: ") + DeviceName(kept) + QStringLiteral(" by ") +
                   DeviceName(planned));
        if (longRadioId)
            dialogs_.message(MessageKind::Warning, 0, relearn);
        BackupStore store = backups();
        if (const Result<> noted = store.RecordReplacement(keptId, IdentifyDevice(planned)); !noted)
            dialogs_.message(MessageKind::Warning, 0,
                             QCoreApplication::translate(
                                 "Editor", "%1 hat %2 ersetzt, die Aufzeichnungen konnten das aber "
                                           "nicht vermerken: %3")
                                 .arg(DeviceName(planned), DeviceName(kept), noted.error()));
    }
    // The editor shows what the device now holds.
    TakeVerifiedImage();
    RecordEvent(replacement ? QStringLiteral("replacement") : QStringLiteral("restore"));
    return Programmed();
}

// --- Save device image ----------------------------------------------------------------------------------

CommandResult TfrmEnterData::SaveDeviceImage(const ConfigImage& image, int productCode) {
    const CommandScope scope(*this);
    const int p = productCode == 0 ? product() : productCode;
    FileDialogRequest request;
    request.title = Str(10624); // caption of the save dialog
    request.filter = SaveFilter();
    request.folder = folders_.configFolder;
    request.filterIndex = saveFilterIndex_;
    if (const ProductInfo* info = FindProduct(p)) {
        request.filterIndex = info->saveFilterIndex;
        request.fileName = u'*' + QLatin1String(info->extension);
    }
    const std::optional<FileDialogResult> chosen = dialogs_.saveFile(request);
    if (!chosen)
        return scope(CommandResult::Cancelled);
    saveFilterIndex_ = chosen->filterIndex;
    QString target = chosen->path;
    if (QFileInfo(target).suffix().isEmpty()) {
        for (const ProductInfo& info : Products()) {
            if (info.saveFilterIndex == chosen->filterIndex)
                target += QLatin1String(info.extension);
        }
    }
    if (PathExists(target)) {
        if (IsReadOnlyFile(target)) {
            show(MessageKind::Information, Msg::FileReadOnly);
            return scope(CommandResult::Refused);
        }
        if (ask(MessageKind::Information, Msg::OverwriteFile, QuestionButtons::YesNo) != Answer::Yes)
            return scope(CommandResult::Cancelled);
    }
    if (!SaveImageFile(target, image)) {
        show(MessageKind::Error, Msg::CannotSaveConfiguration);
        return scope(CommandResult::Failed);
    }
    return scope(CommandResult::Done);
}

} // namespace zal
