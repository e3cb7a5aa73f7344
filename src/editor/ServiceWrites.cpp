// The service writes: a default image or the version byte into a device being repaired.

#include "DeviceCommandSupport.h"

#include "config/ImageFile.h"
#include "config/Products.h"
#include "config/WritePlan.h"
#include "radio/DeviceIdentity.h"
#include "shell/StringTable.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace zal {

using namespace device_commands;

CommandResult TfrmEnterData::WriteDefault(const QString& modelWord) {
    const CommandScope scope(*this);
    // A default image replaces everything the device holds: the question names the device Yes would
    // change, so it is read first, and Enter answers No.
    ConfigImage connected{};
    {
        CommandFrame frame(*this, kbx_);
        if (const std::optional<Msg> failure = OpenAndConnect(kbx_)) {
            report(MessageKind::Error, *failure);
            return scope(CommandResult::Failed);
        }
        for (const AddressRange& r : IdentificationRanges()) {
            if (kbx_.ReadBlock(connected, r.first, r.last) != kbxOk) {
                report(MessageKind::Error, Msg::ReadFailed);
                return scope(CommandResult::Failed);
            }
        }
    }
    // A device that cannot take the default image is refused before the question, not after a Yes.
    if (DefaultImageFor(connected, modelWord).isEmpty())
        return scope(CommandResult::Refused);
    const DeviceIdentity device = IdentifyDevice(connected);
    const QString text =
        MessageText(Msg::WriteDefaultQuestion, {modelWord}) +
        QCoreApplication::translate("Editor", "\n\nAngeschlossen ist: %1 %2, Seriennummer %3.")
            .arg(device.productName, device.version, device.shownSerial);
    const Answer answer = AskQuestion(dialogs_, MessageKind::Information, Msg::WriteDefaultQuestion,
                                      QuestionButtons::YesNoDefaultNo, text);
    RecordLine(QStringLiteral("question %1: %2 -> %3")
                   .arg(MessageId(Msg::WriteDefaultQuestion))
                   .arg(text, answer == Answer::Yes ? QStringLiteral("yes") : QStringLiteral("no")));
    if (answer != Answer::Yes)
        return scope(CommandResult::Cancelled);
    return RunDeviceCommand(QStringLiteral("write-default"),
                            [&] { return WriteDefaultSteps(modelWord, connected); });
}

QString TfrmEnterData::DefaultImageFor(const ConfigImage& device, const QString& modelWord,
                                       QString* versionText) {
    if (!IsClassicProduct(device[kProductCodeAddress])) {
        report(MessageKind::Error, Msg::DeviceNotClassic);
        return QString();
    }
    // The device's layout version chooses the file: V1.x firmware (either V1.x version byte) takes the
    // V1X image.
    const LayoutVersion* layout = FindClassicVersion(device[kVersionCodeAddress]);
    if (!layout || !HasLayout(device[kProductCodeAddress], layout->code)) {
        show(MessageKind::Error, Msg::DeviceUnknownVersion,
             {FormatHexByte(device[kVersionCodeAddress]), FormatHexByte(device[kMinorVersionAddress])});
        setStatus(Msg::WriteFailed);
        return QString();
    }
    const QString file =
        folders_.dataFolder + DefaultImageFileName(modelWord, QLatin1String(layout->defaultSuffix));
    if (!QFileInfo::exists(file)) {
        report(MessageKind::Information, Msg::DefaultFileMissing, {file});
        return QString();
    }
    if (versionText)
        *versionText = QLatin1String(layout->text);
    return file;
}

