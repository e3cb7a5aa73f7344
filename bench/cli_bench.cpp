// cli-bench: how fast zalctl starts, as ratios against an empty Qt Core program built beside it (the
// reference: a process that loads Qt Core, makes its application object and ends). Whole processes,
// started and waited for, each measured many times; the median counts. Targets: zalctl version at
// most 1.3x, zalctl show --json at most 2.5x.
//
// usage: cli-bench [--runs N]          (default 40 runs of each)
//        cli-bench --empty             (the reference program itself)

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// Wall time of one run of the program, in milliseconds; -1 when it did not end with status 0.
double RunOnce(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& a : command)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}

// How many shared libraries the program loads at start, as the dynamic loader lists them (ldd's way):
// each costs start-up time, so a library only some commands need is loaded when they use it.
int LoadedLibraries(const std::string& program) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_TRACE_LOADED_OBJECTS"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString(program), {});
    if (!p.waitForFinished(10000))
        return -1;
    int count = 0;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
        count += !line.trimmed().isEmpty() && !line.contains("linux-vdso");
    return count;
}

double Median(const std::vector<std::string>& command, int runs) {
    std::vector<double> times;
    RunOnce(command); // once to warm the page cache
    for (int i = 0; i < runs; ++i) {
        const double ms = RunOnce(command);
        if (ms < 0) {
            std::fprintf(stderr, "cli-bench: %s failed\n", command[0].c_str());
            std::exit(1);
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && std::strcmp(argv[1], "--empty") == 0) {
        QCoreApplication app(argc, argv);
        return 0;
    }
    int runs = 40;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
    }
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    const std::string zalctl = ZAL_BIN_DIR "/zalctl";
    const std::string file = (home.path() + QStringLiteral("/bench.Zal")).toStdString();
    // The folders are settled and a configuration saved before anything is measured.
    if (RunOnce({zalctl, "new", "ZAL", "-o", file}) < 0) {
        std::fprintf(stderr, "cli-bench: zalctl new failed\n");
        return 1;
    }
    const double reference = Median({QCoreApplication::applicationFilePath().toStdString(), "--empty"}, runs);
    const double version = Median({zalctl, "version"}, runs);
    const double show = Median({zalctl, "show", file, "--json"}, runs);
    std::printf("empty Qt Core program   %6.1f ms  (reference, median of %d)\n", reference, runs);
    std::printf("zalctl version          %6.1f ms  %.2fx  (target at most 1.3x), %d shared libraries\n",
                version, version / reference, LoadedLibraries(zalctl));
    std::printf("zalctl show --json      %6.1f ms  %.2fx  (target at most 2.5x)\n", show, show / reference);
    return 0;
}
