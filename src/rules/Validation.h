#pragma once

#include "form/FormModel.h"
#include "maps/MapContext.h"
#include "shell/Messages.h"

#include <QChar>
#include <QLocale>
#include <QStringList>

namespace zal {

// What the checks ask of the editor they are installed in: its form, the product and layout shown,
// the user's locale, and its way of showing a message or a text that does not parse.
class ValidationHost {
public:
    virtual FormModel& form() = 0;
    virtual int product() const = 0;
    virtual int version() const = 0;
    virtual const QLocale& locale() const = 0;
    virtual void show(MessageKind kind, Msg message, const QStringList& arguments = {}) = 0;
    virtual void ReportConversionError(const ConversionError& error) = 0;

protected:
    ~ValidationHost() = default;
};

// The key filters of the editor's entry fields, as pure functions of the key (and, where it matters,
// the product and the locale's decimal separator).
bool IsNumericKey(QChar key, bool minusAllowed);
bool IsDecimalKey(QChar key, QChar decimalSeparator);
bool IsWholeNumberKey(QChar key);

// Installs the key filters, range checks, exit checks and the click handlers of the check boxes that
// switch other fields.
void InstallValidation(ValidationHost& editor);

} // namespace zal
