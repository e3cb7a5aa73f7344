#pragma once

#include "editor/EnterData.h"

#include <QString>

namespace zal {

// Writes what the service needs to help with a problem into one zip archive: the support log, the
// versions, the KBX's information, the tail of the backup index and Values.ini. Failed with the
// reason as the result's detail.
CommandResult SaveSupportBundle(TfrmEnterData& editor, const QString& path);

} // namespace zal
