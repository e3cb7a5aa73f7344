// The parameter map of the MUVE+ and the MUVE+ II (one layout, version code 1). Every address this map
// does not collect passes through unchanged, the image checksum at 0xE0 among them.

#include "ParameterMap.h"
#include "config/Identification.h"
#include "config/Products.h"
#include "radio/RadioCode.h"

#include <QDate>

#include <cmath>

namespace zal {
namespace {

const QString kDash = QStringLiteral("---");

QString Name(const char* prefix, int n) {
    return QString::fromLatin1(prefix) + QString::number(n);
}

// Positions 1-8 and A of the action block, with their image offsets.
struct Position {
    QString suffix;
    int txAddress, alarmAddress, delayAddress;
};

const std::vector<Position>& Positions() {
    static const std::vector<Position> positions = [] {
        std::vector<Position> p;
        for (int n = 1; n <= 8; ++n)
            p.push_back({QString::number(n), 0x40 + n - 1, 0x50 + n - 1, 0x60 + 2 * (n - 1)});
        p.push_back({QStringLiteral("A"), 0x4F, 0x5F, 0x7E});
        return p;
    }();
    return positions;
}

// The acknowledge setting lives in bit 0 of 0x83 (A) and 0x88 (B).
constexpr int kAckFromBits[4] = {0, 2, 3, 1}; // index (A x 2 + B)
constexpr int kAckBitA[4] = {0, 1, 0, 1};     // by stored value
constexpr int kAckBitB[4] = {0, 1, 1, 0};

// Old MUVE+ firmware (1.02 and below) keeps the setting as a plain value in 0x83.
bool OldAcknowledgeFirmware(const MapContext& c) {
    return c.product == kMuvePlus && c.image[kVersionCodeAddress] == 1 && c.image[kMinorVersionAddress] <= 2;
}

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

// Quarter seconds shown whole, rounded half away from zero as the original's number format did.
QString QuarterWhole(int value) {
    return QString::number(static_cast<long long>(std::round(value * 0.25)));
}

QString ProductionDate(const MapContext& c) {
    const int year = BcdToNumber(c.image[0xF0]) * 100 + BcdToNumber(c.image[0xF1]);
    const int month = BcdToNumber(c.image[0xF2]);
    const int day = BcdToNumber(c.image[0xF3]);
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
    const quint32 f1 = word(0xC0), f2 = word(0xC4);
    const auto inRange = [](quint32 f) { return f > 100000000u && f < 1000000000u; };
    if (!inRange(f1) || !inRange(f2))
        return kDash;
    return QStringLiteral("%1 MHz & %2 MHz").arg(c.decimal(f1 * 0.000001, 1), c.decimal(f2 * 0.000001, 1));
}

} // namespace

int FillPlus(MapContext& c, const MapHooks& hooks) {
    const bool plus2 = c.product == kMuvePlus2;

    // 1. Radio inputs.
    for (int n = 1; n <= 8; ++n) {
        const int a = 0x20 + 2 * (n - 1);
        c.setText(c.f(Name("edtRxCodePos", n)), CodeToText(c.image[a], c.image[a + 1]));
    }
    c.setText(c.f("edtRxCodePosF"), kDash);
    c.selectStored(c.f("cbbxRxCodePosA"), 0);

    // 2. Actions.
    for (const char* relay :
         {"cbbxActionRelayPos1", "cbbxActionRelayPos2", "cbbxActionRelayPos3", "cbbxActionRelayPos4",
          "cbbxActionRelayPos5", "cbbxActionRelayPos6", "cbbxActionRelayPos7", "cbbxActionRelayPos8",
          "cbbxActionRelayPosF", "cbbxActionRelayPosA"})
        c.selectStored(c.f(relay), 0);
    for (const Position& p : Positions()) {
        if (p.suffix == QLatin1String("A"))
            c.selectStored(c.f("cbbxActionTxPosF"), 0);
        c.selectStored(c.f(QStringLiteral("cbbxActionTxPos") + p.suffix), c.image[p.txAddress], p.txAddress);
    }
    for (const Position& p : Positions()) {
        if (p.suffix == QLatin1String("A"))
            c.selectStored(c.f("cbbxActionAlarmTypePosF"), 0);
        c.selectStored(c.f(QStringLiteral("cbbxActionAlarmTypePos") + p.suffix), c.image[p.alarmAddress],
                       p.alarmAddress);
    }

    // 3.-4. Transmission delays in quarter seconds, then the codes the actions send.
    for (const Position& p : Positions())
        c.setText(c.f(QStringLiteral("edtActionTransmissionDelayPos") + p.suffix),
                  c.decimal(ReadU16BE(c.image, p.delayAddress) * 0.25, 2));
    if (hooks.processEvents)
        hooks.processEvents();
    ShowActionCodes(c);

    // 5. No wired inputs.
    for (int i = 1; i <= 5; ++i) {
        for (const char* family :
             {"cbbxWiredInputType", "cbbxWiredRelay", "cbbxWiredTx", "cbbxWiredAlarmType"})
            c.selectStored(c.f(Name(family, i)), 0);
    }
    c.setText(c.f("edtWiredThreshold4"), kDash);
    c.setText(c.f("edtWiredThreshold5"), kDash);
    c.selectStored(c.f("cbbxSendAlarmWhen"), 0);
    if (hooks.processEvents)
        hooks.processEvents();
    ShowWiredCodes(c);

    // 6. Power supply and supervision.
    c.selectStored(c.f("cbbxPowerMode"), 0);
    c.selectStored(c.f("cbbxBatteryAlarm"), 0);
    FillInterval(c, "edtBatteryAlarmInterval", "cbbxBatteryAlarmIntervalUnits", 0xA4);
    c.setText(c.f("edtLowBatteryThreshold"), c.decimal(c.image[0xA6] * 0.1, 1));
    c.selectStored(c.f("cbbxMainsFailure"), c.image[0xA0], 0xA0);
    c.selectStored(c.f("cbbxMainsOK"), c.image[0xA1], 0xA1);
    FillInterval(c, "edtTestAlarmInterval", "cbbxTestAlarmIntervalUnits", 0xA2);
    c.setText(c.f("edtBatteryChargeDuration"), QString::number(c.image[0xA7]));
    for (const char* unused : {"edtOutPassageDelay", "edtInPassageDelay", "edtPulseActivationTime"})
        c.setText(c.f(unused), kDash);

    // 7. Radio transmission.
    c.setText(c.f("edtNoShortTransm"), QString::number(c.image[0x80]));
    c.setText(c.f("edtNoLongTransm"), QString::number(c.image[0x81]));
    c.setText(c.f("edtDelay"), kDash);
    c.setText(c.f("edtMaxNoOfHops"), QString::number(c.image[0x82]));
    c.setText(c.f("edtSameCodeInhibitTime"), QuarterWhole(ReadU16BE(c.image, 0x84)));
    c.setText(c.f("edtDementiaBlockTime"), QuarterWhole(ReadU16BE(c.image, 0x86)));
    const int ack = OldAcknowledgeFirmware(c) ? c.image[0x83]
                                              : kAckFromBits[(c.image[0x83] & 1) * 2 + (c.image[0x88] & 1)];
    c.selectStored(c.f("cbbxAcknowledge"), ack, 0x83);
    c.selectStored(c.f("cbbxFrequencyBandTransmit"), c.image[0x90], 0x90);
    c.selectStored(c.f("cbbxFrequencyBandReceive"), c.image[0x91], 0x91);
    if (plus2) {
        c.selectStored(c.f("cbbxTransmissionProtocol"), c.image[0x94], 0x94);
        c.selectStored(c.f("cbbxReceptionProtocol"), c.image[0x95], 0x95);
    }

    // 8. Carrier sense, listen before transmit, the rest.
    const int sense = c.image[0xF6];
    c.setText(c.f("edtCarrierSenseThresholdValue"),
              QString::number(plus2 && sense > 127 ? sense - 256 : sense));
    c.form.setChecked(c.f("cbListenBeforeTransmit"), c.image[0x92] != 0);
    c.setText(c.f("edtEquipmentType"), kDash);
    c.setText(c.f("edtProductionDate"), ProductionDate(c));
    for (int i = 1; i <= 5; ++i)
        c.setText(c.f(Name("edtWiredAutoResetTimer", i)), kDash);

    // 9. Product information, and the position fields of the older products.
    ShowDeviceRadioId(c);
    c.selectAlways(c.f("cbbxProductName"), c.image[kProductCodeAddress], kProductCodeAddress);
    c.setText(c.f("edtProgramVersion"),
              FormatVersion(static_cast<std::uint16_t>(c.image[kVersionCodeAddress] << 8 |
                                                       c.image[kMinorVersionAddress])));
    if (plus2) {
        c.setText(c.f("edtFrequencyRegion"), FrequencyText(c));
        c.setText(c.f("edtSerialNumber"),
                  QString::asprintf("%02X%02X%02X%02X%02X", c.image[0xC8], c.image[0xC9], c.image[0xCA],
                                    c.image[0xFE], c.image[0xFF]));
    } else {
        Field& regions = c.f("cbbxFrequencyRegionPlus");
        const int region = IndexOfValue(regions.list.values, c.image[0xFB]);
        c.form.setIndex(regions, region);
        c.setText(c.f("edtFrequencyRegion"), region >= 0 ? regions.list.items[region] : kDash);
        c.setText(c.f("edtSerialNumber"),
                  QString::number(c.image[0xFD] << 16 | c.image[0xFE] << 8 | c.image[0xFF]));
    }
    c.setText(c.f("edtRadioCalibration"), QString::number(c.image[0xF7]));
    for (int n = 1; n <= 8; ++n) {
        c.setText(c.f(Name("edtPosCode", n)), kDash);
        c.selectStored(c.f(Name("cbbxPosType", n)), 0);
        c.selectStored(c.f(Name("cbbxPosRelay", n)), 0);
    }
    c.setText(c.f("edtInhibitRelayAfterPersonnell"), kDash);
    return c.fault;
}

void CollectPlus(MapContext& c) {
    const auto byte = [](int value) { return static_cast<std::uint8_t>(value & 0xFF); };
    for (int n = 1; n <= 8; ++n)
        WriteU16BE(c.image, 0x20 + 2 * (n - 1), TextToCode(c.f(Name("edtRxCodePos", n)).text));
    for (const Position& p : Positions())
        c.storeSelected(c.f(QStringLiteral("cbbxActionTxPos") + p.suffix), p.txAddress);
    for (const Position& p : Positions())
        c.storeSelected(c.f(QStringLiteral("cbbxActionAlarmTypePos") + p.suffix), p.alarmAddress);
    for (const Position& p : Positions()) {
        // The nearest quarter second, halves going up.
        const double d = c.parseDecimal(c.f(QStringLiteral("edtActionTransmissionDelayPos") + p.suffix));
        WriteU16BE(c.image, p.delayAddress,
                   static_cast<std::uint16_t>(static_cast<long long>(std::trunc((d + 0.125) * 4)) & 0xFFFF));
    }
    CollectInterval(c, "edtBatteryAlarmInterval", "cbbxBatteryAlarmIntervalUnits", 0xA4);
    c.image[0xA6] = byte(static_cast<int>(std::trunc(c.parseDecimal(c.f("edtLowBatteryThreshold")) * 10)));
    c.storeSelected(c.f("cbbxMainsFailure"), 0xA0);
    c.storeSelected(c.f("cbbxMainsOK"), 0xA1);
    CollectInterval(c, "edtTestAlarmInterval", "cbbxTestAlarmIntervalUnits", 0xA2);
    c.image[0xA7] = byte(MapContext::ParseLenient(c.f("edtBatteryChargeDuration").text));
    c.image[0x80] = byte(MapContext::ParseLenient(c.f("edtNoShortTransm").text));
    c.image[0x81] = byte(MapContext::ParseLenient(c.f("edtNoLongTransm").text));
    c.image[0x82] = byte(MapContext::ParseLenient(c.f("edtMaxNoOfHops").text));
    for (const auto& [name, address] :
         {std::pair{"edtSameCodeInhibitTime", 0x84}, std::pair{"edtDementiaBlockTime", 0x86}}) {
        const double d = c.parseDecimal(c.f(name));
        WriteU16BE(c.image, address,
                   static_cast<std::uint16_t>(static_cast<long long>(std::trunc(d * 4)) & 0xFFFF));
    }
    // An acknowledge drop-down without selection leaves both bytes as they are. Old MUVE+ firmware
    // reads 0x83 itself as the stored value, so that is what it gets: the two-bit form would turn
    // "Quittung nur an Sender" (2) into "Empfang quittieren" (1) there.
    const int ack = c.f("cbbxAcknowledge").value();
    if (ack >= 0 && ack <= 3) {
        c.image[0x83] = byte(OldAcknowledgeFirmware(c) ? ack : kAckBitA[ack]);
        c.image[0x88] = byte(kAckBitB[ack]);
    }
    c.storeSelected(c.f("cbbxFrequencyBandTransmit"), 0x90);
    c.storeSelected(c.f("cbbxFrequencyBandReceive"), 0x91);
    if (c.product == kMuvePlus2) {
        c.storeSelected(c.f("cbbxTransmissionProtocol"), 0x94);
        c.storeSelected(c.f("cbbxReceptionProtocol"), 0x95);
    }
    c.image[0xF6] = byte(MapContext::ParseLenient(c.f("edtCarrierSenseThresholdValue").text));
    c.image[0x92] = c.f("cbListenBeforeTransmit").checked ? 1 : 0;
}

} // namespace zal
