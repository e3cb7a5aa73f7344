// Checks while the technician types: key filters drop characters that can never be valid, change
// handlers put an out-of-range value back to its limit and say so, and leaving a radio ID code field
// with an incomplete code is reported. Nothing here touches the image.

#include "Validation.h"

#include "config/Products.h"
#include "form/FieldNames.h"
#include "radio/RadioCode.h"
#include "shell/StringTable.h"

#include <map>
#include <optional>
#include <vector>

namespace zal {
namespace {

bool IsEditingKey(char16_t u) {
    return u == 3 || u == 8 || u == 22 || u == 24;
}
bool IsDigit(char16_t u) {
    return u >= u'0' && u <= u'9';
}

bool IsPlaceholder(const QString& text) {
    return text.isEmpty() || text == QLatin1String("---");
}

// How a field's text is read for its range check.
enum class Number {
    Whole,   // leniently: what does not parse counts as 0
    Decimal, // in the user's locale; a text that does not parse is reported and kept
    Single,  // the same, held in single precision and compared in double (25.4 passes, 25.5 not)
};

// Which texts a check leaves alone (besides a field not in use).
enum class Skip {
    Nothing,
    Empty,       // an empty field
    Placeholder, // empty or "---"
    Disabled,    // a disabled field, or a placeholder
};

// Every layout, and a version the product does not have.
constexpr Scope kAnyLayout = kScopeAll | Scope::Unknown();
constexpr Scope kV21V22 = kScopeV2x.onlyV2x({kVersionV21, kVersionV22});
constexpr Scope kV22 = kScopeV2x.onlyV2x({kVersionV22});

// The text a rejected value is replaced with when a limit names none: the limit with one decimal in
// the user's locale. A message argument of kSameText is that replacement text.
constexpr const char* kOneDecimal = nullptr;
constexpr const char kSameText[] = "=";

// Which products a limit applies to, as their rows say.
enum class Products {
    All,
    SignedSense,   // the carrier sense threshold is signed
    UnsignedSense, // it is not
};

// A field's range: a value below min or above max is rejected with the message, and the field gets
// the text for that side.
struct Limit {
    const char* fields;
    Scope layouts;
    Products products;
    Number number;
    Skip skip;
    double min, max;
    Msg message;
    const char* below;    // the text below min
    const char* above;    // the text above max (kOneDecimal: max, one decimal)
    const char* argument; // the message's %s: none (nullptr), a text, or kSameText

