// The older products' map, page of further settings: supervision, radio transmission and radio settings.

#include "ClassicPages.h"
#include "config/Identification.h"
#include "form/FieldNames.h"
#include "radio/RadioCode.h"

#include <cmath>

namespace zal {
namespace {

const std::vector<Row> kSupervision{
    {"cbbxPowerMode", Enc::List, 0x52, 0, kScopeClassic, true, Writer::Row},
    {"cbbxBatteryAlarm", Enc::List, 0x30, 0, kScopeClassic, true, Writer::Row},
    {"edtBatteryAlarmInterval", Enc::Dash, 0, 0, kScopeClassic, false, Writer::Nobody},
    {"cbbxBatteryAlarmIntervalUnits", Enc::Fixed, 0, 0, kScopeClassic, false, Writer::Nobody, 1},
    {"edtLowBatteryThreshold", Enc::Dash, 0, 0, kScopeClassic, false, Writer::Nobody},
    {"cbbxMainsFailure", Enc::List, 0x31, 0, kScopeClassic, true, Writer::Row},
    {"cbbxMainsOK", Enc::List, 0x32, 0, kScopeClassic, true, Writer::Row},
    {"edtTestAlarmInterval", Enc::Byte, 0x33, 0, kScopeClassic, false, Writer::Row},
    {"cbbxTestAlarmIntervalUnits", Enc::Fixed, 0, 0, kScopeClassic, false, Writer::Nobody},
    {"edtBatteryChargeDuration", Enc::Byte, 0xF5, 0, kScopeClassic, false, Writer::Row},
    {"edtOutPassageDelay", Enc::ByteFF0, 0x44, 0, kScopeClassic, false, Writer::Row},
    {"edtInPassageDelay", Enc::ByteFF0, 0x45, 0, kScopeClassic, false, Writer::Row},
};

void FillPulse(MapContext& c) {
    Field& f = c.f("edtPulseActivationTime");
    if (f.mark == 2)
        c.setText(f, QStringLiteral("---"));
    else if (f.mark == 1 && c.isV1x())
        c.setText(f, c.decimal(c.image[kAlarmDelayLowAddress] * 0.1, 1));
    else if (f.mark == 1 && c.isV2x())
        c.setText(
            f, c.decimal((c.image[kAlarmDelayHighAddress] * 256 + c.image[kAlarmDelayLowAddress]) * 0.1, 1));
}

void CollectPulse(MapContext& c) {
    const Field& f = c.f("edtPulseActivationTime");
    if (f.mark != 1 || (!c.isV1x() && !c.isV2x()))
        return;
    if (f.text.isEmpty()) {
        c.image[kAlarmDelayLowAddress] = 0;
        if (c.isV2x())
            c.image[kAlarmDelayHighAddress] = 0;
        return;
    }
    const double d = c.parseDecimal(f);
    if (c.isV1x()) {
        c.image[kAlarmDelayLowAddress] =
            d > 25.5 ? 0xFF : static_cast<std::uint8_t>(static_cast<int>(std::trunc(d * 10)) & 0xFF);
    } else if (d > 6553.4) {
        c.image[kAlarmDelayHighAddress] = 0xFF;
        c.image[kAlarmDelayLowAddress] = 0xFF;
    } else {
        const int n = static_cast<int>(std::trunc(d * 10));
        c.image[kAlarmDelayHighAddress] = static_cast<std::uint8_t>((n >> 8) & 0xFF);
        c.image[kAlarmDelayLowAddress] = static_cast<std::uint8_t>(n & 0xFF);
    }
}

const std::vector<Row> kTransmissions{
    {"edtNoShortTransm", Enc::Byte, 0x50, 0, kScopeClassic, false, Writer::Row},
    {"edtNoLongTransm", Enc::Byte, 0x51, 0, kScopeClassic, false, Writer::Row},
};

// The jumper boxes' click handlers act only at presence mark 1, so the fill parks the mark at 0 while it
// sets them.
void SetJumperBox(MapContext& c, const char* name, bool checked) {
    Field& box = c.f(name);
    c.form.setMark(box, 0);
    c.form.setChecked(box, checked);
    c.form.setMark(box, 1);
}

bool HasJumpers(int product) {
    const ProductInfo* info = FindProduct(product);
    return info && info->delayJumpers;
}

void FillDelayAndHops(MapContext& c) {
    Field& delay = c.f("edtDelay");
    Field& hops = c.f("edtMaxNoOfHops");
    if (c.isV1x()) {
        SetJumperBox(c, "cbDelayUseJumpers", ProductRow(c.product).v1xJumpers);
        SetJumperBox(c, "cbMaxNoOfHopsUseJumpers", ProductRow(c.product).v1xJumpers);
        c.setText(delay, QStringLiteral("---"));
        c.setText(hops, QStringLiteral("---"));
        return;
    }
    if (!c.isV2x())
        return;
    if (!HasJumpers(c.product)) {
        SetJumperBox(c, "cbDelayUseJumpers", false);
        c.setText(delay, QStringLiteral("---"));
        SetJumperBox(c, "cbMaxNoOfHopsUseJumpers", false);
        c.setText(hops, QStringLiteral("---"));
        return;
    }
    const bool delayJumpers =
        c.image[kTransmissionDelayLowAddress] == 0xFF && c.image[kTransmissionDelayHighAddress] == 0xFF;
    SetJumperBox(c, "cbDelayUseJumpers", delayJumpers);
    if (delayJumpers) {
        c.setText(delay, QStringLiteral("---"));
        c.form.setEnabled(delay, false);
    } else {
        c.setText(delay, c.decimal((c.image[kTransmissionDelayHighAddress] * 256 +
                                    c.image[kTransmissionDelayLowAddress]) *
                                       0.1,
                                   1));
    }
    const bool hopsJumpers = c.image[kHopsAddress] == 0xFF;
    SetJumperBox(c, "cbMaxNoOfHopsUseJumpers", hopsJumpers);
    if (hopsJumpers) {
        c.setText(hops, QStringLiteral("---"));
        c.form.setEnabled(hops, false);
    } else {
        c.setText(hops, QString::number(c.image[kHopsAddress]));
    }
}

void CollectDelayAndHops(MapContext& c) {
    const Field& delay = c.f("edtDelay");
    if (delay.mark == 1 && c.isV2x()) {
        if (c.f("cbDelayUseJumpers").checked) {
            c.image[kTransmissionDelayHighAddress] = c.image[kTransmissionDelayLowAddress] = 0xFF;
        } else if (delay.text.isEmpty()) {
            c.image[kTransmissionDelayHighAddress] = c.image[kTransmissionDelayLowAddress] = 0;
        } else {
            const double d = c.parseDecimal(delay);
            // 6553.4 s is the longest delay that is not the jumper mark 0xFFFF.
            const int n = d > 6553.4 ? 0xFFFE : static_cast<int>(std::trunc(d * 10));
            c.image[kTransmissionDelayHighAddress] = static_cast<std::uint8_t>((n >> 8) & 0xFF);
            c.image[kTransmissionDelayLowAddress] = static_cast<std::uint8_t>(n & 0xFF);
        }
    }
    const Field& hops = c.f("edtMaxNoOfHops");
    if (hops.mark == 1) {
        if (c.f("cbMaxNoOfHopsUseJumpers").checked) {
            c.image[kHopsAddress] = 0xFF;
        } else {
            bool ok = false;
            const int n = hops.text.trimmed().toInt(&ok);
            c.image[kHopsAddress] = static_cast<std::uint8_t>((ok ? n : 1) & 0xFF);
        }
    }
}

void FillInhibitTimes(MapContext& c) {
    Field& inhibit = c.f("edtSameCodeInhibitTime");
    if (c.isV1x()) {
        // Without radio inputs there is no code to inhibit.
        c.setText(inhibit, ProductRow(c.product).radioInputs ? QStringLiteral("11") : QStringLiteral("---"));
    } else if (c.version == kVersionV20) {
        c.show(inhibit, QString::number(c.image[kInhibitV20Address]));
    } else if (c.version == kVersionV21) {
        c.show(inhibit,
               QString::number(c.image[kInhibitV21HighAddress] * 256 + c.image[kInhibitV21LowAddress]));
    } else if (c.version == kVersionV22) {
        c.show(inhibit, QString::number(ReadU16BE(c.image, kInhibitV22Address)));
    }
    Field& dementia = c.f("edtDementiaBlockTime");
    if (c.version == kVersionV22)
        c.show(dementia, QString::number(ReadU16BE(c.image, kDementiaBlockV22Address)));
    else if (c.isV1x() || c.isV2x())
        c.setText(dementia, QStringLiteral("---"));
}

void CollectInhibitTimes(MapContext& c) {
    const Field& inhibit = c.f("edtSameCodeInhibitTime");
    if (inhibit.mark == 1) {
        const int n = MapContext::ParseLenient(inhibit.text);
        if (c.version == kVersionV20) {
            c.image[kInhibitV20Address] = static_cast<std::uint8_t>(n & 0xFF);
        } else if (c.version == kVersionV21) {
            c.image[kInhibitV21LowAddress] = static_cast<std::uint8_t>(n & 0xFF);
            c.image[kInhibitV21HighAddress] = static_cast<std::uint8_t>((n >> 8) & 0xFF);
        } else if (c.version == kVersionV22) {
            WriteU16BE(c.image, kInhibitV22Address, static_cast<std::uint16_t>(n & 0xFFFF));
        }
    }
    const Field& dementia = c.f("edtDementiaBlockTime");
    if (dementia.mark == 1 && c.version == kVersionV22)
        WriteU16BE(c.image, kDementiaBlockV22Address,
                   static_cast<std::uint16_t>(MapContext::ParseLenient(dementia.text) & 0xFFFF));
}

const std::vector<Row> kRadioSettings{
    {"cbbxAcknowledge", Enc::List, 0x55, 0, kScopeClassic, true, Writer::Row},
    {"cbbxFrequencyBandTransmit", Enc::Fixed, 0, 0, kScopeClassic, false, Writer::Nobody},
    {"cbbxFrequencyBandReceive", Enc::List, 0x91, 0, kScopeClassic, true, Writer::Row},
    {"edtCarrierSenseThresholdValue", Enc::Dash, 0, 0, kScopeClassic, false, Writer::Nobody},
};

void FillRadioSettingsRest(MapContext& c) {
    c.form.setChecked(c.f("cbListenBeforeTransmit"), false);
    c.show(c.f("edtEquipmentType"), QString::number(c.image[kEquipmentTypeAddress]));
    c.setText(c.f("edtProductionDate"), QStringLiteral("---"));
    const int hw = c.image[kHardwareVersionAddress];
    c.setText(c.f("edtHardvareVersion"),
              hw == 0x00 || hw == 0xFF ? QStringLiteral("1.0")
                                       : QStringLiteral("%1.%2").arg(hw >> 4, 0, 16).arg(hw & 0xF, 0, 16));
}

} // namespace

std::vector<Step> PreferenceSteps() {
    return {
        kSupervision,
        Both("pulse time", FillPulse, CollectPulse),
        kTransmissions,
        Both("delay and hops", FillDelayAndHops, CollectDelayAndHops),
        Both("inhibit times", FillInhibitTimes, CollectInhibitTimes),
        kRadioSettings,
        FillOnly("radio settings shown only", FillRadioSettingsRest),
    };
}

} // namespace zal
