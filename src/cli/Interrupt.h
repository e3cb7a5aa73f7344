#pragma once

namespace zal::cli {

// Exit code of a command ended by Ctrl+C or SIGTERM.
constexpr int kInterrupted = 130;

// Ctrl+C and SIGTERM must not kill a device command halfway: a device half written, reception left on
// or the KBX left open would be the result. From here on they only raise a flag; the command finishes
// the transfer under way (less than a second), closes the KBX and ends with kInterrupted.
void CatchInterrupts();
bool Interrupted();

} // namespace zal::cli
