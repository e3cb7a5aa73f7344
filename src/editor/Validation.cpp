// Checks while the technician types: key filters drop characters that can never be valid, change
// handlers put an out-of-range value back to its limit and say so, and leaving a radio ID code field
// with an incomplete code is reported. Nothing here touches the image.

#include "Validation.h"

#include "EnterData.h"
#include "FieldNames.h"
#include "config/Products.h"
#include "radio/RadioCode.h"
#include "shell/StringTable.h"

#include <optional>

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

class Checks {
public:
    explicit Checks(TfrmEnterData& editor) : e_(editor) {}

    int integer(const Field& f) const { return MapContext::ParseLenient(f.text); }

    // The decimal value, or nothing after the conversion error was shown (the text stays).
    std::optional<double> decimal(const Field& f) const {
        const std::optional<double> value = MapContext::ParseDecimal(e_.locale(), f.text);
        if (!value)
            e_.ReportConversionError(ConversionError{f.name(), f.text, true});
        return value;
    }

    QString oneDecimal(double value) const { return e_.locale().toString(value, 'f', 1); }

    // Shows the message, then puts the limit into the field, which runs its handler again.
    void reject(Field& f, Msg message, const QStringList& args, const QString& limit) {
        e_.show(MessageKind::Error, message, args);
        e_.form().setText(f, limit);
    }

    void onChange(const char* names, std::function<void(Checks&, Field&)> check) {
        for (const QString& name : ExpandFieldNames(names))
            e_.form().onTextChange(name, [checks = *this, check](Field& f) mutable { check(checks, f); });
    }

    TfrmEnterData& e_;
};

