#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zal {

// The kinds of message box: error, warning and information have an OK button; a question has Yes and
// No (and Cancel where the caller asks for it) and shows the icon of its kind.
enum class MessageKind { Error, Warning, Information, Question };

enum class Answer { Yes, No, Cancel };

// YesNoDefaultNo: a question whose Yes changes a device beyond what the technician typed; Enter
// answers No.
enum class QuestionButtons { YesNo, YesNoCancel, YesNoDefaultNo };

struct FileDialogRequest {
    QString title;
    QString filter;      // "text|*.ext|text|*.ext..."
    int filterIndex = 1; // 1-based, as the filter entries are counted
    QString folder;
    QString fileName;
    QString defaultExtension; // without the dot
};

struct FileDialogResult {
    QString path;
    int filterIndex = 1;
    // A name typed where no dialog offers the product's extension (a command line): one that ends in
    // the extension in another case (X.MuvePlus) is kept as it is rather than given the product's.
    bool asTyped = false;
};

// What the core asks of whoever shows it: the GUI answers with windows, zalctl on the command line,
// the tests from a script. The core never opens a window itself.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // id is the string-table number of the text, 0 for a text that has none.
    virtual void message(MessageKind kind, int id, const QString& text) = 0;
    virtual Answer question(MessageKind icon, int id, const QString& text, QuestionButtons buttons) = 0;
    // One of several ways on, each a button of its own (with its mnemonic), and Cancel: the index of
    // the one taken, or -1 for none. Whoever cannot ask the technician (a script, zalctl, which takes
    // the way from an option) takes none.
    virtual int choose(MessageKind icon, const QString& text, const QStringList& choices) {
        (void)icon, (void)text, (void)choices;
        return -1;
    }
    virtual std::optional<FileDialogResult> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) = 0;
};

} // namespace zal