CommandResult TfrmEnterData::WriteDefaultSteps(const QString& modelWord, const ConfigImage& asked) {
    QString file, versionText;
    {
        CommandFrame frame(*this, kbx_);
        if (const std::optional<Msg> failure = OpenAndConnect(kbx_)) {
            report(MessageKind::Error, *failure);
            return CommandResult::Failed;
        }
        // A default image replaces the whole configuration: with backups on, the device's image is
        // read and kept first.
        const bool backup = backups().policy().beforeWrite;
        planProgress(backup ? Chunks({kWholeImage}) + 1 : 1);
        ConfigImage identity{};
        const DeviceRead read =
            backup ? ReadDevice(comparison_, {kWholeImage}, identity)
            : kbx_.ReadBlock(comparison_, kIdentityBytes.first, kIdentityBytes.last) == kbxOk
                ? DeviceRead::Read
                : DeviceRead::Failed;
        if (read == DeviceRead::Swapped)
            return SwappedDuringRead(comparison_, identity);
        if (read == DeviceRead::Cancelled) {
            setStatus(
                QCoreApplication::translate("Editor", "Schreiben abgebrochen – nichts wurde geschrieben"));
            return CommandResult::Cancelled;
        }
        if (read != DeviceRead::Read) {
            report(MessageKind::Error, Msg::ReadFailed);
            return CommandResult::Failed;
        }
        if (backup)
            BackupDeviceImage(comparison_);
        // Yes was said for the device the question named, not for one put in its place since.
        if (!SameIdentity(asked, comparison_)) {
            const auto name = [](const ConfigImage& image) {
                const DeviceIdentity id = IdentifyDevice(image);
                return id.productName + u' ' + id.serial;
            };
            const QString other = QCoreApplication::translate(
                                      "Editor", "Ein anderes Gerät ist jetzt angeschlossen: %1 statt %2. "
                                                "Nichts wurde geschrieben.")
                                      .arg(name(comparison_), name(asked));
            setStatus(other);
            RecordLine(QStringLiteral("refused: ") + other);
            dialogs_.message(MessageKind::Error, 0, other);
            return CommandResult(CommandResult::Refused).setDetail(other);
        }
        file = DefaultImageFor(comparison_, modelWord, &versionText);
        if (file.isEmpty())
            return CommandResult::Refused;
    }
    const ConfigImage device = comparison_;
    const int result = DefaultWriteProcedure(file, &device);
    if (result == dwWritten) {
        // DefaultWriteProcedure has put the default image into the working_ image.
        SelectProductVersion(working_[kVersionCodeAddress], working_[kMinorVersionAddress],
                             working_[kProductCodeAddress]);
        FillFields();
        UpdateCaption();
        RecordEvent(QStringLiteral("write-default"));
        report(MessageKind::Information, Msg::DefaultWritten, {modelWord, versionText});
    } else if (swappedIn_) {
        report(MessageKind::Error, Msg::WriteFailed, {}, SwapConsequence(*swappedIn_, device));
    } else if (kbx_.cancelled() && kbx_.sentWrites().empty()) {
        setStatus(QCoreApplication::translate("Editor", "Schreiben abgebrochen – nichts wurde geschrieben"));
        return CommandResult::Cancelled;
    } else {
        const Msg failures[] = {Msg::VerifyFailed, Msg::ReadFailed, Msg::WriteFailed, Msg::NoDeviceConnection,
                                Msg::KbxNotFound}; // results 2-6
        report(MessageKind::Error, failures[result - dwDifferent], {}, WriteConsequence());
    }
    return result == dwWritten ? CommandResult::Done : CommandResult::Failed;
}

int TfrmEnterData::DefaultWriteProcedure(const QString& fileName, const ConfigImage* device) {
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
    const WritePlan plan = PlanDefaultWrite(image);
    planProgress(Chunks(plan.writes) + (device ? IdentityChecks(plan.writes) : 0) + Chunks({kWholeImage}));
    if (!SendPlan(plan, device))
        return dwWriteFailed;
    setStatus(Msg::Verifying);
    processEvents();
    if (kbx_.ReadImage(comparison_) != kbxOk)
        return dwVerifyReadFailed;
    if (!Unverified(plan, comparison_).empty())
        return dwDifferent;
    // The device's own bytes beside the default image's: its serial number and radio IDs stay its own.
    working_ = comparison_;
    deviceName_ = DeviceName(comparison_);
    return dwWritten;
}

CommandResult TfrmEnterData::WriteVersionByte() {
    const CommandScope scope(*this);
    if (ask(MessageKind::Information, Msg::FirmwareRenewed, QuestionButtons::YesNo) != Answer::Yes)
        return scope(CommandResult::Cancelled);
    return RunDeviceCommand(QStringLiteral("write-version-byte"), [&] { return WriteVersionByteSteps(); });
}

CommandResult TfrmEnterData::WriteVersionByteSteps() {
    bool readBackZero = false;
    {
        CommandFrame frame(*this, kbx_);
        if (const std::optional<Msg> failure = OpenAndConnect(kbx_)) {
            report(MessageKind::Error, *failure);
            return CommandResult::Failed;
        }
        planProgress(2);
        // Written from a copy: the editor's image keeps its own version byte, so a later Save does not
        // turn the configuration into one of another layout.
        ConfigImage image = working_;
        image[kVersionCodeAddress] = 0;
        deviceWritten_ = true;
        if (kbx_.WriteBlock(image, kVersionCodeAddress, kVersionCodeAddress) != kbxOk) {
            report(MessageKind::Error, Msg::WriteFailed, {}, WriteConsequence());
            return CommandResult::Failed;
        }
        if (kbx_.ReadBlock(comparison_, kVersionCodeAddress, kVersionCodeAddress) != kbxOk) {
            // Reported rather than ending silently: nobody would know whether the byte was written.
            report(MessageKind::Error, Msg::ReadFailed, {}, WriteConsequence());
            return CommandResult::Failed;
        }
        readBackZero = comparison_[kVersionCodeAddress] == 0;
        if (!readBackZero)
            report(MessageKind::Error, Msg::VerifyFailed);
    }
    if (readBackZero)
        show(MessageKind::Information, Msg::VersionByteWritten);
    return readBackZero ? CommandResult::Done : CommandResult::Failed;
}

} // namespace zal