// A plain whole-number limit: "value or more" is rejected.
void AtLeast(Checks& c, Field& f, int limit, Msg message, const QString& setTo) {
    if (f.mark == 1 && c.integer(f) >= limit)
        c.reject(f, message, {}, setTo);
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

void InstallValidation(TfrmEnterData& editor) {
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
               const bool minus = editor.product() == kMuvePlus2 &&
                                  f.name() == QLatin1String("edtCarrierSenseThresholdValue");
               return IsNumericKey(key, minus);
           });
    filter(
        "edtActionTransmissionDelayPos{1-8,A} edtInhibitRelayAfterPersonnell edtWiredThreshold{4-5} "
        "edtPulseActivationTime edtLowBatteryThreshold edtDelay",
        [&editor](Field&, QChar& key) { return IsDecimalKey(key, editor.locale().decimalPoint().front()); });
    filter("edtSameCodeInhibitTime edtDementiaBlockTime",
           [](Field&, QChar& key) { return IsWholeNumberKey(key); });

    Checks checks(editor); // each handler keeps a copy
    const auto version = [&editor] { return editor.version(); };
    const auto plus = [&editor] { return IsPlusProduct(editor.product()); };
    const auto v2x = [version] { return IsV2x(version()); };

    checks.onChange("edtNoShortTransm", [](Checks& c, Field& f) {
        AtLeast(c, f, 256, Msg::ShortTransmissionsRange, QStringLiteral("255"));
    });
    checks.onChange("edtNoLongTransm", [](Checks& c, Field& f) {
        AtLeast(c, f, 256, Msg::LongTransmissionsRange, QStringLiteral("255"));
    });
    checks.onChange("edtTestAlarmInterval", [plus](Checks& c, Field& f) {
        const int max = plus() ? 500 : 255;
        if (f.mark == 1 && c.integer(f) > max)
            c.reject(f, Msg::TestIntervalRange, {QString::number(max)}, QString::number(max));
    });
    checks.onChange("edtPulseActivationTime", [version, v2x](Checks& c, Field& f) {
        if (f.mark != 1 || f.text.isEmpty() || (!v2x() && version() != 0))
            return;
        const std::optional<double> d = c.decimal(f);
        const double limit = v2x() ? 3600 : 25.5;
        const QString text = v2x() ? QStringLiteral("3600") : c.oneDecimal(25.5);
        if (d && *d > limit)
            c.reject(f, Msg::PulseTimeRange, {text}, text);
    });
    for (const auto& [name, id] : {std::pair{"edtWiredThreshold4", Msg::Threshold4Range},
                                   std::pair{"edtWiredThreshold5", Msg::Threshold5Range}}) {
        const Msg message = id;
        checks.onChange(name, [message](Checks& c, Field& f) {
            if (f.mark != 1 || f.text.isEmpty())
                return;
            const std::optional<double> d = c.decimal(f);
            if (d && *d > 3)
                c.reject(f, message, {}, c.oneDecimal(3));
        });
    }
    checks.onChange("edtBatteryChargeDuration", [](Checks& c, Field& f) {
        AtLeast(c, f, 256, Msg::ChargeDurationRange, QStringLiteral("255"));
    });
    checks.onChange("edtOutPassageDelay", [](Checks& c, Field& f) {
        AtLeast(c, f, 256, Msg::OutPassageDelayRange, QStringLiteral("255"));
    });
    checks.onChange("edtInPassageDelay", [](Checks& c, Field& f) {
        AtLeast(c, f, 256, Msg::InPassageDelayRange, QStringLiteral("255"));
    });
    checks.onChange("edtDelay", [version, v2x](Checks& c, Field& f) {
        if (f.mark != 1 || IsPlaceholder(f.text) || (!v2x() && version() != 0))
            return;
        const std::optional<double> d = c.decimal(f);
        if (!d)
            return;
        // Held in single precision and compared in double: 6553.4 and 25.4 pass, 6553.5 and 25.5 do not.
        const float value = static_cast<float>(*d);
        const double limit = v2x() ? 6553.4 : 25.4;
        const QString text = v2x() ? QStringLiteral("6553") : c.oneDecimal(25.4);
        if (static_cast<double>(value) > limit)
            c.reject(f, Msg::DelayRange, {text}, text);
    });
    checks.onChange("edtMaxNoOfHops", [](Checks& c, Field& f) {
        if (f.mark != 1 || IsPlaceholder(f.text))
            return;
        const int n = c.integer(f);
        if (n == 0 || n > 15)
            c.reject(f, Msg::HopsRange, {}, n == 0 ? QStringLiteral("1") : QStringLiteral("15"));
    });
    checks.onChange("edtSameCodeInhibitTime", [plus, version](Checks& c, Field& f) {
        if (f.mark != 1)
            return;
        if (!plus() && version() == kVersionV20)
            AtLeast(c, f, 256, Msg::InhibitTimeRange, QStringLiteral("255"));
        else if (plus() || version() == kVersionV21 || version() == kVersionV22)
            AtLeast(c, f, 3601, Msg::InhibitTimeLongRange, QStringLiteral("3600"));
    });
    checks.onChange("edtDementiaBlockTime", [plus, version](Checks& c, Field& f) {
        if (f.mark == 1 && (version() == kVersionV22 || plus()) && c.integer(f) > 3600)
            c.reject(f, Msg::DementiaTimeRange, {}, QStringLiteral("3600"));
    });
    checks.onChange("edtBatteryAlarmInterval", [](Checks& c, Field& f) {
        if (f.mark == 1 && c.integer(f) > 500)
            c.reject(f, Msg::BatteryIntervalRange, {QStringLiteral("500")}, QStringLiteral("500"));
    });
    checks.onChange("edtLowBatteryThreshold", [](Checks& c, Field& f) {
        if (f.mark != 1 || IsPlaceholder(f.text))
            return;
        const std::optional<double> d = c.decimal(f);
        if (d && *d > 6)
            c.reject(f, Msg::LowBatteryRange, {}, c.oneDecimal(6));
    });
    checks.onChange("edtCarrierSenseThresholdValue", [&editor](Checks& c, Field& f) {
        if (f.mark != 1)
            return;
        const int n = c.integer(f);
        if (editor.product() == kMuvePlus2) {
            if (n >= 128)
                c.reject(f, Msg::CarrierSensePlus2Range, {}, QStringLiteral("127"));
            else if (n < -128)
                c.reject(f, Msg::CarrierSensePlus2Range, {}, QStringLiteral("-128"));
        } else if (n >= 32) {
            c.reject(f, Msg::CarrierSenseRange, {}, QStringLiteral("31"));
        }
    });
    checks.onChange("edtInhibitRelayAfterPersonnell", [](Checks& c, Field& f) {
        if (!f.enabled || f.mark != 1 || IsPlaceholder(f.text))
            return;
        const std::optional<double> d = c.decimal(f);
        if (d && *d > 25)
            c.reject(f, Msg::InhibitRelayRange, {}, c.oneDecimal(25));
    });
    checks.onChange("edtEquipmentType",
                    [](Checks& c, Field& f) { AtLeast(c, f, 256, Msg::EquipmentTypeRange, QString()); });
    checks.onChange("edtWiredAutoResetTimer{1-5}", [](Checks& c, Field& f) {
        if (f.mark != 1 || IsPlaceholder(f.text))
            return;
        const std::optional<double> d = c.decimal(f);
        if (d && *d > 6553.4)
            c.reject(f, Msg::AutoResetTimeRange, {}, QStringLiteral("6553"));
    });
    checks.onChange("edtActionTransmissionDelayPos{1-8,A}", [](Checks& c, Field& f) {
        if (!f.enabled || f.mark != 1 || IsPlaceholder(f.text))
            return;
        const std::optional<double> d = c.decimal(f);
        if (d && *d > 3600)
            c.reject(f, Msg::DelayRange, {QStringLiteral("3600.00")}, c.oneDecimal(3600));
    });

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
        if (editor.product() == kMuvePlus2)
            editor.form().setEnabled(editor.form()["edtCarrierSenseThresholdValue"], f.checked);
    });
}

} // namespace zal
