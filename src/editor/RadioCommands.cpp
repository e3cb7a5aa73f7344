// Radio code learning and the change of the fixed radio ID codes.

#include "DeviceCommandSupport.h"

#include "config/Products.h"
#include "radio/RadioCode.h"
#include "shell/StringTable.h"

namespace zal {

using namespace device_commands;

CommandResult TfrmEnterData::LearnStart(int position) {
    const CommandScope scope(*this);
    learnPosition_ = position;
    learnLineLost_ = false;
    kbx_.Open(); // a missing KBX shows in the next command
    if (kbx_.StartRadioReceive() != kbxOk) {
        report(MessageKind::Error, Msg::KbxNotFound);
        kbx_.Close();
        LogEvent(QStringLiteral("learn position %1: failed (reception not switched on)").arg(position));
        return scope(CommandResult::Failed);
    }
    LogEvent(QStringLiteral("learn position %1: reception on").arg(position));
    setStatus(QString());
    learnActionText_ = MessageText(Msg::ActivateTransmitter) + u' ' + QString::number(position);
    return scope(CommandResult::Done);
}

TfrmEnterData::LearnState TfrmEnterData::LearnPoll() {
    QString code;
    if (kbx_.PollRadioCode(code) != kbxOk) {
        // A line that died (the KBX unplugged) never answers again: waiting out the timeout would
        // only hide it. Anything else, the next tick tries again.
        learnLineLost_ = !kbx_.lineFailure().isEmpty();
        return learnLineLost_ ? LearnState::LineLost : LearnState::Waiting;
    }
    receivedCode_ = code;
    // An old code never closes the window by itself.
    return receivedCode_ != QLatin1String("0000") ? LearnState::Received : LearnState::Waiting;
}

CommandResult TfrmEnterData::LearnFinish(bool ok) {
    const CommandScope scope(*this);
    // Abort leaves the position as it was: emptying it would lose a code learnt or typed before.
    if (ok)
        form_.setText(form_.field(QStringLiteral("edtRxCodePos%1").arg(learnPosition_)), receivedCode_);
    const bool stopped = !learnLineLost_ && kbx_.StopRadioReceive() == kbxOk;
    kbx_.Close();
    if (learnLineLost_)
        report(MessageKind::Error, Msg::NoDeviceConnection);
    LogEvent(QStringLiteral("learn position %1: %2, reception %3")
                 .arg(learnPosition_)
                 .arg(ok ? QStringLiteral("code ") + receivedCode_ : QStringLiteral("aborted"))
                 .arg(stopped ? QStringLiteral("off") : QStringLiteral("not confirmed off")));
    return scope(ok ? CommandResult::Done : CommandResult::Cancelled);
}

// --- Fixed radio ID codes -------------------------------------------------------------------------------

// The product code of the connected device, or nothing after saying why it could not be asked: a KBX
// that cannot be opened is not a device of another product.
std::optional<int> TfrmEnterData::productCodeOfDevice() {
    CommandFrame frame(*this, kbx_);
    if (const std::optional<Msg> failure = OpenAndConnect(kbx_)) {
        report(MessageKind::Error, *failure);
        return std::nullopt;
    }
    ConfigImage image{};
    if (kbx_.ReadBlock(image, kProductCodeAddress, kProductCodeAddress) != kbxOk) {
        report(MessageKind::Error, Msg::ReadFailed);
        return std::nullopt;
    }
    return image[kProductCodeAddress];
}

FixedCodeWindow TfrmEnterData::ChangeFixedCodesBegin(CommandResult* outcome) {
    const CommandScope scope(*this);
    const auto end = [&](CommandResult::Kind kind) {
        if (outcome)
            *outcome = scope(kind);
    };
    const std::optional<int> deviceProduct = productCodeOfDevice();
    if (!deviceProduct) {
        LogEvent(QStringLiteral("change-codes: no device"));
        end(CommandResult::Failed);
        return FixedCodeWindow::None;
    }
    if (*deviceProduct != product()) {
        show(MessageKind::Information, Msg::DeviceIsNotProduct, {productName(product())});
        LogEvent(QStringLiteral("change-codes: refused (device product %1)").arg(*deviceProduct));
        end(CommandResult::Refused);
        return FixedCodeWindow::None;
    }
    const bool plus = IsPlusProduct(product());
    setBusy(true);
    const bool prepared = plus ? changeFixedPlus_.Prepare() : changeFixed_.Prepare();
    setBusy(false);
    if (!prepared) {
        // With why the line failed, when it did (the KBX unplugged).
        report(MessageKind::Error, Msg::NoDeviceConnection);
        end(CommandResult::Failed);
        return FixedCodeWindow::None;
    }
    end(CommandResult::Done);
    return plus ? FixedCodeWindow::Plus : FixedCodeWindow::Classic;
}

void TfrmEnterData::ChangeFixedCodesCommit(FixedCodeWindow window) {
    const FormModel::UserAction step(form_); // the new codes are one undo step
    LogEvent(QStringLiteral("change-codes: written"));
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
        // The fixed input's field is written back by the next save: it must show the new code,
        // or the old one would overwrite it.
        Field& fixedInput = form_["edtRxCodePosF"];
        if (fixedInput.mark == 1)
            form_.setText(fixedInput,
                          CodeToText(working_[kFixedInputCodeAddress], working_[kFixedInputCodeAddress + 1]));
    }
}

} // namespace zal
