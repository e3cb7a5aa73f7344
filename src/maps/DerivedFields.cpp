// Fields derived from others: the codes an action or a wired input sends, the ZAL V1.x mirror of
// position 1 into the fixed input, and the analogue input rule.

#include "ParameterMap.h"
#include "config/Identification.h"
#include "config/Products.h"
#include "radio/DeviceIdentity.h"
#include "radio/RadioCode.h"
#include "shell/StringTable.h"

namespace zal {
namespace {

const QString kNoCode = QStringLiteral("----");

QString FixedCode(const MapContext& c, int k) {
    const int a = kFixedCodesAddress + 2 * (k - 1);
    return CodeToText(c.image[a], c.image[a + 1]);
}

QString PositionName(int index) { // 0-7 positions 1-8, 8 F, 9 A
    return index < 8 ? QString::number(index + 1) : index == 8 ? QStringLiteral("F") : QStringLiteral("A");
}

} // namespace

void ShowActionCodes(MapContext& c) {
    if (IsPlusProduct(c.product)) {
        // Eight action codes after the device's own: code v at 2v.
        for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 9}) {
            const QString pos = PositionName(index);
            const int v = c.f(QStringLiteral("cbbxActionTxPos") + pos).value();
            QString text = kNoCode;
            if (v == 255)
                text = Str(10639);
            else if (v >= 1 && v <= 8)
                text = CodeToText(c.image[kPlusOwnCodeAddress + 2 * v],
                                  c.image[kPlusOwnCodeAddress + 2 * v + 1]);
            c.setText(c.f(QStringLiteral("edtActionCodePos") + pos), text);
        }
        return;
    }
    if (!c.isV1x() && !c.isV2x())
        return;
    for (int index = 0; index < 10; ++index) {
        const QString pos = PositionName(index);
        const int v = c.f(QStringLiteral("cbbxActionTxPos") + pos).value();
        const bool own = index < 5; // positions 1-5 may send their own fixed code
        QString text = kNoCode;
        const ProductInfo& row = ProductRow(c.product);
        if (c.isV1x() && row.v1xActionCodes == V1xActionCodes::OwnFixed) {
            if (own && v == 1)
                text = FixedCode(c, index + 1);
        } else if (c.isV1x() && row.v1xActionCodes == V1xActionCodes::Repeated) {
            if (index != 8)
                text = Str(10639);
        } else if (c.isV2x() && row.txActionCodesV2x) {
            if (v == 1)
                text = Str(10639);
            else if (v == 2)
                text = FixedCode(c, 1);
            else if (v == 3 && own)
                text = FixedCode(c, index + 1);
        }
        c.setText(c.f(QStringLiteral("edtActionCodePos") + pos), text);
    }
}

void ShowWiredCodes(MapContext& c) {
    if (!c.isV1x() && !c.isV2x()) {
        if (IsPlusProduct(c.product)) {
            for (int i = 1; i <= 5; ++i)
                c.setText(c.f(QStringLiteral("edtWiredCode%1").arg(i)), kNoCode);
        }
        return;
    }
    for (int i = 1; i <= 5; ++i) {
        const int v = c.f(QStringLiteral("cbbxWiredTx%1").arg(i)).value();
        QString text = kNoCode;
        if (c.isV1x() && v == 1)
            text = FixedCode(c, i);
        else if (c.isV2x() && v == 2)
            text = FixedCode(c, 1);
        else if (c.isV2x() && v == 3)
            text = FixedCode(c, i);
        c.setText(c.f(QStringLiteral("edtWiredCode%1").arg(i)), text);
    }
}

void ShowProductIdentity(MapContext& c) {
    ShowDeviceRadioId(c);
    c.selectAlways(c.f("cbbxProductName"), c.image[kProductCodeAddress], kProductCodeAddress);
    c.setText(c.f("edtProgramVersion"), Firmware::Of(c.image).text());
}

void ShowDeviceRadioId(MapContext& c) {
    c.setText(c.f("edtDeviceRadioId"), IdentifyDevice(c.image, c.product).radioId);
}

void MirrorFixedInput(MapContext& c) {
    if (!c.isV1x() || !ProductRow(c.product).v1xSharedInputs)
        return;
    c.form.setIndex(c.f("cbbxActionRelayPosF"), c.f("cbbxActionRelayPos1").index);
    c.form.setIndex(c.f("cbbxActionTxPosF"), c.f("cbbxActionTxPos1").index);
    c.setText(c.f("edtActionCodePosF"), c.f("edtActionCodePos1").text);
    Field& alarmF = c.f("cbbxActionAlarmTypePosF");
    ValueList one;
    one.items.append(c.f("cbbxActionAlarmTypePos1").selectedText());
    c.form.setItems(alarmF, std::move(one));
    c.form.setIndex(alarmF, 0);
}

void CopyWiredAlarmTypes(MapContext& c) {
    if (!c.isV1x() || !ProductRow(c.product).v1xSharedInputs)
        return;
    for (int n = 1; n <= 5; ++n) {
        Field& alarm = c.f(QStringLiteral("cbbxActionAlarmTypePos%1").arg(n));
        ValueList one;
        one.items.append(c.f(QStringLiteral("cbbxWiredAlarmType%1").arg(n)).selectedText());
        c.form.setItems(alarm, std::move(one));
        c.form.setIndex(alarm, 0);
    }
}

void ApplyAnalogueInputs(MapContext& c, MapState& state, bool snapshot, int onlyInput) {
    if (!c.isV2x() || !ProductRow(c.product).wiredInputs)
        return;
    for (int k = 0; k < 2; ++k) {
        if (onlyInput >= 0 && onlyInput != k)
            continue;
        const int input = 4 + k;
        Field* outputs[4] = {&c.f(QStringLiteral("cbbxWiredRelay%1").arg(input)),
                             &c.f(QStringLiteral("cbbxWiredTx%1").arg(input)),
                             &c.f(QStringLiteral("cbbxWiredAlarmType%1").arg(input)),
                             &c.f(QStringLiteral("edtWiredCode%1").arg(input))};
        SavedOutputState& saved = state.analogue[static_cast<size_t>(k)];
        const auto save = [&] {
            saved.valid = true;
            saved.relayIndex = outputs[0]->index;
            saved.txIndex = outputs[1]->index;
            saved.alarmIndex = outputs[2]->index;
            saved.code = outputs[3]->text;
            for (int i = 0; i < 4; ++i) {
                saved.enabled[i] = outputs[i]->enabled;
                saved.marks[i] = outputs[i]->mark;
            }
        };
        if (snapshot)
            save();
        if (c.f(QStringLiteral("cbbxWiredInputType%1").arg(input)).value() == 3) {
            save();
            for (int i = 0; i < 3; ++i)
                c.form.setIndex(*outputs[i], -1);
            c.setText(*outputs[3], kNoCode);
            for (Field* f : outputs) {
                c.form.setEnabled(*f, false);
                c.form.setMark(*f, 2);
            }
        } else if (saved.valid) {
            c.form.setIndex(*outputs[0], saved.relayIndex);
            c.form.setIndex(*outputs[1], saved.txIndex);
            c.form.setIndex(*outputs[2], saved.alarmIndex);
            c.setText(*outputs[3], saved.code);
            for (int i = 0; i < 4; ++i) {
                c.form.setEnabled(*outputs[i], saved.enabled[i]);
                c.form.setMark(*outputs[i], saved.marks[i]);
            }
        }
    }
}

} // namespace zal
