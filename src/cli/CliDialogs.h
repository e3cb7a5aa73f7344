#pragma once

#include "shell/Dialogs.h"

#include <QString>
#include <QTextStream>

#include <deque>
#include <vector>

namespace zal::cli {

struct RecordedMessage {
    QString kind; // error, warning, information, question
    int id;
    QString text;
};

// The command line's answer to the core's dialogs: messages go to standard error as
// "<kind> <number>: <text>", questions are answered No unless --yes was given, and file dialogs take
// the paths the command was given.
class CliDialogs : public Dialogs {
public:
    CliDialogs(QTextStream& err, bool yes) : err_(err), yes_(yes) {}

    void message(MessageKind kind, int id, const QString& text) override;
    Answer question(MessageKind icon, int id, const QString& text, QuestionButtons buttons) override;
    // A choice is never taken here (the command's options say the way): the question is printed with
    // what says the way instead.
    int choose(MessageKind icon, const QString& text, const QStringList& choices) override;
    void setChoiceHint(const QString& hint) { choiceHint_ = hint; }
    std::optional<FileDialogResult> openFile(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) override;

    void answerOpenWith(const QString& path) { openPaths_.push_back(path); }
    void answerSaveWith(const QString& path) { savePaths_.push_back(path); }

    const std::vector<RecordedMessage>& messages() const { return messages_; }
    void clear() { messages_.clear(); }

private:
    void record(const QString& kind, int id, const QString& text);

    QTextStream& err_;
    bool yes_;
    std::deque<QString> openPaths_, savePaths_;
    std::vector<RecordedMessage> messages_;
    QString choiceHint_;
};

} // namespace zal::cli
