// The editor's commands that read the device and check what it is before any transfer.

#include "DeviceCommandSupport.h"

#include "config/ImageChecksum.h"
#include "config/ImageLayout.h"
#include "config/Products.h"
#include "radio/DeviceIdentity.h"

#include <QCoreApplication>
#include <QFileInfo>

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
    planProgress(Chunks({kWholeImage}));
    if (const int read = kbx_.ReadImage(comparison_); read == kbxCancelled) {
        setStatus(QCoreApplication::translate("Editor", "Lesen abgebrochen – der Editor ist unverändert"));
        return CommandResult::Cancelled;
    } else if (read != kbxOk) {
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

} // namespace zal
