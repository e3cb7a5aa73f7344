// The editor's commands that talk to the device: read, write with verification, the service writes,
// radio code learning and the change of the fixed radio ID codes.

#include "EnterData.h"

#include "config/ImageChecksum.h"
#include "config/ImageFile.h"
#include "config/Products.h"
#include "radio/RadioCode.h"
#include "shell/FileSystem.h"
#include "shell/SettingsFile.h"
#include "shell/StringTable.h"

#include <QFileInfo>

namespace zal {
namespace {

// Open, then connect the device; the message of the failure, or nothing.
std::optional<Msg> OpenAndConnect(TKbxInterface& kbx) {
    if (kbx.Open() != kbxOk)
        return Msg::KbxNotFound;
    if (kbx.ConnectDevice() != kbxOk)
        return Msg::NoDeviceConnection;
    return std::nullopt;
}

int Chunks(const std::vector<AddressRange>& ranges) {
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

} // namespace

void TfrmEnterData::planProgress(int planned) {
    progressDone_ = 0;
    progressPlanned_ = planned;
    if (observer_.progress)
        observer_.progress(0, planned);
}

// --- Read from device -----------------------------------------------------------------------------------

CommandResult TfrmEnterData::ReadFromDevice() {
    CommandFrame frame(*this, kbx_);
    if (const std::optional<Msg> failure = OpenAndConnect(kbx_)) {
        report(MessageKind::Error, *failure);
        return CommandResult::Failed;
    }
    setStatus(Msg::Reading);
    processEvents();
    planProgress(Chunks({{0x00, 0xFF}}));
    if (kbx_.ReadImage(comparison_) != kbxOk) {
        report(MessageKind::Error, Msg::ReadFailed);
        return CommandResult::Failed;
    }
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
    planProgress(Chunks(IdentificationRanges()) + Chunks(writes) + (marker >= 0 ? 1 : 0) +
                 Chunks({{0x00, 0xFF}}));

    // Only the identification is read before a write: 51 bytes, not the whole image.
    bool identified = true;
    for (const AddressRange& r : IdentificationRanges())
        identified = kbx_.ReadBlock(comparison_, r.first, r.last) == kbxOk && identified;
    if (!identified) {
        // Reported rather than ending silently: the technician must know that nothing was written.
        report(MessageKind::Error, Msg::ReadFailed);
        return CommandResult::Failed;
    }
    const int deviceProduct = comparison_[kProductCodeAddress];
    const int deviceVersion = comparison_[kVersionCodeAddress];
    const int deviceFirmware = deviceVersion * 256 + comparison_[kMinorVersionAddress];
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
    if (deviceProduct == kMuvePlus && deviceFirmware <= 0x0102 && working_[0x83] != working_[0x88]) {
        show(MessageKind::Warning, Msg::AcknowledgeNotSupported);
        setStatus(QString());
    }
    const ProductInfo* device = FindProduct(deviceProduct);
    if (device && device->positions && deviceFirmware < 0x2208 &&
        std::any_of(working_.begin() + 0xA0, working_.begin() + 0xB0,
                    [](std::uint8_t b) { return b != 0; })) {
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

bool TfrmEnterData::SaveDeviceImage(const ConfigImage& image, int productCode) {
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
        return false;
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
            return false;
        }
        if (ask(MessageKind::Information, Msg::OverwriteFile, QuestionButtons::YesNo) != Answer::Yes)
            return false;
    }
    if (!SaveImageFile(target, image)) {
        show(MessageKind::Error, Msg::CannotSaveConfiguration);
        return false;
    }
    return true;
}

// --- Service writes -------------------------------------------------------------------------------------

int TfrmEnterData::WriteDefault(const QString& modelWord) {
    if (ask(MessageKind::Information, Msg::WriteDefaultQuestion, QuestionButtons::YesNo, {modelWord}) !=
        Answer::Yes)
        return 0;
    QString suffix, versionText;
    {
        CommandFrame frame(*this, kbx_);
        if (const std::optional<Msg> failure = OpenAndConnect(kbx_)) {
            report(MessageKind::Error, *failure);
            return 0;
        }
        planProgress(1);
        if (kbx_.ReadBlock(comparison_, 0xF8, 0xFA) != kbxOk) {
            report(MessageKind::Error, Msg::ReadFailed);
            return 0;
        }
        const int deviceProduct = comparison_[kProductCodeAddress];
        if (!IsClassicProduct(deviceProduct)) {
            report(MessageKind::Error, Msg::DeviceNotClassic);
            return 0;
        }
        // The device's layout version chooses the file: V1.x firmware (0 or 0xFF) takes the V1X image.
        if (const LayoutVersion* layout = FindClassicVersion(comparison_[kVersionCodeAddress])) {
            suffix = QLatin1String(layout->defaultSuffix);
            versionText = QLatin1String(layout->text);
        }
        if (suffix.isEmpty()) {
            show(MessageKind::Error, Msg::DeviceUnknownVersion,
                 {FormatHexByte(comparison_[kVersionCodeAddress]),
                  FormatHexByte(comparison_[kMinorVersionAddress])});
            setStatus(Msg::WriteFailed);
            return 0;
        }
    }
    const QString file = folders_.dataFolder + DefaultImageFileName(modelWord, suffix);
    if (!QFileInfo::exists(file)) {
        report(MessageKind::Information, Msg::DefaultFileMissing, {file});
        return 0;
    }
    const int result = DefaultWriteProcedure(file);
    if (result == dwWritten) {
        // DefaultWriteProcedure has put the default image into the working_ image.
        SelectProductVersion(working_[kVersionCodeAddress], working_[kMinorVersionAddress],
                             working_[kProductCodeAddress]);
        FillFields();
        report(MessageKind::Information, Msg::DefaultWritten, {modelWord, versionText});
    } else {
        const Msg failures[] = {Msg::VerifyFailed, Msg::ReadFailed, Msg::WriteFailed, Msg::NoDeviceConnection,
                                Msg::KbxNotFound}; // results 2-6
        report(MessageKind::Error, failures[result - dwDifferent]);
    }
    return result;
}

int TfrmEnterData::DefaultWriteProcedure(const QString& fileName) {
    CommandFrame frame(*this, kbx_);
    // The default image goes into a copy: only a verified write makes it the editor's, so a failed
    // one cannot mix default bytes into the technician's configuration at the next Save.
    ConfigImage image{};
    if (!LoadImageFile(fileName, image))
        return dwWriteFailed;
    setStatus(QString());
    if (kbx_.Open() != kbxOk)
        return dwNoKbx;
    if (kbx_.ConnectDevice() != kbxOk)
        return dwNoDevice;
    const std::vector<AddressRange> ranges = DefaultWriteRanges();
    planProgress(Chunks(ranges) + Chunks({{0x00, 0xFF}}));
    bool written = true;
    for (const AddressRange& r : ranges)
        written = kbx_.WriteBlock(image, r.first, r.last) == kbxOk && written;
    if (!written)
        return dwWriteFailed;
    setStatus(Msg::Verifying);
    processEvents();
    if (kbx_.ReadImage(comparison_) != kbxOk)
        return dwVerifyReadFailed;
    for (const AddressRange& r : ranges) {
        if (!SameRange(image, comparison_, r.first, r.last))
            return dwDifferent;
    }
    working_ = image;
    return dwWritten;
}

bool TfrmEnterData::WriteVersionByte() {
    if (ask(MessageKind::Information, Msg::FirmwareRenewed, QuestionButtons::YesNo) != Answer::Yes)
        return false;
    bool readBackZero = false;
    {
        CommandFrame frame(*this, kbx_);
        if (const std::optional<Msg> failure = OpenAndConnect(kbx_)) {
            report(MessageKind::Error, *failure);
            return false;
        }
        planProgress(2);
        // Written from a copy: the editor's image keeps its own version byte, so a later Save does not
        // turn the configuration into one of another layout.
        ConfigImage image = working_;
        image[kVersionCodeAddress] = 0;
        if (kbx_.WriteBlock(image, kVersionCodeAddress, kVersionCodeAddress) != kbxOk) {
            report(MessageKind::Error, Msg::WriteFailed);
            return false;
        }
        if (kbx_.ReadBlock(comparison_, kVersionCodeAddress, kVersionCodeAddress) != kbxOk) {
            // Reported rather than ending silently: nobody would know whether the byte was written.
            report(MessageKind::Error, Msg::ReadFailed);
            return false;
        }
        readBackZero = comparison_[kVersionCodeAddress] == 0;
        if (!readBackZero)
            report(MessageKind::Error, Msg::VerifyFailed);
    }
    if (readBackZero)
        show(MessageKind::Information, Msg::VersionByteWritten);
    return readBackZero;
}

// --- Radio code learning --------------------------------------------------------------------------------

bool TfrmEnterData::LearnStart(int position) {
    learnPosition_ = position;
    kbx_.Open(); // a missing KBX shows in the next command
    if (kbx_.StartRadioReceive() != kbxOk) {
        report(MessageKind::Error, Msg::KbxNotFound);
        kbx_.Close();
        return false;
    }
    setStatus(QString());
    learnActionText_ = MessageText(Msg::ActivateTransmitter) + u' ' + QString::number(position);
    return true;
}

bool TfrmEnterData::LearnPoll() {
    QString code;
    if (kbx_.PollRadioCode(code) != kbxOk)
        return false; // the next tick tries again; an old code never closes the window by itself
    receivedCode_ = code;
    return receivedCode_ != QLatin1String("0000");
}

void TfrmEnterData::LearnFinish(bool ok) {
    // Abort leaves the position as it was: emptying it would lose a code learnt or typed before.
    if (ok)
        form_.setText(form_.field(QStringLiteral("edtRxCodePos%1").arg(learnPosition_)), receivedCode_);
    kbx_.StopRadioReceive();
    kbx_.Close();
}

// --- Fixed radio ID codes -------------------------------------------------------------------------------

int TfrmEnterData::productCodeOfDevice() {
    ConfigImage image{};
    const bool ok = kbx_.Open() == kbxOk && kbx_.ConnectDevice() == kbxOk &&
                    kbx_.ReadBlock(image, kProductCodeAddress, kProductCodeAddress) == kbxOk;
    kbx_.Close();
    return ok ? image[kProductCodeAddress] : 0;
}

FixedCodeWindow TfrmEnterData::ChangeFixedCodesBegin() {
    setBusy(true);
    const int deviceProduct = productCodeOfDevice();
    setBusy(false);
    if (deviceProduct != product()) {
        show(MessageKind::Information, Msg::DeviceIsNotProduct, {productName(product())});
        return FixedCodeWindow::None;
    }
    const bool plus = IsPlusProduct(product());
    setBusy(true);
    const bool prepared = plus ? changeFixedPlus_.Prepare() : changeFixed_.Prepare();
    setBusy(false);
    if (!prepared) {
        show(MessageKind::Error, Msg::NoDeviceConnection);
        return FixedCodeWindow::None;
    }
    return plus ? FixedCodeWindow::Plus : FixedCodeWindow::Classic;
}

void TfrmEnterData::ChangeFixedCodesCommit(FixedCodeWindow window) {
    show(MessageKind::Information, Msg::FixedCodesWritten);
    if (window == FixedCodeWindow::Plus)
        changeFixedPlus_.CopyInto(working_);
    else
        changeFixed_.CopyInto(working_);
    RefreshFixedCodeFields();
}

void TfrmEnterData::RefreshFixedCodeFields() {
    MapContext context = mapContext();
    ShowActionCodes(context);
    ShowDeviceRadioId(context);
    if (!IsPlusProduct(product())) {
        ShowWiredCodes(context);
        MirrorFixedInput(context);
        // The fixed input's field is written back to 0x1A by the next save: it must show the new code,
        // or the old one would overwrite it.
        Field& fixedInput = form_["edtRxCodePosF"];
        if (fixedInput.mark == 1)
            form_.setText(fixedInput, CodeToText(working_[0x1A], working_[0x1B]));
    }
}

} // namespace zal
