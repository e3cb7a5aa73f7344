// The older products' map, page of wired inputs and outputs.

#include "ClassicPages.h"
#include "config/Identification.h"
#include "form/FieldNames.h"
#include "radio/RadioCode.h"

#include <cmath>

namespace zal {
namespace {

const std::vector<Row> kWiredInputs{
    {"cbbxWiredInputType{1-5}", Enc::List, 0x60, 1, kScopeClassic, true, Writer::Row},
    {"cbbxWiredRelay{1-5}", Enc::List, kWiredRelaysAddress, 1, kScopeV2x, true, Writer::Row},
    {"cbbxWiredTx{1-5}", Enc::List, 0x68, 1, kScopeV2x, true, Writer::Row},
    {"cbbxWiredRelay{1-5}", Enc::Bits, kWiredRelaysAddress, 1, kScopeV1x, true, Writer::Rule, 0, 0, 0x07},
    {"cbbxWiredTx{1-5}", Enc::Bits, kWiredRelaysAddress, 1, kScopeV1x, true, Writer::Rule, 0, kWiredTxBitV1x,
     0x01},
    {"cbbxWiredAlarmType{1-5}", Enc::List, 0x20, 1, kScopeClassic, true, Writer::Row},
};

void CollectWiredV1x(MapContext& c) {
    if (!c.isV1x())
        return;
    for (int i = 1; i <= 5; ++i) {
        WriteRelayBits(c, QStringLiteral("cbbxWiredRelay%1").arg(i), kWiredRelaysAddress + i - 1, 0x07);
        WriteTxBit(c, QStringLiteral("cbbxWiredTx%1").arg(i), kWiredRelaysAddress + i - 1, kWiredTxBitV1x);
    }
}

constexpr std::pair<const char*, int> kThresholds[] = {{"edtWiredThreshold4", kWiredThreshold4Address},
                                                       {"edtWiredThreshold5", kWiredThreshold5Address}};

void FillThresholds(MapContext& c) {
    for (const auto& [name, address] : kThresholds)
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
    for (const auto& [name, address] : kThresholds) {
        const Field& f = c.f(name);
        if (f.mark == 1)
            c.image[address] = f.text.isEmpty() ? 0 : ThresholdByte(c.parseDecimal(f));
    }
}

const std::vector<Row> kSendAlarmWhen{
    {"cbbxSendAlarmWhen", Enc::List, 0x42, 0, kScopeClassic, true, Writer::Row}};

void FillTimers(MapContext& c) {
    const bool inUse = c.f("edtWiredAutoResetTimer1").mark == 1;
    for (int i = 1; i <= 5; ++i) {
        Field& f = c.f(QStringLiteral("edtWiredAutoResetTimer%1").arg(i));
        c.setText(f, inUse ? QString::number(ReadU16BE(c.image, kWiredResetTimerBytes.first + 2 * (i - 1)))
                           : QStringLiteral("---"));
    }
}

void CollectTimers(MapContext& c) {
    if (c.f("edtWiredAutoResetTimer1").mark != 1) {
        for (int a = kWiredResetTimerBytes.first; a <= kWiredResetTimerBytes.last; ++a)
            c.image[a] = 0;
        return;
    }
    for (int i = 1; i <= 5; ++i) {
        const int value = c.parseStrict(c.f(QStringLiteral("edtWiredAutoResetTimer%1").arg(i)));
        WriteU16BE(c.image, kWiredResetTimerBytes.first + 2 * (i - 1),
                   static_cast<std::uint16_t>(value & 0xFFFF));
    }
}

} // namespace

std::vector<Step> WiredInputSteps() {
    return {
        kWiredInputs,
        CollectOnly("V1.x wired relay and transmitter bits", CollectWiredV1x),
        Both("analogue thresholds", FillThresholds, CollectThresholds),
        kSendAlarmWhen,
        Repaint(),
        Rule{"derived wired fields",
             [](MapContext& c, MapState& s, const MapHooks&) {
                 ShowWiredCodes(c);
                 CopyWiredAlarmTypes(c);
                 MirrorFixedInput(c);
                 ApplyAnalogueInputs(c, s, true);
             },
             nullptr},
        Both("auto reset timers", FillTimers, CollectTimers),
    };
}

} // namespace zal
