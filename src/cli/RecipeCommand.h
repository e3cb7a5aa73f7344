#pragma once

#include <QStringList>
#include <QTextStream>

namespace zal::cli {

// zalctl apply: field values from a recipe (the form of show --json's "fields"), typed as set types them.
int RunApply(QTextStream& out, QTextStream& err, const QStringList& arguments);

} // namespace zal::cli
