// The editor's commands that read and write the device's configuration, with verification.

#include "DeviceCommandSupport.h"

#include "config/ImageChecksum.h"
#include "config/ImageFile.h"
#include "config/Products.h"
#include "shell/FileSystem.h"
#include "shell/StringTable.h"

#include <QFileInfo>

namespace zal {

using namespace device_commands;

void TfrmEnterData::planProgress(int planned) {
    progressDone_ = 0;
    progressPlanned_ = planned;
    if (observer_.progress)
        observer_.progress(0, planned);
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
    planProgress(Chunks({kWholeImage}));
    if (kbx_.ReadImage(comparison_) != kbxOk) {
        report(MessageKind::Error, Msg::ReadFailed);
        return CommandResult::Failed;
    }
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
    setFile(QString(), fsFromDevice);
    MarkClean();
    return CommandResult::Done;
}

// --- Write to device ------------------------------------------------------------------------------------

CommandResult TfrmEnterData::WriteToDevice() {
    return RunDeviceCommand(QStringLiteral("write"), [this] { return WriteSteps(); });
}

CommandResult TfrmEnterData::WriteSteps() {
    CommandFrame frame(*this, kbx_);
    if (std::optional<ConversionError> error = CollectFields()) {
        ReportConversionError(*error);
        return CommandResult::Failed;
    }
    if (const std::optional<Msg> failure = OpenAndConnect(kbx_)) {
        report(MessageKind::Error, *failure);
        return CommandResult::Failed;
    }
    setStatus(Msg::Writing);
    processEvents();

    const std::vector<AddressRange> writes = WriteRanges(product());
    const int marker = WrittenMarkerAddress(product());
    // With backups on, the whole image is read first and kept, so that what the write replaces can
    // always be put back; without, only the identification is read: 51 bytes, not the whole image.
    const bool backup = backups().policy().beforeWrite;
    const std::vector<AddressRange> before =
        backup ? std::vector<AddressRange>{kWholeImage} : IdentificationRanges();
    planProgress(Chunks(before) + Chunks(writes) + (marker >= 0 ? 1 : 0) + Chunks({kWholeImage}));
    bool identified = true;
    for (const AddressRange& r : before)
        identified = kbx_.ReadBlock(comparison_, r.first, r.last) == kbxOk && identified;
    if (backup && identified)
        BackupDeviceImage(comparison_);
    if (!identified) {
        // Reported rather than ending silently: the technician must know that nothing was written.
        report(MessageKind::Error, Msg::ReadFailed);
        return CommandResult::Failed;
    }
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
    if (refused)
        return CommandResult::Refused;

    if (deviceProduct != product()) {
        const QString name = productName(deviceProduct);
        report(MessageKind::Information,
               name.isEmpty() ? Msg::DeviceNotRecognised : Msg::DeviceIsAnotherProduct);
        return CommandResult::Refused;
    }
    if (!selection_.IsCompatibleVersion(deviceVersion)) {
        report(MessageKind::Information, Msg::DeviceIncompatible);
        return CommandResult::Refused;
    }

    // The extended repeaters keep their own identity, fixed codes and product data, and their image
    // checksum must cover what they will hold.
    for (const AddressRange& r : KeptByDevice(product()))
        std::copy(comparison_.begin() + r.first, comparison_.begin() + r.last + 1,
                  working_.begin() + r.first);
    if (IsPlusProduct(product()))
        StoreImageChecksum(working_);
    bool written = true;
    deviceWritten_ = true;
    for (const AddressRange& r : writes)
        written = kbx_.WriteBlock(working_, r.first, r.last) == kbxOk && written;
    if (marker >= 0) {
        working_[marker] = 1;
        written = kbx_.WriteBlock(working_, marker, marker) == kbxOk && written;
    }
    if (!written) {
        report(MessageKind::Error, Msg::WriteFailed);
        return CommandResult::Failed;
    }
    setStatus(Msg::Verifying);
    processEvents();
    if (kbx_.ReadImage(comparison_) != kbxOk) {
        report(MessageKind::Error, Msg::VerifyFailed);
        return CommandResult::Failed;
    }
    for (const AddressRange& r : VerifiedRanges(product())) {
        if (!SameRange(working_, comparison_, r.first, r.last)) {
            report(MessageKind::Error, Msg::VerifyFailed);
            return CommandResult::Failed;
        }
    }
    show(MessageKind::Information, Msg::ProgrammingDone);
    setStatus(Msg::WriteVerified);
    MarkClean();
    return CommandResult::Done;
}

// --- Save device image ----------------------------------------------------------------------------------

CommandResult TfrmEnterData::SaveDeviceImage(const ConfigImage& image, int productCode) {
    const CommandScope scope(*this);
    const int p = productCode == 0 ? product() : productCode;
    FileDialogRequest request;
    request.title = Str(10624); // caption of the save dialog
    request.filter = QStringLiteral(
        "BORA (*.bora)|*.bora|ZAL (*.zal)|*.zal|MUVE (*.muve)|*.muve|MUVE+ (*.muveplus)|*.muveplus|"
        "MUVE+ II (*muveplus2)|*.muveplus2|DORF (*.dorf)|*.dorf");
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
    if (QFileInfo::exists(target)) {
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
