#include "MapSteps.h"

#include "form/FieldNames.h"
#include "radio/RadioCode.h"

#include <cmath>

namespace zal {
namespace {

void Show(MapContext& c, Marks marks, Field& f, const QString& text,
          const QString& placeholder = QStringLiteral("---")) {
    if (marks == Marks::Respected)
        c.show(f, text, placeholder);
    else
        c.setText(f, text);
}

void FillRow(MapContext& c, Marks marks, const Row& row) {
    const QStringList names = ExpandFieldNames(row.fields);
    for (int n = 0; n < names.size(); ++n) {
        Field& f = c.f(names[n]);
        const int a = row.address + n * row.stride;
        switch (row.enc) {
        case Enc::Code:
            Show(c, marks, f, CodeToText(c.image[a], c.image[a + 1]), QStringLiteral("----"));
            break;
        case Enc::List:
            c.selectStored(f, c.image[a], row.mustMatch ? a : -1);
            break;
        case Enc::Bits:
            c.selectStored(f, (c.image[a] >> row.shift) & row.mask, a);
            break;
        case Enc::Fixed:
            c.selectStored(f, row.storedValue);
            break;
        case Enc::Dash:
            c.setText(f, QStringLiteral("---"));
            break;
        case Enc::Byte:
            Show(c, marks, f, QString::number(c.image[a]));
            break;
        case Enc::ByteFF0:
            Show(c, marks, f, c.image[a] == 0xFF ? QStringLiteral("0") : QString::number(c.image[a]));
            break;
        case Enc::Tenths:
            Show(c, marks, f, c.decimal(c.image[a] * 0.1, 1));
            break;
        case Enc::QuarterWhole:
            // Rounded half away from zero, as the original's number format did.
            Show(c, marks, f,
                 QString::number(static_cast<long long>(std::round(ReadU16BE(c.image, a) * 0.25))));
            break;
        case Enc::QuarterHundr:
            Show(c, marks, f, c.decimal(ReadU16BE(c.image, a) * 0.25, 2));
            break;
        case Enc::Check:
            c.form.setChecked(f, c.image[a] != 0);
            break;
        }
    }
}

void CollectRow(MapContext& c, Marks marks, const Row& row) {
    if (row.writer != Writer::Row)
        return;
    const QStringList names = ExpandFieldNames(row.fields);
    for (int n = 0; n < names.size(); ++n) {
        const Field& f = c.f(names[n]);
        if (marks == Marks::Respected && f.mark != 1)
            continue;
        const int a = row.address + n * row.stride;
        const auto byte = [](long long value) { return static_cast<std::uint8_t>(value & 0xFF); };
        const auto word = [](long long value) { return static_cast<std::uint16_t>(value & 0xFFFF); };
        switch (row.enc) {
        case Enc::Code:
            WriteU16BE(c.image, a, TextToCode(f.text));
            break;
        case Enc::List:
            c.storeSelected(f, a);
            break;
        case Enc::Byte:
        case Enc::ByteFF0:
            c.image[a] = byte(MapContext::ParseLenient(f.text));
            break;
        case Enc::Tenths:
            c.image[a] = byte(static_cast<long long>(std::trunc(c.parseDecimal(f) * 10)));
            break;
        case Enc::QuarterWhole:
            WriteU16BE(c.image, a, word(static_cast<long long>(std::trunc(c.parseDecimal(f) * 4))));
            break;
        case Enc::QuarterHundr:
            // The nearest quarter second, halves going up.
            WriteU16BE(c.image, a, word(static_cast<long long>(std::trunc((c.parseDecimal(f) + 0.125) * 4))));
            break;
        case Enc::Check:
            c.image[a] = f.checked ? 1 : 0;
            break;
        case Enc::Bits:
        case Enc::Fixed:
        case Enc::Dash:
            break;
        }
    }
}

// Fill and collect walk the same steps in the same order.
template <typename OnRow, typename OnRule>
void Walk(const std::vector<Step>& steps, const MapContext& c, OnRow onRow, OnRule onRule) {
    for (const Step& step : steps) {
        if (const auto* rows = std::get_if<std::vector<Row>>(&step)) {
            for (const Row& row : *rows) {
                if (row.scope.contains(c.product, c.version))
                    onRow(row);
            }
        } else {
            onRule(std::get<Rule>(step));
        }
    }
}

} // namespace

Rule FillOnly(const char* name, std::function<void(MapContext&)> fill) {
    return {name, [fill = std::move(fill)](MapContext& c, MapState&, const MapHooks&) { fill(c); }, nullptr};
}

Rule CollectOnly(const char* name, std::function<void(MapContext&)> collect) {
    return {name, nullptr, std::move(collect)};
}

Rule Both(const char* name, std::function<void(MapContext&)> fill, std::function<void(MapContext&)> collect) {
    return {name, [fill = std::move(fill)](MapContext& c, MapState&, const MapHooks&) { fill(c); },
            std::move(collect)};
}

Rule Repaint() {
    return {"repaint",
            [](MapContext&, MapState&, const MapHooks& hooks) {
                if (hooks.processEvents)
                    hooks.processEvents();
            },
            nullptr};
}

int FillSteps(const std::vector<Step>& steps, Marks marks, MapContext& c, MapState& state,
              const MapHooks& hooks) {
    Walk(
        steps, c, [&](const Row& row) { FillRow(c, marks, row); },
        [&](const Rule& rule) {
            if (rule.fill)
                rule.fill(c, state, hooks);
        });
    return c.fault;
}

void CollectSteps(const std::vector<Step>& steps, Marks marks, MapContext& c) {
    Walk(
        steps, c, [&](const Row& row) { CollectRow(c, marks, row); },
        [&](const Rule& rule) {
            if (rule.collect)
                rule.collect(c);
        });
}

} // namespace zal
