#pragma once

#include <QStringList>

namespace zal {

// Expands a family pattern into field names: "edtRxCodePos{1-8}" gives edtRxCodePos1 ... edtRxCodePos8,
// "cbbxActionRelayPos{F,A}" gives the two, and patterns separated by spaces are joined in order.
QStringList ExpandFieldNames(const char* pattern);

} // namespace zal
