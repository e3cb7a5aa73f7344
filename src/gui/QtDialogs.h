#pragma once

#include "shell/Dialogs.h"

class QFileDialog;
class QWidget;

namespace zal::gui {

// The core's messages, questions and file dialogs as Qt windows.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(MessageKind kind, int id, const QString& text) override;
    Answer question(MessageKind icon, int id, const QString& text, QuestionButtons buttons) override;
    int choose(MessageKind icon, const QString& text, const QStringList& choices) override;
    std::optional<FileDialogResult> openFile(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) override;

    // "text|*.ext|text|*.ext" as Qt's name filters ("text (*.ext)").
    static QStringList NameFilters(const QString& filter);
    // The file dialog a request asks for, ready to run.
    static void Prepare(QFileDialog& dialog, const FileDialogRequest& request, bool save);
    // The program speaks German whatever the desktop's language: Qt's own buttons and dialogs too.
    // False when Qt's German texts are not installed.
    static bool InstallGermanQtTexts();

private:
    QWidget* parent_;
};

} // namespace zal::gui
