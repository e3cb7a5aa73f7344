#pragma once

#include <QTextStream>

namespace zal::cli {

// bash completion for zalctl, made from the command table: each command completes its own options
// and arguments, so that a new command or option cannot be forgotten there. The package's completion
// file is this text, made at build time.
void PrintBashCompletion(QTextStream& out);

} // namespace zal::cli
