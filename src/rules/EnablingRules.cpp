// Which fields a product and version use, and which the user may change. Each row gives the state of a
// family of fields for every variant, in the column order
//     MUVE+  MUVE+II  BORA2x  ZAL2x  MUVE2x  DORF2x  BORA1x  ZAL1x  MUVE1x  DORF1x
// on = enabled, in use; ro = disabled, in use (shown and written back unchanged); off = disabled, not in
// use; en / dis = enabled / disabled with the mark kept; keep = not changed (the state every product's
// rules start from: BORA V22's on a new window); on22 = on for V22, off otherwise; on22dis = on for V22,
// dis otherwise.

#include "EditorRules.h"
#include "config/Products.h"
#include "form/FieldNames.h"
#include "form/FormModel.h"

#include <array>
#include <concepts>

namespace zal {
namespace {

enum class State { on, ro, off, en, dis, keep, on22, on22dis };
using enum State;

struct EnablingRow {
    const char* fields;
    std::array<State, kVariantCount> states;
};

// A row names a state for every variant: one short, or one long after a product was added, does not
// compile (an aggregate would take the missing column as "on" without a word).
template <std::same_as<State>... States>
requires(sizeof...(States) == kVariantCount) consteval EnablingRow Row(const char* fields, States... states) {
    return {fields, {states...}};
}

const EnablingRow kRows[] = {
    // Radio inputs.
    Row("edtRxCodePos{1-8}", en, en, off, on, on, on, off, on, on, on),
    Row("btnReceiveRadioCode{1-8}", en, en, dis, en, en, en, dis, en, en, en),
    Row("edtRxCodePosF", dis, dis, ro, ro, ro, ro, ro, ro, ro, ro),
    Row("cbbxRxCodePosA", dis, dis, ro, on, on, on, off, off, off, off),
    Row("cbbxActionRelayPos{1-8}", dis, dis, ro, on, on, on, off, on, off, on),
    Row("cbbxActionRelayPos{F,A}", dis, dis, ro, on, on, on, off, off, off, off),
    Row("cbbxActionTxPos{1-5}", on, on, ro, on, on, ro, off, on, off, off),
    Row("cbbxActionTxPos{6-8,A}", on, on, ro, on, on, ro, off, off, off, off),
    Row("cbbxActionTxPosF", off, off, ro, on, on, ro, off, off, off, off),
    Row("edtActionCodePos{1-8,F,A}", dis, dis, dis, dis, dis, dis, dis, dis, dis, dis),
    Row("cbbxActionAlarmTypePos{1-8}", on, on, off, on, on, off, off, off, off, off),
    Row("cbbxActionAlarmTypePosF", off, off, off, on, on, off, off, off, off, off),
    Row("cbbxActionAlarmTypePosA", on, on, off, on, on, off, off, off, on, off),
    Row("edtActionTransmissionDelayPos{1-8,A}", on, on, off, off, off, off, off, off, off, off),

    // Wired inputs.
    Row("cbbxWiredInputType{1-5}", off, off, on, on, off, off, off, off, off, off),
    Row("cbbxWiredRelay{1-5}", off, off, ro, on, off, off, off, on, off, off),
    Row("cbbxWiredTx{1-5}", off, off, on, on, off, off, ro, on, off, off),
    Row("edtWiredCode{1-5}", off, off, dis, dis, dis, dis, dis, dis, dis, dis),
    Row("cbbxWiredAlarmType{1-5}", off, off, on, on, off, off, on, on, off, off),
    Row("edtWiredAutoResetTimer{1-5}", off, off, on, on, off, off, keep, keep, keep, keep),
    Row("edtWiredThreshold{4-5}", off, off, on, on, off, off, on, on, off, off),
    Row("cbbxSendAlarmWhen", off, off, on, on, off, off, on, on, off, off),

    // Power supply and supervision.
    Row("cbbxPowerMode", off, off, on, on, ro, ro, off, off, off, off),
    Row("cbbxBatteryAlarm", off, off, on, on, on, ro, on, on, on, ro),
    Row("cbbxMainsFailure cbbxMainsOK", on, on, on, on, on, ro, on, on, on, ro),
    Row("edtBatteryAlarmInterval cbbxBatteryAlarmIntervalUnits", on, on, off, off, off, off, off, off, off,
        off),
    Row("edtLowBatteryThreshold", on, on, dis, dis, dis, dis, dis, dis, dis, dis),
    Row("edtTestAlarmInterval", on, on, on, on, on, off, on, on, on, off),
    Row("cbbxTestAlarmIntervalUnits", on, on, off, off, off, off, off, off, off, off),
    Row("edtBatteryChargeDuration", on, on, off, on, on, on, off, on, on, on),
    Row("edtOutPassageDelay edtInPassageDelay", off, off, on, on, off, off, on, on, off, off),
    Row("edtPulseActivationTime", off, off, off, on, on, on, off, on, off, on),

    // Radio settings and product information.
    Row("edtNoShortTransm edtNoLongTransm", on, on, on, on, on, off, on, on, on, off),
    Row("edtDelay", off, off, off, on, on, off, off, off, off, off),
    Row("cbDelayUseJumpers", dis, dis, dis, dis, en, dis, dis, dis, dis, dis),
    Row("edtMaxNoOfHops", on, on, off, on, on, off, off, off, off, off),
    Row("cbMaxNoOfHopsUseJumpers", dis, dis, dis, dis, en, dis, dis, dis, dis, dis),
    Row("edtSameCodeInhibitTime", on, on, off, on, on, on, off, off, off, off),
    Row("edtDementiaBlockTime", on, on, off, on22, on22, on22, off, off, off, off),
    Row("cbbxAcknowledge", on, on, off, on, on, on, off, off, off, off),
    Row("cbbxFrequencyBandTransmit", on, on, off, off, off, off, off, off, off, off),
    Row("cbbxFrequencyBandReceive", on, on, off, on22, on22, on22, off, off, off, off),
    Row("edtCarrierSenseThresholdValue", on, on, dis, dis, dis, dis, off, off, off, off),
    Row("cbListenBeforeTransmit", on, on, off, off, off, off, off, off, off, off),
    Row("edtEquipmentType", dis, dis, on22dis, on22dis, on22dis, on22dis, off, off, off, off),
    Row("cbbxReceptionProtocol cbbxTransmissionProtocol", dis, ro, dis, dis, dis, dis, dis, dis, dis, dis),
    Row("cbbxProductName edtRadioCalibration edtSerialNumber", keep, keep, dis, dis, dis, dis, dis, dis, dis,
        dis),
    Row("edtDeviceRadioId", dis, dis, dis, dis, dis, dis, dis, dis, dis, dis),
};

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
            Apply(form, row.fields, row.states[static_cast<size_t>(variant)], version);
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