    bool appliesTo(int p, int version) const {
        return layouts.contains(p, version) &&
               (products == Products::All ||
                (products == Products::SignedSense) == ProductRow(p).signedCarrierSense);
    }
};

constexpr double kNone = -1e300;

// clang-format off
const Limit kLimits[] = {
    {"edtNoShortTransm", kAnyLayout, Products::All, Number::Whole, Skip::Nothing, kNone, 255, Msg::ShortTransmissionsRange, nullptr, "255", nullptr},
    {"edtNoLongTransm", kAnyLayout, Products::All, Number::Whole, Skip::Nothing, kNone, 255, Msg::LongTransmissionsRange, nullptr, "255", nullptr},
    {"edtTestAlarmInterval", kScopeClassic | Scope::Unknown(), Products::All, Number::Whole, Skip::Nothing, kNone, 255, Msg::TestIntervalRange, nullptr, "255", kSameText},
    {"edtTestAlarmInterval", kScopePlus, Products::All, Number::Whole, Skip::Nothing, kNone, 500, Msg::TestIntervalRange, nullptr, "500", kSameText},
    {"edtPulseActivationTime", kScopeV2x, Products::All, Number::Decimal, Skip::Empty, kNone, 3600, Msg::PulseTimeRange, nullptr, "3600", kSameText},
    {"edtPulseActivationTime", kScopeV1x, Products::All, Number::Decimal, Skip::Empty, kNone, 25.5, Msg::PulseTimeRange, nullptr, kOneDecimal, kSameText},
    {"edtWiredThreshold4", kAnyLayout, Products::All, Number::Decimal, Skip::Empty, kNone, 3, Msg::Threshold4Range, nullptr, kOneDecimal, nullptr},
    {"edtWiredThreshold5", kAnyLayout, Products::All, Number::Decimal, Skip::Empty, kNone, 3, Msg::Threshold5Range, nullptr, kOneDecimal, nullptr},
    {"edtBatteryChargeDuration", kAnyLayout, Products::All, Number::Whole, Skip::Nothing, kNone, 255, Msg::ChargeDurationRange, nullptr, "255", nullptr},
    {"edtOutPassageDelay", kAnyLayout, Products::All, Number::Whole, Skip::Nothing, kNone, 255, Msg::OutPassageDelayRange, nullptr, "255", nullptr},
    {"edtInPassageDelay", kAnyLayout, Products::All, Number::Whole, Skip::Nothing, kNone, 255, Msg::InPassageDelayRange, nullptr, "255", nullptr},
    {"edtDelay", kScopeV2x, Products::All, Number::Single, Skip::Placeholder, kNone, 6553.4, Msg::DelayRange, nullptr, "6553", kSameText},
    {"edtDelay", kScopeV1x, Products::All, Number::Single, Skip::Placeholder, kNone, 25.4, Msg::DelayRange, nullptr, kOneDecimal, kSameText},
    {"edtMaxNoOfHops", kAnyLayout, Products::All, Number::Whole, Skip::Placeholder, 1, 15, Msg::HopsRange, "1", "15", nullptr},
    {"edtSameCodeInhibitTime", kScopeV2x.onlyV2x({kVersionV20}), Products::All, Number::Whole, Skip::Nothing, kNone, 255, Msg::InhibitTimeRange, nullptr, "255", nullptr},
    {"edtSameCodeInhibitTime", kV21V22 | kScopePlus, Products::All, Number::Whole, Skip::Nothing, kNone, 3600, Msg::InhibitTimeLongRange, nullptr, "3600", nullptr},
    {"edtDementiaBlockTime", kV22 | kScopePlus, Products::All, Number::Whole, Skip::Nothing, kNone, 3600, Msg::DementiaTimeRange, nullptr, "3600", nullptr},
    {"edtBatteryAlarmInterval", kAnyLayout, Products::All, Number::Whole, Skip::Nothing, kNone, 500, Msg::BatteryIntervalRange, nullptr, "500", kSameText},
    {"edtLowBatteryThreshold", kAnyLayout, Products::All, Number::Decimal, Skip::Placeholder, kNone, 6, Msg::LowBatteryRange, nullptr, kOneDecimal, nullptr},
    {"edtCarrierSenseThresholdValue", kAnyLayout, Products::SignedSense, Number::Whole, Skip::Nothing, -128, 127, Msg::CarrierSensePlus2Range, "-128", "127", nullptr},
    {"edtCarrierSenseThresholdValue", kAnyLayout, Products::UnsignedSense, Number::Whole, Skip::Nothing, kNone, 31, Msg::CarrierSenseRange, nullptr, "31", nullptr},
    {"edtInhibitRelayAfterPersonnell", kAnyLayout, Products::All, Number::Decimal, Skip::Disabled, kNone, 25, Msg::InhibitRelayRange, nullptr, kOneDecimal, nullptr},
    {"edtEquipmentType", kAnyLayout, Products::All, Number::Whole, Skip::Nothing, kNone, 255, Msg::EquipmentTypeRange, nullptr, "", nullptr},
    {"edtWiredAutoResetTimer{1-5}", kAnyLayout, Products::All, Number::Decimal, Skip::Placeholder, kNone, 6553.4, Msg::AutoResetTimeRange, nullptr, "6553", nullptr},
    {"edtActionTransmissionDelayPos{1-8,A}", kAnyLayout, Products::All, Number::Decimal, Skip::Disabled, kNone, 3600, Msg::DelayRange, nullptr, kOneDecimal, "3600.00"},
};
// clang-format on

bool Skipped(const Limit& limit, const Field& f) {
    switch (limit.skip) {
    case Skip::Nothing:
        return false;
    case Skip::Empty:
        return f.text.isEmpty();
    case Skip::Placeholder:
        return IsPlaceholder(f.text);
    case Skip::Disabled:
        return !f.enabled || IsPlaceholder(f.text);
    }
    return false;
}

// Shows the limit's message, then puts the limit's text into the field, which runs the check again.
void CheckLimit(ValidationHost& editor, const Limit& limit, Field& f) {
    if (f.mark != 1 || Skipped(limit, f))
        return;
    double value = 0;
    if (limit.number == Number::Whole) {
        value = MapContext::ParseLenient(f.text);
    } else {
        const std::optional<double> parsed = MapContext::ParseDecimal(editor.locale(), f.text);
        if (!parsed) {
            editor.ReportConversionError(ConversionError{f.name(), f.text, true});
            return;
        }
        value = limit.number == Number::Single ? static_cast<double>(static_cast<float>(*parsed)) : *parsed;
    }
    QString text;
    if (value < limit.min)
        text = QString::fromLatin1(limit.below);
    else if (value > limit.max)
        text = limit.above ? QString::fromLatin1(limit.above) : editor.locale().toString(limit.max, 'f', 1);
    else
        return;
    QStringList arguments;
    if (limit.argument)
        arguments << (limit.argument == kSameText ? text : QString::fromLatin1(limit.argument));
    editor.show(MessageKind::Error, limit.message, arguments);
    editor.form().setText(f, text);
}

} // namespace

bool IsNumericKey(QChar key, bool minusAllowed) {
    const char16_t u = key.unicode();
    return IsDigit(u) || IsEditingKey(u) || (minusAllowed && u == u'-');
}

bool IsDecimalKey(QChar key, QChar decimalSeparator) {
    const char16_t u = key.unicode();
    return IsDigit(u) || IsEditingKey(u) || key == decimalSeparator;
}

bool IsWholeNumberKey(QChar key) {
    return IsNumericKey(key, false);
}

void InstallValidation(ValidationHost& editor) {
    FormModel& form = editor.form();
    const auto filter = [&form](const char* names, FormModel::KeyFilter keyFilter) {
        for (const QString& name : ExpandFieldNames(names))
            form.setKeyFilter(name, keyFilter);
    };
    filter("edtRxCodePos{1-8,F} edtActionCodePos{1-8,F,A} edtPosCode{1-8} edtWiredCode{1-5}",
           [](Field&, QChar& key) { return IsRadioCodeKey(key); });
    filter("edtWiredAutoResetTimer{1-5} edtTestAlarmInterval edtBatteryChargeDuration edtOutPassageDelay "
           "edtInPassageDelay edtBatteryAlarmInterval edtNoShortTransm edtNoLongTransm edtMaxNoOfHops "
           "edtCarrierSenseThresholdValue edtEquipmentType",
           [&editor](Field& f, QChar& key) {
               const bool minus = ProductRow(editor.product()).signedCarrierSense &&
                                  f.name() == QLatin1String("edtCarrierSenseThresholdValue");
               return IsNumericKey(key, minus);
           });
    filter(
        "edtActionTransmissionDelayPos{1-8,A} edtInhibitRelayAfterPersonnell edtWiredThreshold{4-5} "
        "edtPulseActivationTime edtLowBatteryThreshold edtDelay",
        [&editor](Field&, QChar& key) { return IsDecimalKey(key, editor.locale().decimalPoint().front()); });
    filter("edtSameCodeInhibitTime edtDementiaBlockTime",
           [](Field&, QChar& key) { return IsWholeNumberKey(key); });

    // Each field's range check runs on every change: it finds the limit for the product and layout
    // shown and puts an out-of-range value back to it. A field has one change handler, which looks
    // through all of that field's rows.
    std::map<QString, std::vector<const Limit*>> limitsOf;
    for (const Limit& limit : kLimits) {
        for (const QString& name : ExpandFieldNames(limit.fields))
            limitsOf[name].push_back(&limit);
    }
    for (const auto& entry : limitsOf) {
        form.onTextChange(entry.first, [&editor, limits = entry.second](Field& f) {
            for (const Limit* limit : limits) {
                if (limit->appliesTo(editor.product(), editor.version())) {
                    CheckLimit(editor, *limit, f);
                    return;
                }
            }
        });
    }

    // Leaving a code field with one to three characters: the code would be padded with zeros.
    for (const QString& name : ExpandFieldNames("edtRxCodePos{1-8} edtPosCode{1-8}")) {
        form.onExit(name, [&editor](Field& f) {
            if (f.text.size() >= 1 && f.text.size() <= 3)
                editor.show(MessageKind::Error, Msg::CodeHasFourDigits);
        });
    }

    // Check boxes that switch their entry field; the jumper boxes only while in use (the fill parks
    // their mark at 0 while it sets them).
    for (const auto& [box, edit] : {std::pair{"cbDelayUseJumpers", "edtDelay"},
                                    std::pair{"cbMaxNoOfHopsUseJumpers", "edtMaxNoOfHops"}}) {
        const char* editName = edit;
        form.onClick(QLatin1String(box), [&form, editName](Field& f) {
            if (f.mark != 1)
                return;
            Field& target = form[editName];
            form.setEnabled(target, !f.checked);
            form.setText(target, f.checked ? QStringLiteral("---") : QString());
        });
    }
    form.onClick(QStringLiteral("cbListenBeforeTransmit"), [&editor](Field& f) {
        if (ProductRow(editor.product()).signedCarrierSense)
            editor.form().setEnabled(editor.form()["edtCarrierSenseThresholdValue"], f.checked);
    });
}

} // namespace zal
