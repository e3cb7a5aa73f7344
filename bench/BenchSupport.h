#pragma once

#include "shell/Dialogs.h"

#include <sys/resource.h>

namespace zal::bench {

// The process's CPU time (user and system) in seconds.
inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One measured transfer: wall time, the line time of its bytes, and CPU time as a share of wall time.
struct Figures {
    double wallMs, lineMs, cpuShare;
};

// 11 bits a byte (start, 8 data, 2 stop) at 57600 baud.
inline double LineMs(long long bytes) {
    return bytes * 11.0 / 57600.0 * 1000.0;
}

// Dialogs that answer every question No, cancel every file dialog and remember the last message shown:
// what a benchmark needs of the editor's commands.
class SilentDialogs : public Dialogs {
public:
    void message(MessageKind, int id, const QString&) override { last = id; }
    Answer question(MessageKind, int, const QString&, QuestionButtons) override { return Answer::No; }
    std::optional<FileDialogResult> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<FileDialogResult> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    int last = 0;
};

} // namespace zal::bench
