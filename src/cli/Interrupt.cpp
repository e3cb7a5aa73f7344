#include "Interrupt.h"

#include "records/RecordsDatabase.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace zal::cli {
namespace {

// Set from a signal handler and read from the production line's threads: a lock-free atomic is safe for
// both, where a volatile sig_atomic_t is safe only within the thread the signal interrupts.
std::atomic<bool> gInterrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// The handler's word to the thread that acts on a stop; a write to a pipe is all a handler may do.
int gWake[2] = {-1, -1};

void OnInterrupt(int) {
    const int saved = errno;
    gInterrupted.store(true);
    if (gWake[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(gWake[1], &byte, 1);
    }
    errno = saved;
}

// A statement on the records does not look at the flag: a server that does not answer, or a lock
// another program holds, would keep the command waiting. This thread cancels what is under way.
void ActOnStops() {
    for (;;) {
        char byte = 0;
        const auto got = ::read(gWake[0], &byte, 1);
        if (got == 1)
            RecordsDatabase::CancelRunning();
        else if (got == 0 || errno != EINTR)
            return;
    }
}

} // namespace

void CatchInterrupts() {
    if (gWake[0] < 0 && ::pipe2(gWake, O_CLOEXEC) == 0) {
        ::fcntl(gWake[1], F_SETFL, O_NONBLOCK); // a handler never blocks, however many signals come
        std::thread(ActOnStops).detach();
    }
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
