#pragma once

#include <QChar>

namespace zal {

class TfrmEnterData;

// The key filters of the editor's entry fields, as pure functions of the key (and, where it matters,
// the product and the locale's decimal separator).
bool IsNumericKey(QChar key, bool minusAllowed);
bool IsDecimalKey(QChar key, QChar decimalSeparator);
bool IsWholeNumberKey(QChar key);

// Installs the key filters, range checks, exit checks and the click handlers of the check boxes that
// switch other fields.
void InstallValidation(TfrmEnterData& editor);

} // namespace zal
