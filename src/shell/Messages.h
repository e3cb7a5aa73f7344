#pragma once

#include "Dialogs.h"

#include <QString>
#include <QStringList>

namespace zal {

// The program's messages, status texts and questions by what they say; the value is the number of
// their text in the string table, which is also the number zalctl prints and scripts rely on.
enum class Msg : int {
    ActivateTransmitter = 10601,
    DeviceIsAnotherProduct = 10602,
    DeviceNotRecognised = 10603,
    CannotLoadConfiguration = 10604,
    CannotSaveConfiguration = 10605,
    DefaultImageMissing = 10606,
    SaveBeforeLeaving = 10607,
    ReadFailed = 10608,
    WriteFailed = 10609,
    FileReadOnly = 10610,
    OverwriteFile = 10611,
    NoDeviceConnection = 10615,
    KbxNotFound = 10617,
    ProgrammingDone = 10619,
    ReadComplete = 10620,
    Reading = 10621,
    ProductChangedToDevice = 10625,
    DeviceUnknownProductSave = 10626,
    DeviceUnknownProduct = 10627,
    FileUnknownProduct = 10628,
    DeviceUnknownVersionSave = 10629,
    DeviceUnknownVersion = 10630,
    FileUnknownVersion = 10631,
    Verifying = 10632,
    VerifyFailed = 10633,
    WriteVerified = 10635,
    Writing = 10636,
    DeviceIncompatible = 10641,
    DefaultImageFaulty = 10642,
    FileFaulty = 10643,
    DeviceImageFaulty = 10644,
    ConversionFailed = 10645,
    DeviceIsNotProduct = 10646,
    DeviceVersionUnsupported = 10647,
    FileVersionUnsupported = 10648,
    DeviceNotClassic = 10649,
    DeviceImageSaved = 10650,
    AcknowledgeNotSupported = 10651,
    PositionAlarmsNeed228 = 10652,
    OverwriteOtherProduct = 10661,
    OverwriteOtherVersion = 10662,
    FixedCodesWritten = 10663,
    DefaultFileMissing = 10664,
    FirmwareRenewed = 10665,
    VersionByteWritten = 10666,
    DefaultWritten = 10667,
    WriteDefaultQuestion = 10668,
    DeviceChecksumWrong = 10669,
    CodeHasFourDigits = 10671,
    Threshold4Range = 10672,
    Threshold5Range = 10673,
    TestIntervalRange = 10675,
    ChargeDurationRange = 10676,
    OutPassageDelayRange = 10677,
    InPassageDelayRange = 10678,
    PulseTimeRange = 10679,
    ShortTransmissionsRange = 10680,
    LongTransmissionsRange = 10681,
    DelayRange = 10682,
    HopsRange = 10683,
    InhibitTimeRange = 10684,
    InhibitTimeLongRange = 10685,
    DementiaTimeRange = 10686,
    InvalidFixedCode = 10687,
    InvalidFixedCodePlus = 10688,
    BatteryIntervalRange = 10689,
    LowBatteryRange = 10690,
    CarrierSenseRange = 10691,
    InhibitRelayRange = 10692,
    EquipmentTypeRange = 10693,
    AutoResetTimeRange = 10694,
    CarrierSensePlus2Range = 10695,
};

constexpr int MessageId(Msg message) {
    return static_cast<int>(message);
}

// The message's text, with its %s arguments filled in where it has some.
QString MessageText(Msg message, const QStringList& arguments = {});

// Shows a message with its own text, or with a text made from it (arguments, an appended name).
void ShowMessage(Dialogs& dialogs, MessageKind kind, Msg message);
void ShowMessage(Dialogs& dialogs, MessageKind kind, Msg message, const QString& text);
Answer AskQuestion(Dialogs& dialogs, MessageKind icon, Msg message, QuestionButtons buttons);
Answer AskQuestion(Dialogs& dialogs, MessageKind icon, Msg message, QuestionButtons buttons,
                   const QString& text);

} // namespace zal
