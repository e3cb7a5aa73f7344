#pragma once

// One editor for a fuzz process, as the program creates it, in a temporary home with the shipped data.

#include "editor/EnterData.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <memory>

namespace zal::fuzz {

class QuietDialogs : public Dialogs {
public:
    void message(MessageKind, int, const QString&) override {}
    Answer question(MessageKind, int, const QString&, QuestionButtons) override { return Answer::No; }
    std::optional<FileDialogResult> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<FileDialogResult> saveFile(const FileDialogRequest&) override { return std::nullopt; }
};

inline TfrmEnterData& Editor() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir home;
    static QuietDialogs dialogs;
    static std::unique_ptr<TfrmEnterData> editor = [] {
        TfrmEnterData::Options options;
        options.installFolder = QStringLiteral(ZAL_BIN_DIR "/");
        options.platform.applicationData = home.path();
        options.platform.documents = home.path();
        options.locale = QLocale(QLocale::German, QLocale::Germany);
        return std::make_unique<TfrmEnterData>(dialogs, options);
    }();
    return *editor;
}

} // namespace zal::fuzz
