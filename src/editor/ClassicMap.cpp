// The parameter map of BORA, ZAL, MUVE and DORF in their four layout versions: a table of the plain
// fields, and named rules for what a row cannot say. Fill and collect walk the same steps in order.

#include "FieldNames.h"
#include "ParameterMap.h"
#include "config/Identification.h"
#include "config/Products.h"
#include "radio/RadioCode.h"

#include <cmath>
#include <functional>
#include <variant>
#include <vector>

namespace zal {
namespace {

enum class Enc {
    Code,    // radio ID code, two bytes
    List,    // drop-down, whole byte
    Bits,    // drop-down, (byte >> shift) & mask; written back by the V1.x packing rules
    Fixed,   // drop-down set to a stored value, not tested
    Dash,    // entry field that always shows "---"
    Byte,    // decimal byte
    ByteFF0, // decimal byte, 0xFF shows "0"
};

struct Row {
    const char* fields; // the n-th field of the family uses address + n * stride
    Enc enc;
    int address;
    int stride;
    Scope scope; // the products and layouts the row is for
    bool mustMatch;
    bool collected;
    int value = 0; // Fixed: the stored value; Bits: the shift
    int mask = 0;  // Bits
};

// Fill-order steps: a group of table rows, or a rule with a fill and a collect part.
struct Rule {
    std::function<void(MapContext&, MapState&, const MapHooks&)> fill;
    std::function<void(MapContext&)> collect;
};
using Step = std::variant<std::vector<Row>, Rule>;

void FillRow(MapContext& c, const Row& row) {
    const QStringList names = ExpandFieldNames(row.fields);
    for (int n = 0; n < names.size(); ++n) {
        Field& f = c.f(names[n]);
        const int a = row.address + n * row.stride;
        switch (row.enc) {
        case Enc::Code:
            c.show(f, CodeToText(c.image[a], c.image[a + 1]), QStringLiteral("----"));
            break;
        case Enc::List:
            c.selectStored(f, c.image[a], row.mustMatch ? a : -1);
            break;
        case Enc::Bits:
            c.selectStored(f, (c.image[a] >> row.value) & row.mask, a);
            break;
        case Enc::Fixed:
            c.selectStored(f, row.value);
            break;
        case Enc::Dash:
            c.setText(f, QStringLiteral("---"));
            break;
        case Enc::Byte:
            c.show(f, QString::number(c.image[a]));
            break;
        case Enc::ByteFF0:
            c.show(f, c.image[a] == 0xFF ? QStringLiteral("0") : QString::number(c.image[a]));
            break;
        }
    }
}

void CollectRow(MapContext& c, const Row& row) {
    if (!row.collected)
        return;
    const QStringList names = ExpandFieldNames(row.fields);
    for (int n = 0; n < names.size(); ++n) {
        const Field& f = c.f(names[n]);
        if (f.mark != 1)
            continue;
        const int a = row.address + n * row.stride;
        switch (row.enc) {
        case Enc::Code:
            WriteU16BE(c.image, a, TextToCode(f.text));
            break;
        case Enc::List:
            c.storeSelected(f, a);
            break;
        case Enc::Byte:
        case Enc::ByteFF0:
            c.image[a] = static_cast<std::uint8_t>(MapContext::ParseLenient(f.text) & 0xFF);
            break;
        default:
            break;
        }
    }
}

// --- Radio input page ---------------------------------------------------------------------------------

const std::vector<Row> kRadioCodes{
    {"edtRxCodePos{1-8}", Enc::Code, 0x00, 2, kScopeClassic, false, true},
    {"edtRxCodePosF", Enc::Code, 0x1A, 0, kScopeClassic, false, true},
    {"cbbxRxCodePosA", Enc::List, 0x27, 0, kScopeV2x, true, true},
    {"cbbxRxCodePosA", Enc::Fixed, 0, 0, kScopeV1x, false, false, 0},
};

// V2x keeps relays, transmitters and alarm types in bytes of their own.
const std::vector<Row> kRadioActionsV2x{
    {"cbbxActionRelayPos{1-8}", Enc::List, 0x38, 1, kScopeV2x, true, true},
    {"cbbxActionRelayPosF", Enc::List, 0x36, 0, kScopeV2x, true, true},
    {"cbbxActionRelayPosA", Enc::List, 0x37, 0, kScopeV2x, true, true},
    {"cbbxActionTxPos{1-8}", Enc::List, 0x48, 1, kScopeV2x, true, true},
    {"cbbxActionTxPosF", Enc::List, 0x46, 0, kScopeV2x, true, true},
    {"cbbxActionTxPosA", Enc::List, 0x47, 0, kScopeV2x, true, true},
    {"cbbxActionAlarmTypePos{1-8}", Enc::List, 0x28, 1, kScopeV2x, true, false},
    {"cbbxActionAlarmTypePosF", Enc::List, 0x26, 0, kScopeV2x, true, false},
};

// V1.x packs relay (bits 0-1) and transmitter (bit 2, positions 1-5) into one byte per position.
const std::vector<Row> kRadioActionsV1x{
    {"cbbxActionRelayPos{1-8}", Enc::Bits, 0x38, 1, kScopeV1x, true, false, 0, 0x03},
    {"cbbxActionRelayPos{F,A}", Enc::Fixed, 0, 0, kScopeV1x, false, false, 0},
    {"cbbxActionTxPos{1-5}", Enc::Bits, 0x38, 1, kScopeV1x, true, false, 2, 0x01},
    {"cbbxActionTxPos{6-8,F,A}", Enc::Fixed, 0, 0, kScopeV1x, false, false, 0},
    {"cbbxActionAlarmTypePos{1-8,F}", Enc::Fixed, 0, 0, kScopeV1x, false, false, 0},
};

const std::vector<Row> kRadioAlarmTypes{
    {"cbbxActionAlarmTypePosA", Enc::List, 0x25, 0, kScopeClassic, true, false},
    {"edtActionTransmissionDelayPos{1-8,A}", Enc::Dash, 0, 0, kScopeClassic, false, false},
};

// Alarm types are written back in every version whenever their field is in use.
void CollectAlarmTypes(MapContext& c) {
    for (int n = 1; n <= 8; ++n) {
        const Field& f = c.f(QStringLiteral("cbbxActionAlarmTypePos%1").arg(n));
        if (f.mark == 1)
            c.storeSelected(f, 0x28 + n - 1);
    }
    for (const auto& [name, address] :
         {std::pair{"cbbxActionAlarmTypePosF", 0x26}, std::pair{"cbbxActionAlarmTypePosA", 0x25}}) {
        const Field& f = c.f(name);
        if (f.mark == 1)
            c.storeSelected(f, address);
    }
}

// V1.x relay bytes: the relay's value in its bits as the whole byte (the other bits cleared), then the
// transmitter's bit set when it sends (stored value 1) and cleared otherwise.
void WriteRelayBits(MapContext& c, const QString& relayName, int address, int relayMask) {
    const Field& relay = c.f(relayName);
    if (relay.mark == 1 && !MapContext::KeepsImageByte(relay))
        c.image[address] = static_cast<std::uint8_t>(relay.value() & relayMask);
}

void WriteTxBit(MapContext& c, const QString& txName, int address, int bit) {
    const Field& tx = c.f(txName);
    if (tx.mark != 1 || MapContext::KeepsImageByte(tx))
        return;
    if (tx.value() == 1)
        c.image[address] |= static_cast<std::uint8_t>(1 << bit);
    else
        c.image[address] &= static_cast<std::uint8_t>(~(1 << bit));
}

void CollectRadioActionsV1x(MapContext& c) {
    if (!c.isV1x())
        return;
    for (int n = 1; n <= 8; ++n)
        WriteRelayBits(c, QStringLiteral("cbbxActionRelayPos%1").arg(n), 0x38 + n - 1, 0x03);
    for (int n = 1; n <= 5; ++n)
        WriteTxBit(c, QStringLiteral("cbbxActionTxPos%1").arg(n), 0x38 + n - 1, 2);
}

// --- Wired page -----------------------------------------------------------------------------------------

const std::vector<Row> kWiredInputs{
    {"cbbxWiredInputType{1-5}", Enc::List, 0x60, 1, kScopeClassic, true, true},
    {"cbbxWiredRelay{1-5}", Enc::List, 0x58, 1, kScopeV2x, true, true},
    {"cbbxWiredTx{1-5}", Enc::List, 0x68, 1, kScopeV2x, true, true},
    {"cbbxWiredRelay{1-5}", Enc::Bits, 0x58, 1, kScopeV1x, true, false, 0, 0x07},
    {"cbbxWiredTx{1-5}", Enc::Bits, 0x58, 1, kScopeV1x, true, false, 3, 0x01},
    {"cbbxWiredAlarmType{1-5}", Enc::List, 0x20, 1, kScopeClassic, true, true},
};

void CollectWiredV1x(MapContext& c) {
    if (!c.isV1x())
        return;
    for (int i = 1; i <= 5; ++i) {
        WriteRelayBits(c, QStringLiteral("cbbxWiredRelay%1").arg(i), 0x58 + i - 1, 0x07);
        WriteTxBit(c, QStringLiteral("cbbxWiredTx%1").arg(i), 0x58 + i - 1, 3);
    }
}

void FillThresholds(MapContext& c) {
    for (const auto& [name, address] :
         {std::pair{"edtWiredThreshold4", 0x40}, std::pair{"edtWiredThreshold5", 0x41}})
        c.show(c.f(name), c.decimal(c.image[address] * 3.0 / 255, 1));
}

// d x 255, taken as a double, times one third in the extended precision the original computed with:
// in effect trunc(d x 85), so that 3,0 gives 255 and 1,5 gives 127.
std::uint8_t ThresholdByte(double d) {
    if (d > 3.0)
        return 0xFF;
    const double scaled = d * 255;
    const double third = static_cast<double>(static_cast<long double>(scaled) * (1.0L / 3.0L));
    return static_cast<std::uint8_t>(static_cast<int>(std::trunc(third)) & 0xFF);
}

void CollectThresholds(MapContext& c) {
    for (const auto& [name, address] :
         {std::pair{"edtWiredThreshold4", 0x40}, std::pair{"edtWiredThreshold5", 0x41}}) {
        const Field& f = c.f(name);
        if (f.mark == 1)
            c.image[address] = f.text.isEmpty() ? 0 : ThresholdByte(c.parseDecimal(f));
    }
}

const std::vector<Row> kSendAlarmWhen{{"cbbxSendAlarmWhen", Enc::List, 0x42, 0, kScopeClassic, true, true}};

void FillTimers(MapContext& c) {
    const bool inUse = c.f("edtWiredAutoResetTimer1").mark == 1;
    for (int i = 1; i <= 5; ++i) {
        Field& f = c.f(QStringLiteral("edtWiredAutoResetTimer%1").arg(i));
        c.setText(f, inUse ? QString::number(ReadU16BE(c.image, 0x76 + 2 * (i - 1))) : QStringLiteral("---"));
    }
}

void CollectTimers(MapContext& c) {
    if (c.f("edtWiredAutoResetTimer1").mark != 1) {
        for (int a = 0x76; a <= 0x7F; ++a)
            c.image[a] = 0;
        return;
    }
    for (int i = 1; i <= 5; ++i) {
        const int value = c.parseStrict(c.f(QStringLiteral("edtWiredAutoResetTimer%1").arg(i)));
        WriteU16BE(c.image, 0x76 + 2 * (i - 1), static_cast<std::uint16_t>(value & 0xFFFF));
    }
}

// --- Preferences ----------------------------------------------------------------------------------------

const std::vector<Row> kSupervision{
    {"cbbxPowerMode", Enc::List, 0x52, 0, kScopeClassic, true, true},
    {"cbbxBatteryAlarm", Enc::List, 0x30, 0, kScopeClassic, true, true},
    {"edtBatteryAlarmInterval", Enc::Dash, 0, 0, kScopeClassic, false, false},
    {"cbbxBatteryAlarmIntervalUnits", Enc::Fixed, 0, 0, kScopeClassic, false, false, 1},
    {"edtLowBatteryThreshold", Enc::Dash, 0, 0, kScopeClassic, false, false},
    {"cbbxMainsFailure", Enc::List, 0x31, 0, kScopeClassic, true, true},
    {"cbbxMainsOK", Enc::List, 0x32, 0, kScopeClassic, true, true},
    {"edtTestAlarmInterval", Enc::Byte, 0x33, 0, kScopeClassic, false, true},
    {"cbbxTestAlarmIntervalUnits", Enc::Fixed, 0, 0, kScopeClassic, false, false, 0},
    {"edtBatteryChargeDuration", Enc::Byte, 0xF5, 0, kScopeClassic, false, true},
    {"edtOutPassageDelay", Enc::ByteFF0, 0x44, 0, kScopeClassic, false, true},
    {"edtInPassageDelay", Enc::ByteFF0, 0x45, 0, kScopeClassic, false, true},
};

void FillPulse(MapContext& c) {
    Field& f = c.f("edtPulseActivationTime");
    if (f.mark == 2)
        c.setText(f, QStringLiteral("---"));
    else if (f.mark == 1 && c.isV1x())
        c.setText(f, c.decimal(c.image[0x43] * 0.1, 1));
    else if (f.mark == 1 && c.isV2x())
        c.setText(f, c.decimal((c.image[0x57] * 256 + c.image[0x43]) * 0.1, 1));
}

void CollectPulse(MapContext& c) {
    const Field& f = c.f("edtPulseActivationTime");
    if (f.mark != 1 || (!c.isV1x() && !c.isV2x()))
        return;
    if (f.text.isEmpty()) {
        c.image[0x43] = 0;
        if (c.isV2x())
            c.image[0x57] = 0;
        return;
    }
    const double d = c.parseDecimal(f);
    if (c.isV1x()) {
        c.image[0x43] =
            d > 25.5 ? 0xFF : static_cast<std::uint8_t>(static_cast<int>(std::trunc(d * 10)) & 0xFF);
    } else if (d > 6553.4) {
        c.image[0x57] = 0xFF;
        c.image[0x43] = 0xFF;
    } else {
        const int n = static_cast<int>(std::trunc(d * 10));
        c.image[0x57] = static_cast<std::uint8_t>((n >> 8) & 0xFF);
        c.image[0x43] = static_cast<std::uint8_t>(n & 0xFF);
    }
}

const std::vector<Row> kTransmissions{
    {"edtNoShortTransm", Enc::Byte, 0x50, 0, kScopeClassic, false, true},
    {"edtNoLongTransm", Enc::Byte, 0x51, 0, kScopeClassic, false, true},
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
        SetJumperBox(c, "cbDelayUseJumpers", c.product == kMuve);
        SetJumperBox(c, "cbMaxNoOfHopsUseJumpers", c.product == kMuve);
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
    const bool delayJumpers = c.image[0x53] == 0xFF && c.image[0x67] == 0xFF;
    SetJumperBox(c, "cbDelayUseJumpers", delayJumpers);
    if (delayJumpers) {
        c.setText(delay, QStringLiteral("---"));
        c.form.setEnabled(delay, false);
    } else {
        c.setText(delay, c.decimal((c.image[0x67] * 256 + c.image[0x53]) * 0.1, 1));
    }
    const bool hopsJumpers = c.image[0x54] == 0xFF;
    SetJumperBox(c, "cbMaxNoOfHopsUseJumpers", hopsJumpers);
    if (hopsJumpers) {
        c.setText(hops, QStringLiteral("---"));
        c.form.setEnabled(hops, false);
    } else {
        c.setText(hops, QString::number(c.image[0x54]));
    }
}

void CollectDelayAndHops(MapContext& c) {
    const Field& delay = c.f("edtDelay");
    if (delay.mark == 1 && c.isV2x()) {
        if (c.f("cbDelayUseJumpers").checked) {
            c.image[0x67] = c.image[0x53] = 0xFF;
        } else if (delay.text.isEmpty()) {
            c.image[0x67] = c.image[0x53] = 0;
        } else {
            const double d = c.parseDecimal(delay);
            // 6553.4 s is the longest delay that is not the jumper mark 0xFFFF.
            const int n = d > 6553.4 ? 0xFFFE : static_cast<int>(std::trunc(d * 10));
            c.image[0x67] = static_cast<std::uint8_t>((n >> 8) & 0xFF);
            c.image[0x53] = static_cast<std::uint8_t>(n & 0xFF);
        }
    }
    const Field& hops = c.f("edtMaxNoOfHops");
    if (hops.mark == 1) {
        if (c.f("cbMaxNoOfHopsUseJumpers").checked) {
            c.image[0x54] = 0xFF;
        } else {
            bool ok = false;
            const int n = hops.text.trimmed().toInt(&ok);
            c.image[0x54] = static_cast<std::uint8_t>((ok ? n : 1) & 0xFF);
        }
    }
}

void FillInhibitTimes(MapContext& c) {
    Field& inhibit = c.f("edtSameCodeInhibitTime");
    if (c.isV1x()) {
        c.setText(inhibit, c.product == kBora ? QStringLiteral("---") : QStringLiteral("11"));
    } else if (c.version == 0x20) {
        c.show(inhibit, QString::number(c.image[0x56]));
    } else if (c.version == 0x21) {
        c.show(inhibit, QString::number(c.image[0x66] * 256 + c.image[0x56]));
    } else if (c.version == 0x22) {
        c.show(inhibit, QString::number(ReadU16BE(c.image, 0x70)));
    }
    Field& dementia = c.f("edtDementiaBlockTime");
    if (c.version == 0x22)
        c.show(dementia, QString::number(ReadU16BE(c.image, 0x72)));
    else if (c.isV1x() || c.isV2x())
        c.setText(dementia, QStringLiteral("---"));
}

void CollectInhibitTimes(MapContext& c) {
    const Field& inhibit = c.f("edtSameCodeInhibitTime");
    if (inhibit.mark == 1) {
        const int n = MapContext::ParseLenient(inhibit.text);
        if (c.version == 0x20) {
            c.image[0x56] = static_cast<std::uint8_t>(n & 0xFF);
        } else if (c.version == 0x21) {
            c.image[0x56] = static_cast<std::uint8_t>(n & 0xFF);
            c.image[0x66] = static_cast<std::uint8_t>((n >> 8) & 0xFF);
        } else if (c.version == 0x22) {
            WriteU16BE(c.image, 0x70, static_cast<std::uint16_t>(n & 0xFFFF));
        }
    }
    const Field& dementia = c.f("edtDementiaBlockTime");
    if (dementia.mark == 1 && c.version == 0x22)
        WriteU16BE(c.image, 0x72,
                   static_cast<std::uint16_t>(MapContext::ParseLenient(dementia.text) & 0xFFFF));
}

const std::vector<Row> kRadioSettings{
    {"cbbxAcknowledge", Enc::List, 0x55, 0, kScopeClassic, true, true},
    {"cbbxFrequencyBandTransmit", Enc::Fixed, 0, 0, kScopeClassic, false, false, 0},
    {"cbbxFrequencyBandReceive", Enc::List, 0x91, 0, kScopeClassic, true, true},
    {"edtCarrierSenseThresholdValue", Enc::Dash, 0, 0, kScopeClassic, false, false},
};

void FillRadioSettingsRest(MapContext& c) {
    c.form.setChecked(c.f("cbListenBeforeTransmit"), false);
    c.show(c.f("edtEquipmentType"), QString::number(c.image[0x1F]));
    c.setText(c.f("edtProductionDate"), QStringLiteral("---"));
    const int hw = c.image[0xFB];
    c.setText(c.f("edtHardvareVersion"),
              hw == 0x00 || hw == 0xFF ? QStringLiteral("1.0")
                                       : QStringLiteral("%1.%2").arg(hw >> 4, 0, 16).arg(hw & 0xF, 0, 16));
}

// --- Product information and K-ORBA positions ----------------------------------------------------------

void FillProductInfo(MapContext& c) {
    ShowDeviceRadioId(c);
    c.selectAlways(c.f("cbbxProductName"), c.image[kProductCodeAddress], kProductCodeAddress);
    c.setText(c.f("edtProgramVersion"),
              FormatVersion(static_cast<std::uint16_t>(c.image[kVersionCodeAddress] << 8 |
                                                       c.image[kMinorVersionAddress])));
    Field& regions = c.f("cbbxFrequencyRegion");
    const int region = IndexOfValue(regions.list.values, c.image[0xFC]);
    c.form.setIndex(regions, region);
    c.setText(c.f("edtFrequencyRegion"), region >= 0 ? regions.list.items[region] : QStringLiteral("---"));
    c.setText(c.f("edtSerialNumber"),
              QString::number(c.image[0xFD] << 16 | c.image[0xFE] << 8 | c.image[0xFF]));
    c.setText(c.f("edtRadioCalibration"), QString::number(c.image[0xF7]));

    const bool codes = c.f("edtPosCode1").mark == 1;
    for (int n = 1; n <= 8; ++n) {
        const int a = 0xA0 + 2 * (n - 1);
        c.setText(c.f(QStringLiteral("edtPosCode%1").arg(n)),
                  codes ? CodeToText(c.image[a], c.image[a + 1]) : QStringLiteral("---"));
    }
    const bool types = c.f("cbbxPosType1").mark == 1;
    const bool relays = c.f("cbbxPosRelay1").mark == 1;
    // All eight types before the eight relays, so that the last fault reported is that of the relays.
    for (int n = 1; n <= 8; ++n)
        c.selectStored(c.f(QStringLiteral("cbbxPosType%1").arg(n)), types ? c.image[0xB0 + n - 1] : 0,
                       types ? 0xB0 + n - 1 : -1);
    for (int n = 1; n <= 8; ++n)
        c.selectStored(c.f(QStringLiteral("cbbxPosRelay%1").arg(n)), relays ? c.image[0xC0 + n - 1] : 0,
                       relays ? 0xC0 + n - 1 : -1);
    Field& inhibit = c.f("edtInhibitRelayAfterPersonnell");
    c.setText(inhibit, inhibit.mark == 1 ? c.decimal(c.image[0x9F] * 0.1, 1) : QStringLiteral("---"));
}

void CollectProductInfo(MapContext& c) {
    // The product code must never be lost: without a selection the image keeps its own byte.
    const int product = c.f("cbbxProductName").value();
    if (product >= 0)
        c.image[kProductCodeAddress] = static_cast<std::uint8_t>(product & 0xFF);
    const Field& equipment = c.f("edtEquipmentType");
    if (equipment.mark == 1)
        c.image[0x1F] = static_cast<std::uint8_t>(MapContext::ParseLenient(equipment.text) & 0xFF);
    const int serial = MapContext::ParseLenient(c.f("edtSerialNumber").text);
    c.image[0xFD] = static_cast<std::uint8_t>((serial >> 16) & 0xFF);
    c.image[0xFE] = static_cast<std::uint8_t>((serial >> 8) & 0xFF);
    c.image[0xFF] = static_cast<std::uint8_t>(serial & 0xFF);
    c.image[0xF7] =
        static_cast<std::uint8_t>(MapContext::ParseLenient(c.f("edtRadioCalibration").text) & 0xFF);

    if (c.f("edtPosCode1").mark == 1) {
        for (int n = 1; n <= 8; ++n)
            WriteU16BE(c.image, 0xA0 + 2 * (n - 1),
                       TextToCode(c.f(QStringLiteral("edtPosCode%1").arg(n)).text));
    }
    if (c.f("cbbxPosType1").mark == 1) {
        for (int n = 1; n <= 8; ++n)
            c.storeSelected(c.f(QStringLiteral("cbbxPosType%1").arg(n)), 0xB0 + n - 1);
    }
    if (c.f("cbbxPosRelay1").mark == 1) {
        for (int n = 1; n <= 8; ++n)
            c.storeSelected(c.f(QStringLiteral("cbbxPosRelay%1").arg(n)), 0xC0 + n - 1);
    }
    const Field& inhibit = c.f("edtInhibitRelayAfterPersonnell");
    if (inhibit.mark == 1) {
        // Divided by the double nearest 0.1 in extended precision, the quotient rounded to a double: so
        // every text the fill shows gives back its byte (in plain double 2,3 would give 22).
        const double quotient =
            static_cast<double>(c.parseDecimalExtended(inhibit) / static_cast<long double>(0.1));
        c.image[0x9F] = static_cast<std::uint8_t>(static_cast<long long>(std::trunc(quotient)) & 0xFF);
    }
}

// --- The steps in fill order ----------------------------------------------------------------------------

Rule Only(std::function<void(MapContext&, MapState&, const MapHooks&)> fill) {
    return {std::move(fill), nullptr};
}

const std::vector<Step>& Steps() {
    static const std::vector<Step> steps{
        kRadioCodes,
        kRadioActionsV2x,
        kRadioActionsV1x,
        Rule{nullptr, CollectRadioActionsV1x},
        kRadioAlarmTypes,
        Rule{nullptr, CollectAlarmTypes},
        Only([](MapContext& c, MapState&, const MapHooks& h) {
            if (h.processEvents)
                h.processEvents();
            ShowActionCodes(c);
        }),
        kWiredInputs,
        Rule{nullptr, CollectWiredV1x},
        Rule{[](MapContext& c, MapState&, const MapHooks&) { FillThresholds(c); }, CollectThresholds},
        kSendAlarmWhen,
        Only([](MapContext& c, MapState& s, const MapHooks& h) {
            if (h.processEvents)
                h.processEvents();
            ShowWiredCodes(c);
            CopyWiredAlarmTypes(c);
            MirrorFixedInput(c);
            ApplyAnalogueInputs(c, s, true);
        }),
        Rule{[](MapContext& c, MapState&, const MapHooks&) { FillTimers(c); }, CollectTimers},
        kSupervision,
        Rule{[](MapContext& c, MapState&, const MapHooks&) { FillPulse(c); }, CollectPulse},
        kTransmissions,
        Rule{[](MapContext& c, MapState&, const MapHooks&) { FillDelayAndHops(c); }, CollectDelayAndHops},
        Rule{[](MapContext& c, MapState&, const MapHooks&) { FillInhibitTimes(c); }, CollectInhibitTimes},
        kRadioSettings,
        Only([](MapContext& c, MapState&, const MapHooks&) { FillRadioSettingsRest(c); }),
        Rule{[](MapContext& c, MapState&, const MapHooks&) { FillProductInfo(c); }, CollectProductInfo},
    };
    return steps;
}

bool RowApplies(const MapContext& c, const Row& row) {
    return row.scope.contains(c.product, c.version);
}

} // namespace

// Fill and collect walk the same steps in the same order.
template <typename OnRow, typename OnRule> void Walk(const MapContext& c, OnRow onRow, OnRule onRule) {
    for (const Step& step : Steps()) {
        if (const auto* rows = std::get_if<std::vector<Row>>(&step)) {
            for (const Row& row : *rows) {
                if (RowApplies(c, row))
                    onRow(row);
            }
        } else {
            onRule(std::get<Rule>(step));
        }
    }
}

int FillClassic(MapContext& c, MapState& state, const MapHooks& hooks) {
    Walk(
        c, [&](const Row& row) { FillRow(c, row); },
        [&](const Rule& rule) {
            if (rule.fill)
                rule.fill(c, state, hooks);
        });
    return c.fault;
}

void CollectClassic(MapContext& c) {
    Walk(
        c, [&](const Row& row) { CollectRow(c, row); },
        [&](const Rule& rule) {
            if (rule.collect)
                rule.collect(c);
        });
}

} // namespace zal
