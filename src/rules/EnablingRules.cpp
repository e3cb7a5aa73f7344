// Which fields a product and version use, and which the user may change. Each row gives the state of a
// family of fields for every column by name (MUVE+, MUVE+ II, the four older products' V2.x layouts,
// then their V1.x layouts); a product that behaves as another takes that product's columns.
// on = enabled, in use; ro = disabled, in use (shown and written back unchanged); off = disabled, not in
// use; en / dis = enabled / disabled with the mark kept; keep = not changed (the state every product's
// rules start from: BORA V22's on a new window); on22 = on for V22, off otherwise; on22dis = on for V22,
// dis otherwise.

#include "EditorRules.h"
#include "config/Products.h"
#include "form/FieldNames.h"
#include "form/FormModel.h"
#include "shell/Required.h"

namespace zal {
namespace {

enum class State { on, ro, off, en, dis, keep, on22, on22dis };
using enum State;

// A row's state for each column, by name: a row that leaves a column out does not compile.
struct States {
    Required<State> muvePlus, muvePlus2, bora2, zal2, muve2, dorf2, bora1, zal1, muve1, dorf1;

    State of(Variant v) const {
        switch (v) {
        case Variant::MuvePlus:
            return muvePlus;
        case Variant::MuvePlus2:
            return muvePlus2;
        case Variant::Bora2:
            return bora2;
        case Variant::Zal2:
            return zal2;
        case Variant::Muve2:
            return muve2;
        case Variant::Dorf2:
            return dorf2;
        case Variant::Bora1:
            return bora1;
        case Variant::Zal1:
            return zal1;
        case Variant::Muve1:
            return muve1;
        case Variant::Dorf1:
            return dorf1;
        case Variant::None:
            break;
        }
        return keep;
    }
};

struct EnablingRow {
    const char* fields;
    States states;
};

// A row to three lines, the older products' V1.x layouts on the last.
// clang-format off
const EnablingRow kRows[] = {
    // Radio inputs.
    {"edtRxCodePos{1-8}",
     {.muvePlus = en, .muvePlus2 = en, .bora2 = off, .zal2 = on, .muve2 = on, .dorf2 = on,
      .bora1 = off, .zal1 = on, .muve1 = on, .dorf1 = on}},
    {"btnReceiveRadioCode{1-8}",
     {.muvePlus = en, .muvePlus2 = en, .bora2 = dis, .zal2 = en, .muve2 = en, .dorf2 = en,
      .bora1 = dis, .zal1 = en, .muve1 = en, .dorf1 = en}},
    {"edtRxCodePosF",
     {.muvePlus = dis, .muvePlus2 = dis, .bora2 = ro, .zal2 = ro, .muve2 = ro, .dorf2 = ro,
      .bora1 = ro, .zal1 = ro, .muve1 = ro, .dorf1 = ro}},
    {"cbbxRxCodePosA",
     {.muvePlus = dis, .muvePlus2 = dis, .bora2 = ro, .zal2 = on, .muve2 = on, .dorf2 = on,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbbxActionRelayPos{1-8}",
     {.muvePlus = dis, .muvePlus2 = dis, .bora2 = ro, .zal2 = on, .muve2 = on, .dorf2 = on,
      .bora1 = off, .zal1 = on, .muve1 = off, .dorf1 = on}},
    {"cbbxActionRelayPos{F,A}",
     {.muvePlus = dis, .muvePlus2 = dis, .bora2 = ro, .zal2 = on, .muve2 = on, .dorf2 = on,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbbxActionTxPos{1-5}",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = ro, .zal2 = on, .muve2 = on, .dorf2 = ro,
      .bora1 = off, .zal1 = on, .muve1 = off, .dorf1 = off}},
    {"cbbxActionTxPos{6-8,A}",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = ro, .zal2 = on, .muve2 = on, .dorf2 = ro,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbbxActionTxPosF",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = ro, .zal2 = on, .muve2 = on, .dorf2 = ro,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"edtActionCodePos{1-8,F,A}",
     {.muvePlus = dis, .muvePlus2 = dis, .bora2 = dis, .zal2 = dis, .muve2 = dis, .dorf2 = dis,
      .bora1 = dis, .zal1 = dis, .muve1 = dis, .dorf1 = dis}},
    {"cbbxActionAlarmTypePos{1-8}",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = on, .muve2 = on, .dorf2 = off,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbbxActionAlarmTypePosF",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = off, .zal2 = on, .muve2 = on, .dorf2 = off,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbbxActionAlarmTypePosA",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = on, .muve2 = on, .dorf2 = off,
      .bora1 = off, .zal1 = off, .muve1 = on, .dorf1 = off}},
    {"edtActionTransmissionDelayPos{1-8,A}",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = off, .muve2 = off, .dorf2 = off,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},

    // Wired inputs.
    {"cbbxWiredInputType{1-5}",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = on, .zal2 = on, .muve2 = off, .dorf2 = off,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbbxWiredRelay{1-5}",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = ro, .zal2 = on, .muve2 = off, .dorf2 = off,
      .bora1 = off, .zal1 = on, .muve1 = off, .dorf1 = off}},
    {"cbbxWiredTx{1-5}",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = on, .zal2 = on, .muve2 = off, .dorf2 = off,
      .bora1 = ro, .zal1 = on, .muve1 = off, .dorf1 = off}},
    {"edtWiredCode{1-5}",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = dis, .zal2 = dis, .muve2 = dis, .dorf2 = dis,
      .bora1 = dis, .zal1 = dis, .muve1 = dis, .dorf1 = dis}},
    {"cbbxWiredAlarmType{1-5}",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = on, .zal2 = on, .muve2 = off, .dorf2 = off,
      .bora1 = on, .zal1 = on, .muve1 = off, .dorf1 = off}},
    {"edtWiredAutoResetTimer{1-5}",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = on, .zal2 = on, .muve2 = off, .dorf2 = off,
      .bora1 = keep, .zal1 = keep, .muve1 = keep, .dorf1 = keep}},
    {"edtWiredThreshold{4-5}",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = on, .zal2 = on, .muve2 = off, .dorf2 = off,
      .bora1 = on, .zal1 = on, .muve1 = off, .dorf1 = off}},
    {"cbbxSendAlarmWhen",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = on, .zal2 = on, .muve2 = off, .dorf2 = off,
      .bora1 = on, .zal1 = on, .muve1 = off, .dorf1 = off}},

    // Power supply and supervision.
    {"cbbxPowerMode",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = on, .zal2 = on, .muve2 = ro, .dorf2 = ro,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbbxBatteryAlarm",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = on, .zal2 = on, .muve2 = on, .dorf2 = ro,
      .bora1 = on, .zal1 = on, .muve1 = on, .dorf1 = ro}},
    {"cbbxMainsFailure cbbxMainsOK",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = on, .zal2 = on, .muve2 = on, .dorf2 = ro,
      .bora1 = on, .zal1 = on, .muve1 = on, .dorf1 = ro}},
    {"edtBatteryAlarmInterval cbbxBatteryAlarmIntervalUnits",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = off, .muve2 = off, .dorf2 = off,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"edtLowBatteryThreshold",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = dis, .zal2 = dis, .muve2 = dis, .dorf2 = dis,
      .bora1 = dis, .zal1 = dis, .muve1 = dis, .dorf1 = dis}},
    {"edtTestAlarmInterval",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = on, .zal2 = on, .muve2 = on, .dorf2 = off,
      .bora1 = on, .zal1 = on, .muve1 = on, .dorf1 = off}},
    {"cbbxTestAlarmIntervalUnits",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = off, .muve2 = off, .dorf2 = off,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"edtBatteryChargeDuration",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = on, .muve2 = on, .dorf2 = on,
      .bora1 = off, .zal1 = on, .muve1 = on, .dorf1 = on}},
    {"edtOutPassageDelay edtInPassageDelay",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = on, .zal2 = on, .muve2 = off, .dorf2 = off,
      .bora1 = on, .zal1 = on, .muve1 = off, .dorf1 = off}},
    {"edtPulseActivationTime",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = off, .zal2 = on, .muve2 = on, .dorf2 = on,
      .bora1 = off, .zal1 = on, .muve1 = off, .dorf1 = on}},

    // Radio settings and product information.
    {"edtNoShortTransm edtNoLongTransm",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = on, .zal2 = on, .muve2 = on, .dorf2 = off,
      .bora1 = on, .zal1 = on, .muve1 = on, .dorf1 = off}},
    {"edtDelay",
     {.muvePlus = off, .muvePlus2 = off, .bora2 = off, .zal2 = on, .muve2 = on, .dorf2 = off,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbDelayUseJumpers",
     {.muvePlus = dis, .muvePlus2 = dis, .bora2 = dis, .zal2 = dis, .muve2 = en, .dorf2 = dis,
      .bora1 = dis, .zal1 = dis, .muve1 = dis, .dorf1 = dis}},
    {"edtMaxNoOfHops",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = on, .muve2 = on, .dorf2 = off,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbMaxNoOfHopsUseJumpers",
     {.muvePlus = dis, .muvePlus2 = dis, .bora2 = dis, .zal2 = dis, .muve2 = en, .dorf2 = dis,
      .bora1 = dis, .zal1 = dis, .muve1 = dis, .dorf1 = dis}},
    {"edtSameCodeInhibitTime",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = on, .muve2 = on, .dorf2 = on,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"edtDementiaBlockTime",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = on22, .muve2 = on22, .dorf2 = on22,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbbxAcknowledge",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = on, .muve2 = on, .dorf2 = on,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbbxFrequencyBandTransmit",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = off, .muve2 = off, .dorf2 = off,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbbxFrequencyBandReceive",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = on22, .muve2 = on22, .dorf2 = on22,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"edtCarrierSenseThresholdValue",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = dis, .zal2 = dis, .muve2 = dis, .dorf2 = dis,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbListenBeforeTransmit",
     {.muvePlus = on, .muvePlus2 = on, .bora2 = off, .zal2 = off, .muve2 = off, .dorf2 = off,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"edtEquipmentType",
     {.muvePlus = dis, .muvePlus2 = dis, .bora2 = on22dis, .zal2 = on22dis, .muve2 = on22dis, .dorf2 = on22dis,
      .bora1 = off, .zal1 = off, .muve1 = off, .dorf1 = off}},
    {"cbbxReceptionProtocol cbbxTransmissionProtocol",
     {.muvePlus = dis, .muvePlus2 = ro, .bora2 = dis, .zal2 = dis, .muve2 = dis, .dorf2 = dis,
      .bora1 = dis, .zal1 = dis, .muve1 = dis, .dorf1 = dis}},
    {"cbbxProductName edtRadioCalibration edtSerialNumber",
     {.muvePlus = keep, .muvePlus2 = keep, .bora2 = dis, .zal2 = dis, .muve2 = dis, .dorf2 = dis,
      .bora1 = dis, .zal1 = dis, .muve1 = dis, .dorf1 = dis}},
    {"edtDeviceRadioId",
     {.muvePlus = dis, .muvePlus2 = dis, .bora2 = dis, .zal2 = dis, .muve2 = dis, .dorf2 = dis,
      .bora1 = dis, .zal1 = dis, .muve1 = dis, .dorf1 = dis}},
};
// clang-format on

// Maximum text lengths; a field outside every row's scope keeps its length.
struct LengthRow {
    const char* fields;
    Scope scope;
    int length;
};

const LengthRow kLengths[] = {
    {"edtSameCodeInhibitTime", kScopePlus | kScopeV2x.onlyV2x({kVersionV21, kVersionV22}), 4},
    {"edtSameCodeInhibitTime", kScopeV2x.onlyV2x({kVersionV20}) | kScopeV1x, 3},
    {"edtDementiaBlockTime", kScopePlus, 4},
    {"edtCarrierSenseThresholdValue", Variant::MuvePlus | kScopeV2x, 2},
    {"edtCarrierSenseThresholdValue", Variant::MuvePlus2, 4},
    {"edtPulseActivationTime edtDelay", kScopeV2x, 6},
    {"edtPulseActivationTime edtDelay", kScopeV1x, 4},
};

void Apply(FormModel& form, const char* fields, State state, int version) {
    if (state == on22)
        state = version == kVersionV22 ? on : off;
    else if (state == on22dis)
        state = version == kVersionV22 ? on : dis;
    for (const QString& name : ExpandFieldNames(fields)) {
        Field& f = form.field(name);
        switch (state) {
        case on:
        case ro:
        case off:
            form.setEnabled(f, state == on);
            form.setMark(f, state == off ? 2 : 1);
            break;
        case en:
        case dis:
            form.setEnabled(f, state == en);
            break;
        default:
            break;
        }
    }
}

void ApplyLengths(FormModel& form, Variant variant, int version) {
    for (const LengthRow& row : kLengths) {
        if (row.scope.contains(variant, version))
            for (const QString& name : ExpandFieldNames(row.fields))
                form.setMaxLength(form.field(name), row.length);
    }
}

} // namespace

void ApplyEnablingRules(FormModel& form, int product, int version) {
    const Variant variant = VariantOf(product, version);
    if (variant != Variant::None) {
        for (const EnablingRow& row : kRows)
            Apply(form, row.fields, row.states.of(variant), version);
        ApplyLengths(form, variant, version);
    }
    // The K-ORBA positions come last, for every product and version.
    const bool positions = HasPositions(product, version);
    Apply(form, "edtPosCode{1-8} cbbxPosType{1-8} cbbxPosRelay{1-8} edtInhibitRelayAfterPersonnell",
          positions ? on : off, version);
    // A signed carrier sense threshold is usable only with listen-before-transmit.
    if (ProductRow(product).signedCarrierSense)
        form.setEnabled(form["edtCarrierSenseThresholdValue"], form["cbListenBeforeTransmit"].checked);
}

} // namespace zal
