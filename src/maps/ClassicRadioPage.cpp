// The older products' map, page of radio inputs: the codes of the transmitters and what each position starts.

#include "ClassicPages.h"
#include "config/Identification.h"
#include "form/FieldNames.h"
#include "radio/RadioCode.h"

#include <cmath>

namespace zal {
namespace {

const std::vector<Row> kRadioCodes{
    {"edtRxCodePos{1-8}", Enc::Code, 0x00, 2, kScopeClassic, false, Writer::Row},
    {"edtRxCodePosF", Enc::Code, 0x1A, 0, kScopeClassic, false, Writer::Row},
    {"cbbxRxCodePosA", Enc::List, 0x27, 0, kScopeV2x, true, Writer::Row},
    {"cbbxRxCodePosA", Enc::Fixed, 0, 0, kScopeV1x, false, Writer::Nobody},
};

// V2x keeps relays, transmitters and alarm types in bytes of their own.
const std::vector<Row> kRadioActionsV2x{
    {"cbbxActionRelayPos{1-8}", Enc::List, 0x38, 1, kScopeV2x, true, Writer::Row},
    {"cbbxActionRelayPosF", Enc::List, 0x36, 0, kScopeV2x, true, Writer::Row},
    {"cbbxActionRelayPosA", Enc::List, 0x37, 0, kScopeV2x, true, Writer::Row},
    {"cbbxActionTxPos{1-8}", Enc::List, 0x48, 1, kScopeV2x, true, Writer::Row},
    {"cbbxActionTxPosF", Enc::List, 0x46, 0, kScopeV2x, true, Writer::Row},
    {"cbbxActionTxPosA", Enc::List, 0x47, 0, kScopeV2x, true, Writer::Row},
    {"cbbxActionAlarmTypePos{1-8}", Enc::List, kAlarmTypesAddress, 1, kScopeV2x, true, Writer::Rule},
    {"cbbxActionAlarmTypePosF", Enc::List, kAlarmTypePosFAddress, 0, kScopeV2x, true, Writer::Rule},
};

// V1.x packs relay (bits 0-1) and transmitter (bit 2, positions 1-5) into one byte per position.
const std::vector<Row> kRadioActionsV1x{
    {"cbbxActionRelayPos{1-8}", Enc::Bits, kPositionRelaysV1xAddress, 1, kScopeV1x, true, Writer::Rule, 0, 0,
     0x03},
    {"cbbxActionRelayPos{F,A}", Enc::Fixed, 0, 0, kScopeV1x, false, Writer::Nobody},
    {"cbbxActionTxPos{1-5}", Enc::Bits, kPositionRelaysV1xAddress, 1, kScopeV1x, true, Writer::Rule, 0,
     kRelayTxBitV1x, 0x01},
    {"cbbxActionTxPos{6-8,F,A}", Enc::Fixed, 0, 0, kScopeV1x, false, Writer::Nobody},
    {"cbbxActionAlarmTypePos{1-8,F}", Enc::Fixed, 0, 0, kScopeV1x, false, Writer::Nobody},
};

const std::vector<Row> kRadioAlarmTypes{
    {"cbbxActionAlarmTypePosA", Enc::List, kAlarmTypePosAAddress, 0, kScopeClassic, true, Writer::Rule},
    {"edtActionTransmissionDelayPos{1-8,A}", Enc::Dash, 0, 0, kScopeClassic, false, Writer::Nobody},
};

// Alarm types are written back in every version whenever their field is in use.
void CollectAlarmTypes(MapContext& c) {
    for (int n = 1; n <= 8; ++n) {
        const Field& f = c.f(QStringLiteral("cbbxActionAlarmTypePos%1").arg(n));
        if (f.mark == 1)
            c.storeSelected(f, kAlarmTypesAddress + n - 1);
    }
    for (const auto& [name, address] : {std::pair{"cbbxActionAlarmTypePosF", kAlarmTypePosFAddress},
                                        std::pair{"cbbxActionAlarmTypePosA", kAlarmTypePosAAddress}}) {
        const Field& f = c.f(name);
        if (f.mark == 1)
            c.storeSelected(f, address);
    }
}

void CollectRadioActionsV1x(MapContext& c) {
    if (!c.isV1x())
        return;
    for (int n = 1; n <= 8; ++n)
        WriteRelayBits(c, QStringLiteral("cbbxActionRelayPos%1").arg(n), kPositionRelaysV1xAddress + n - 1,
                       0x03);
    for (int n = 1; n <= 5; ++n)
        WriteTxBit(c, QStringLiteral("cbbxActionTxPos%1").arg(n), kPositionRelaysV1xAddress + n - 1,
                   kRelayTxBitV1x);
}

} // namespace

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

std::vector<Step> RadioInputSteps() {
    return {
        kRadioCodes,      kRadioActionsV2x,
        kRadioActionsV1x, CollectOnly("V1.x relay and transmitter bits", CollectRadioActionsV1x),
        kRadioAlarmTypes, CollectOnly("alarm types", CollectAlarmTypes),
        Repaint(),        FillOnly("action codes", ShowActionCodes),
    };
}

} // namespace zal
