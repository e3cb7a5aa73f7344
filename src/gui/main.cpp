// zal-programmer: the ZAL family programmer's windows on the editor core.

#include "Artwork.h"
#include "EnterDataWindow.h"
#include "MainWindow.h"
#include "QtDialogs.h"
#include "editor/EnterData.h"
#include "shell/AppFolders.h"
#include "shell/FileSystem.h"
#include "shell/Language.h"
#include "shell/StringTable.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char* argv[]) {
    // Answered before the windows start, so that it works without a display too (a script, SSH).
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("zal-programmer %s\n", qPrintable(zal::ProgramVersionText()));
        return 0;
    }
    QApplication app(argc, argv);
    // Before the first text is read: German where the user or the locale asks for it, else English.
    if (!zal::InstallLanguage(zal::ProgramLanguage()) || zal::CurrentLanguage() == zal::Language::German)
        zal::gui::QtDialogs::InstallGermanQtTexts();
    QApplication::setApplicationName(zal::Str(10703));
    QApplication::setWindowIcon(zal::gui::ApplicationIcon());
    // The selection window ends the program, not the last window that closes: while the editor is
    // open the selection window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        zal::gui::QtDialogs dialogs;
        zal::TfrmEnterData::Options options;
        options.arguments = zal::ArgumentsFromNative(argc, argv);
        options.installFolder = zal::FindInstallFolder(QCoreApplication::applicationDirPath());
        options.platform = zal::SystemPlatformFolders();
        zal::TfrmEnterData editor(dialogs, options);
        zal::gui::MainWindow main(editor, [&editor, &dialogs] {
            auto window = std::make_unique<zal::gui::EnterDataWindow>(editor);
            dialogs.setParent(window.get());
            return window;
        });
        // A configuration file named as the single argument (a file manager opening it) goes straight
        // into the editor; switches and folders are the editor's business.
        if (options.arguments.size() == 1 && zal::IsRegularFile(options.arguments.first()))
            main.openFile(options.arguments.first());
        else
            main.show();
        return app.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, zal::Str(10703), QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
