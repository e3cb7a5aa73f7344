#pragma once

#include "config/ConfigImage.h"
#include "config/Identification.h"
#include "config/Products.h"
#include "form/FormModel.h"

#include <QLocale>
#include <QString>

#include <functional>
#include <optional>

namespace zal {

// A decimal or whole-number text that does not parse stops a collect, as the toolkit's conversion
// error did; the command that collected reports it.
struct ConversionError {
    QString fieldName;
    QString text;
    bool decimal;
    QString message() const;
};

// Hooks of the editor that the maps call while filling.
struct MapHooks {
    std::function<void()> processEvents; // lets a view repaint between the pages of a fill
};

// What the parameter maps work on: the fields, the working image and the current selection.
class MapContext {
public:
    MapContext(FormModel& form, ConfigImage& image, int product, int version, const QLocale& locale)
        : form(form), image(image), product(product), version(version), locale(locale),
          firmware(Firmware::Of(image, product)) {}

    FormModel& form;
    ConfigImage& image;
    int product;
    int version;
    QLocale locale;
    Firmware firmware; // of the image as it was when the map began
    int fault = -1;    // the image address of the last value that matched no list item

    Field& f(const char* name) { return form[name]; }
    Field& f(const QString& name) { return form.field(name); }

    // Shows a stored value in a drop-down by its presence mark: mark 1 selects the item with that value
    // (and, when none has it, clears the selection and records faultAddress when faultAddress >= 0);
    // mark 2 selects item 0; any other mark leaves the field alone.
    void selectStored(Field& field, int value, int faultAddress = -1);
    // Selects the item with that value whatever the mark; records the fault when none has it.
    void selectAlways(Field& field, int value, int faultAddress);

    // A read-only drop-down that shows no item (its byte matched no item) keeps the image's byte: it was
    // never the technician's to change, and writing "no selection" (0xFF) would destroy it.
    static bool KeepsImageByte(const Field& field) {
        return field.kind() == FieldKind::Combo && !field.enabled && field.index < 0;
    }
    // Writes the stored value of the selected item (0xFF without selection), unless the field keeps
    // the image's byte.
    void storeSelected(const Field& field, int address) {
        if (!KeepsImageByte(field))
            image[address] = static_cast<std::uint8_t>(field.value() & 0xFF);
    }

    // Shows a text by the field's presence mark: mark 1 the text, mark 2 the placeholder.
    void show(Field& field, const QString& text, const QString& placeholder = QStringLiteral("---"));
    void setText(Field& field, const QString& text) { form.setText(field, text); }

    // Numbers in the user's locale.
    QString decimal(double value, int decimals) const;
    // A text that does not parse gives 0 and is kept as the conversion's first error: the collection
    // goes on into its copy of the image, and the caller discards the copy when there is one.
    double parseDecimal(const Field& field) const;
    // A decimal text in the user's locale; nothing when it is not one.
    static std::optional<double> ParseDecimal(const QLocale& locale, const QString& text);
    // The same in extended precision, as the original parsed decimal texts.
    long double parseDecimalExtended(const Field& field) const;
    static int ParseLenient(const QString& text); // 0 when the text is not a whole number
    int parseStrict(const Field& field) const;    // as parseDecimal, for a whole number
    // The first text a collection could not parse; none when every one did.
    mutable std::optional<ConversionError> conversionError;

    bool isV1x() const { return version == kVersionV1x; }
    bool isV2x() const { return IsV2x(version); }
};

} // namespace zal
