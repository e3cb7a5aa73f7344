#pragma once

#include "shell/Result.h"

#include <QByteArray>

namespace zal {

class RecordsDatabase;

// The records as one workbook (xlsx) for a spreadsheet, a sheet per table: codes, serial numbers and
// versions as text cells (so that 1E10 stays a code and 004711 keeps its zeros), times as dates (UTC),
// counts and ids as numbers. Kept apart from the records so that only the program that writes one loads
// the workbook writer.
Result<QByteArray> RecordsWorkbook(RecordsDatabase& records);

} // namespace zal
