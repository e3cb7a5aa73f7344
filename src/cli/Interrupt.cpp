#include "Interrupt.h"

#include <atomic>
#include <csignal>

namespace zal::cli {
namespace {

// Set from a signal handler and read from the production line's threads: a lock-free atomic is safe for
// both, where a volatile sig_atomic_t is safe only within the thread the signal interrupts.
std::atomic<bool> gInterrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void OnInterrupt(int) {
    gInterrupted.store(true);
}

} // namespace

void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a wait on the KBX wakes up and goes on by its own deadline
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // The terminal closed (an SSH session dropped): the transfer under way still finishes and is
    // logged, rather than the device being left half written.
    sigaction(SIGHUP, &action, nullptr);
}

bool Interrupted() {
    return gInterrupted.load();
}

} // namespace zal::cli
