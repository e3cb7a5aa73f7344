// The parameter map of the MUVE+ and the MUVE+ II (one layout, version code 1): a table of the plain
// fields and named rules for what a row cannot say. Every address this map does not collect passes
// through unchanged, the image checksum among them.

#include "MapSteps.h"
#include "config/Identification.h"
#include "config/Products.h"
#include "radio/DeviceIdentity.h"
#include "radio/RadioCode.h"

#include <QDate>

#include <cmath>

namespace zal {
namespace {

const QString kDash = QStringLiteral("---");

// The acknowledge setting lives in bit 0 of channel A's byte and channel B's.
constexpr int kAckFromBits[4] = {0, 2, 3, 1}; // index (A x 2 + B)
constexpr int kAckBitA[4] = {0, 1, 0, 1};     // by stored value
constexpr int kAckBitB[4] = {0, 1, 1, 0};

void FillInterval(MapContext& c, const char* edit, const char* units, int address) {
    const int v = ReadU16BE(c.image, address);
    const bool minutes = v % 60 != 0 && v <= 500;
    c.setText(c.f(edit), QString::number(minutes ? v : v / 60));
    c.selectStored(c.f(units), minutes ? 0 : 1);
}

void CollectInterval(MapContext& c, const char* edit, const char* units, int address) {
    int n = MapContext::ParseLenient(c.f(edit).text);
    if (c.f(units).index != 0)
        n *= 60;
    WriteU16BE(c.image, address, static_cast<std::uint16_t>(n & 0xFFFF));
}

QString ProductionDate(const MapContext& c) {
    const int a = kPlusProductionDateAddress;
    const int year = BcdToNumber(c.image[a]) * 100 + BcdToNumber(c.image[a + 1]);
    const int month = BcdToNumber(c.image[a + 2]);
    const int day = BcdToNumber(c.image[a + 3]);
    if (year < 2000 || month < 1 || month > 12 || day < 1 || day > 31)
        return kDash;
    const QDate date(year, month, day);
    // A day that does not exist in its month (31 April) passes the range checks but is no date.
    return date.isValid() ? c.locale.toString(date, QLocale::ShortFormat) : kDash;
}

QString FrequencyText(const MapContext& c) {
    const auto word = [&](int a) {
        return static_cast<quint32>(c.image[a]) << 24 | c.image[a + 1] << 16 | c.image[a + 2] << 8 |
               c.image[a + 3];
    };
    const quint32 f1 = word(kPlusFrequencyAAddress), f2 = word(kPlusFrequencyBAddress);
    const auto inRange = [](quint32 f) { return f > 100000000u && f < 1000000000u; };
    if (!inRange(f1) || !inRange(f2))
        return kDash;
    return QStringLiteral("%1 MHz & %2 MHz").arg(c.decimal(f1 * 0.000001, 1), c.decimal(f2 * 0.000001, 1));
}

void FillAcknowledge(MapContext& c) {
    const int a = c.image[kPlusAcknowledgeAAddress], b = c.image[kPlusAcknowledgeBAddress];
    const int ack = c.firmware.acknowledgeAsValue() ? a : kAckFromBits[(a & 1) * 2 + (b & 1)];
    c.selectStored(c.f("cbbxAcknowledge"), ack, kPlusAcknowledgeAAddress);
}

// A drop-down without selection leaves both bytes as they are. Old MUVE+ firmware reads channel A's byte as
// the stored value, so that is what it gets: the two-bit form would turn "Quittung nur an Sender" (2)
// into "Empfang quittieren" (1) there.
void CollectAcknowledge(MapContext& c) {
    const int ack = c.f("cbbxAcknowledge").value();
    if (ack >= 0 && ack <= 3) {
        c.image[kPlusAcknowledgeAAddress] =
            static_cast<std::uint8_t>(c.firmware.acknowledgeAsValue() ? ack : kAckBitA[ack]);
        c.image[kPlusAcknowledgeBAddress] = static_cast<std::uint8_t>(kAckBitB[ack]);
    }
}

// The MUVE+ II keeps a signed carrier sense threshold; the MUVE+ shows the byte as it is.
void FillCarrierSense(MapContext& c) {
    const int sense = c.image[kPlusCarrierSenseAddress];
    c.setText(c.f("edtCarrierSenseThresholdValue"),
              QString::number(ProductRow(c.product).signedCarrierSense && sense > 127 ? sense - 256 : sense));
}

void CollectCarrierSense(MapContext& c) {
    c.image[kPlusCarrierSenseAddress] =
        static_cast<std::uint8_t>(MapContext::ParseLenient(c.f("edtCarrierSenseThresholdValue").text) & 0xFF);
}

void FillProductInformation(MapContext& c) {
    ShowProductIdentity(c);
    if (ProductRow(c.product).frequencyRegionText) {
        c.setText(c.f("edtFrequencyRegion"), FrequencyText(c));
        c.setText(c.f("edtSerialNumber"), IdentifyDevice(c.image, c.product).shownSerial);
    } else {
        Field& regions = c.f("cbbxFrequencyRegionPlus");
        const int region = IndexOfValue(regions.list.values, c.image[kPlusFrequencyRegionAddress]);
        c.form.setIndex(regions, region);
        c.setText(c.f("edtFrequencyRegion"), region >= 0 ? regions.list.items[region] : kDash);
        c.setText(c.f("edtSerialNumber"), IdentifyDevice(c.image, c.product).shownSerial);
    }
    c.setText(c.f("edtRadioCalibration"), QString::number(c.image[kRadioCalibrationAddress]));
}

// An interval in minutes or hours: the entry field, its unit drop-down and the two bytes they share.
Rule IntervalRule(const char* name, const char* edit, const char* units, int address) {
    return Both(
        name, [=](MapContext& c) { FillInterval(c, edit, units, address); },
        [=](MapContext& c) { CollectInterval(c, edit, units, address); });
}

using W = Writer;
constexpr Scope kBoth = kScopePlus;
constexpr Scope kPlus2 = Variant::MuvePlus2;

const std::vector<Step>& Steps() {
    static const std::vector<Step> steps{
        // 1.-2. Radio inputs and their actions.
        std::vector<Row>{
            {"edtRxCodePos{1-8}", Enc::Code, 0x20, 2, kBoth, false, W::Row},
            {"edtRxCodePosF", Enc::Dash, 0, 0, kBoth, false, W::Nobody},
            {"cbbxRxCodePosA", Enc::Fixed, 0, 0, kBoth, false, W::Nobody},
            {"cbbxActionRelayPos{1-8,F,A}", Enc::Fixed, 0, 0, kBoth, false, W::Nobody},
            {"cbbxActionTxPos{1-8}", Enc::List, 0x40, 1, kBoth, true, W::Row},
            {"cbbxActionTxPosF", Enc::Fixed, 0, 0, kBoth, false, W::Nobody},
            {"cbbxActionTxPosA", Enc::List, 0x4F, 0, kBoth, true, W::Row},
            {"cbbxActionAlarmTypePos{1-8}", Enc::List, 0x50, 1, kBoth, true, W::Row},
            {"cbbxActionAlarmTypePosF", Enc::Fixed, 0, 0, kBoth, false, W::Nobody},
            {"cbbxActionAlarmTypePosA", Enc::List, 0x5F, 0, kBoth, true, W::Row},
            // 3. Transmission delays in quarter seconds.
            {"edtActionTransmissionDelayPos{1-8}", Enc::QuarterHundr, 0x60, 2, kBoth, false, W::Row},
            {"edtActionTransmissionDelayPosA", Enc::QuarterHundr, 0x7E, 0, kBoth, false, W::Row},
        },
        // 4. The codes the actions send.
        Repaint(),
        FillOnly("action codes", ShowActionCodes),
        // 5. No wired inputs.
        std::vector<Row>{
            {"cbbxWiredInputType{1-5} cbbxWiredRelay{1-5} cbbxWiredTx{1-5} cbbxWiredAlarmType{1-5}",
             Enc::Fixed, 0, 0, kBoth, false, W::Nobody},
            {"edtWiredThreshold{4-5}", Enc::Dash, 0, 0, kBoth, false, W::Nobody},
            {"cbbxSendAlarmWhen", Enc::Fixed, 0, 0, kBoth, false, W::Nobody},
        },
        Repaint(),
        FillOnly("wired codes", ShowWiredCodes),
        // 6. Power supply and supervision.
        std::vector<Row>{
            {"cbbxPowerMode cbbxBatteryAlarm", Enc::Fixed, 0, 0, kBoth, false, W::Nobody},
        },
        IntervalRule("battery alarm interval", "edtBatteryAlarmInterval", "cbbxBatteryAlarmIntervalUnits",
                     kPlusBatteryAlarmIntervalAddress),
        std::vector<Row>{
            {"edtLowBatteryThreshold", Enc::Tenths, 0xA6, 0, kBoth, false, W::Row},
            {"cbbxMainsFailure", Enc::List, 0xA0, 0, kBoth, true, W::Row},
            {"cbbxMainsOK", Enc::List, 0xA1, 0, kBoth, true, W::Row},
        },
        IntervalRule("test alarm interval", "edtTestAlarmInterval", "cbbxTestAlarmIntervalUnits",
                     kPlusTestAlarmIntervalAddress),
        std::vector<Row>{
            {"edtBatteryChargeDuration", Enc::Byte, 0xA7, 0, kBoth, false, W::Row},
            {"edtOutPassageDelay edtInPassageDelay edtPulseActivationTime", Enc::Dash, 0, 0, kBoth, false,
             W::Nobody},
            // 7. Radio transmission.
            {"edtNoShortTransm", Enc::Byte, 0x80, 0, kBoth, false, W::Row},
            {"edtNoLongTransm", Enc::Byte, 0x81, 0, kBoth, false, W::Row},
            {"edtDelay", Enc::Dash, 0, 0, kBoth, false, W::Nobody},
            {"edtMaxNoOfHops", Enc::Byte, 0x82, 0, kBoth, false, W::Row},
            {"edtSameCodeInhibitTime", Enc::QuarterWhole, 0x84, 0, kBoth, false, W::Row},
            {"edtDementiaBlockTime", Enc::QuarterWhole, 0x86, 0, kBoth, false, W::Row},
        },
        Both("acknowledge", FillAcknowledge, CollectAcknowledge),
        std::vector<Row>{
            {"cbbxFrequencyBandTransmit", Enc::List, 0x90, 0, kBoth, true, W::Row},
            {"cbbxFrequencyBandReceive", Enc::List, 0x91, 0, kBoth, true, W::Row},
            {"cbbxTransmissionProtocol", Enc::List, 0x94, 0, kPlus2, true, W::Row},
            {"cbbxReceptionProtocol", Enc::List, 0x95, 0, kPlus2, true, W::Row},
        },
        // 8. Carrier sense, listen before transmit, the rest.
        Both("carrier sense", FillCarrierSense, CollectCarrierSense),
        std::vector<Row>{
            {"cbListenBeforeTransmit", Enc::Check, 0x92, 0, kBoth, false, W::Row},
            {"edtEquipmentType", Enc::Dash, 0, 0, kBoth, false, W::Nobody},
        },
        FillOnly("production date",
                 [](MapContext& c) { c.setText(c.f("edtProductionDate"), ProductionDate(c)); }),
        std::vector<Row>{
            {"edtWiredAutoResetTimer{1-5}", Enc::Dash, 0, 0, kBoth, false, W::Nobody},
        },
        // 9. Product information, and the position fields of the older products.
        FillOnly("product information", FillProductInformation),
        std::vector<Row>{
            {"edtPosCode{1-8}", Enc::Dash, 0, 0, kBoth, false, W::Nobody},
            {"cbbxPosType{1-8} cbbxPosRelay{1-8}", Enc::Fixed, 0, 0, kBoth, false, W::Nobody},
            {"edtInhibitRelayAfterPersonnell", Enc::Dash, 0, 0, kBoth, false, W::Nobody},
        },
    };
    return steps;
}

} // namespace

int FillPlus(MapContext& c, const MapHooks& hooks) {
    MapState unused;
    return FillSteps(Steps(), Marks::Ignored, c, unused, hooks);
}

void CollectPlus(MapContext& c) {
    CollectSteps(Steps(), Marks::Ignored, c);
}

} // namespace zal
