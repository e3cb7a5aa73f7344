#include "MapContext.h"

#include "form/ValueList.h"

#include <QCoreApplication>
#include <charconv>
#include <string>

namespace zal {

QString ConversionError::message() const {
    return decimal
               ? QCoreApplication::translate("Maps", "'%1' ist kein gültiger Gleitkommawert").arg(text)
               : QCoreApplication::translate("Maps", "'%1' ist kein gültiger ganzzahliger Wert").arg(text);
}

void MapContext::selectStored(Field& field, int value, int faultAddress) {
    if (field.mark == 1) {
        const int index = IndexOfValue(field.list.values, value);
        form.setIndex(field, index);
        if (index < 0 && faultAddress >= 0)
            fault = faultAddress;
    } else if (field.mark == 2) {
        form.setIndex(field, 0);
    }
}

void MapContext::selectAlways(Field& field, int value, int faultAddress) {
    const int index = IndexOfValue(field.list.values, value);
    form.setIndex(field, index);
    if (index < 0)
        fault = faultAddress;
}

void MapContext::show(Field& field, const QString& text, const QString& placeholder) {
    if (field.mark == 1)
        form.setText(field, text);
    else if (field.mark == 2)
        form.setText(field, placeholder);
}

QString MapContext::decimal(double value, int decimals) const {
    return locale.toString(value, 'f', decimals);
}

std::optional<double> MapContext::ParseDecimal(const QLocale& locale, const QString& text) {
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

double MapContext::parseDecimal(const Field& field) const {
    const std::optional<double> value = ParseDecimal(locale, field.text);
    if (!value && !conversionError)
        conversionError = ConversionError{field.name(), field.text, true};
    return value.value_or(0.0);
}

long double MapContext::parseDecimalExtended(const Field& field) const {
    parseDecimal(field); // validates in the user's locale
    std::string text;
    for (QChar ch : field.text.trimmed()) {
        if (ch == locale.decimalPoint().front())
            text += '.';
        else if (ch != locale.groupSeparator().front())
            text += static_cast<char>(ch.toLatin1());
    }
    long double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

int MapContext::ParseLenient(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

int MapContext::parseStrict(const Field& field) const {
    bool ok = false;
    const int value = field.text.trimmed().toInt(&ok, 10);
    if (!ok && !conversionError)
        conversionError = ConversionError{field.name(), field.text, false};
    return ok ? value : 0;
}

} // namespace zal
