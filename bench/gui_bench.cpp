// gui-bench: how fast the windows come up, as ratios against an empty Qt window's start (target: at
// most 2x). Each figure is the median of five runs of a fresh process:
//   launch   - process start to the product selection window on screen
//   editor   - product button pressed to the editor window on screen (inside that process, 200 ms
//              after the selection window came up, as a technician takes at least that long to click)
//   backups  - File, "Sicherungen..." to its window on screen with BACKUPS (default 100,000) in the
//              records (5,000 devices, 20 each)
//   devices  - File, "Geräte..." to its window on screen over the same records: every device listed,
//              the first one's history shown
// The reference is the same process showing an empty main window. Without a display it runs on Qt's
// offscreen platform.

#include "BenchRecords.h"
#include "gui/DevicesDialog.h"
#include "gui/EnterDataWindow.h"
#include "gui/MainWindow.h"
#include "gui/QtDialogs.h"
#include "gui/RecordsDialogs.h"
#include "records/RecordsDatabase.h"
#include "shell/AppFolders.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace zal;

namespace {

// In the child: opens the backups or the devices window over the records the parent filled; prints its
// milliseconds.
int RecordsChild(int argc, char* argv[], bool devices, int count) {
    QApplication app(argc, argv);
    gui::QtDialogs dialogs;
    TfrmEnterData::Options options;
    options.installFolder = FindInstallFolder(QStringLiteral(ZAL_BIN_DIR));
    options.platform = SystemPlatformFolders();
    TfrmEnterData editor(dialogs, options);
    if (count > 0) { // the filling run
        const QString location =
            RecordsDatabase::Location(editor.folders().dataFolder, editor.folders().settings());
        const Result<int> added =
            RecordsDatabase(location).AddBackups(bench::BenchBackups(count, QStringLiteral("bench")));
        return added && *added == count ? (std::puts("0"), 0) : 1;
    }
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QDialog> window;
    if (devices)
        window = std::make_unique<gui::DevicesDialog>(editor);
    else
        window = std::make_unique<gui::BackupsDialog>(editor);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 1;
    std::printf("%.2f\n", timer.nsecsElapsed() / 1e6);
    return 0;
}

// In the child: shows what is measured and prints the milliseconds of the editor step (0 for none).
int Child(int argc, char* argv[], bool program) {
    QApplication app(argc, argv);
    if (!program) {
        QMainWindow window;
        window.show();
        return QTest::qWaitForWindowExposed(&window) ? (std::puts("0"), 0) : 1;
    }
    gui::QtDialogs dialogs;
    TfrmEnterData::Options options;
    options.installFolder = FindInstallFolder(QStringLiteral(ZAL_BIN_DIR));
    options.platform = SystemPlatformFolders();
    TfrmEnterData editor(dialogs, options);
    gui::MainWindow main(editor, [&editor] { return std::make_unique<gui::EnterDataWindow>(editor); });
    main.show();
    if (!QTest::qWaitForWindowExposed(&main))
        return 1;
    std::fputs("shown\n", stdout);
    std::fflush(stdout);
    // The technician's first look at the window: the editor window is made meanwhile.
    QTest::qWait(200);
    QElapsedTimer timer;
    timer.start();
    main.productButton(2)->click();
    if (!QTest::qWaitForWindowExposed(&main.editorWindow()))
        return 1;
    std::printf("%.2f\n", timer.nsecsElapsed() / 1e6);
    return 0;
}

struct Run {
    double launchMs, editorMs;
};

Run Measure(const QString& self, const char* mode, const QString& home, const QStringList& extra = {}) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    if (env.value(QStringLiteral("DISPLAY")).isEmpty() &&
        env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    child.start(self, QStringList{QStringLiteral("--child"), QLatin1String(mode)} + extra);
    double launch = -1;
    QByteArray out;
    while (child.waitForReadyRead(10000) || child.state() == QProcess::Running) {
        out += child.readAllStandardOutput();
        if (launch < 0 && (out.startsWith("shown") || out.startsWith("0")))
            launch = timer.nsecsElapsed() / 1e6;
        if (out.count('\n') >= (QByteArray(mode) == "program" ? 2 : 1))
            break;
    }
    child.waitForFinished(10000);
    out += child.readAllStandardOutput();
    const QList<QByteArray> lines = out.trimmed().split('\n');
    return {launch, lines.last().toDouble()};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc >= 3 && qstrcmp(argv[1], "--child") == 0 &&
        (qstrcmp(argv[2], "backups") == 0 || qstrcmp(argv[2], "devices") == 0))
        return RecordsChild(argc, argv, qstrcmp(argv[2], "devices") == 0, argc > 3 ? atoi(argv[3]) : 0);
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0)
        return Child(argc, argv, qstrcmp(argv[2], "program") == 0);
    const int backups = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    const QString self = QCoreApplication::applicationFilePath();
    Measure(self, "program", home.path()); // the first start installs Values.ini and the images
    std::vector<double> empty, launch, editor;
    for (int i = 0; i < 5; ++i) {
        empty.push_back(Measure(self, "empty", home.path()).launchMs);
        const Run r = Measure(self, "program", home.path());
        launch.push_back(r.launchMs);
        editor.push_back(r.editorMs);
    }
    Measure(self, "backups", home.path(), {QString::number(backups)});
    std::vector<double> backupsWindow, devicesWindow;
    for (int i = 0; i < 5; ++i) {
        backupsWindow.push_back(Measure(self, "backups", home.path()).editorMs);
        devicesWindow.push_back(Measure(self, "devices", home.path()).editorMs);
    }
    const double reference = Median(empty);
    std::printf("Windows coming up (%s), median of 5 fresh processes\n",
                qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "display");
    std::printf("empty Qt main window      %7.1f ms  (reference)\n", reference);
    std::printf("launch to selection       %7.1f ms  ratio %.2f (target <= 2)\n", Median(launch),
                Median(launch) / reference);
    std::printf("product button to editor  %7.1f ms  ratio %.2f (target <= 2)\n", Median(editor),
                Median(editor) / reference);
    std::printf("backups window, %d kept %7.1f ms  ratio %.2f (target <= 2)\n", backups,
                Median(backupsWindow), Median(backupsWindow) / reference);
    std::printf("devices window, %d kept %7.1f ms  ratio %.2f (target <= 2)\n", backups,
                Median(devicesWindow), Median(devicesWindow) / reference);
    return 0;
}
