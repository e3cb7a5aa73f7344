#pragma once

#include "TempHome.h"
#include "editor/EnterData.h"

#include "editor/EnterData.h"
#include <QDir>

#include <deque>
#include <memory>
#include <vector>

namespace zal::test {

struct Shown {
    MessageKind kind;
    int id;
    QString text;
};

// Dialogs answered from a script: questions take the next scripted answer (No when the script is
// empty), file dialogs the next scripted path (cancel when none). Everything shown is recorded.
class ScriptedDialogs : public Dialogs {
public:
    void message(MessageKind kind, int id, const QString& text) override {
        shown.push_back({kind, id, text});
    }
    Answer question(MessageKind kind, int id, const QString& text, QuestionButtons) override {
        shown.push_back({kind, id, text});
        questions.push_back(id);
        if (answers.empty())
            return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    int choose(MessageKind kind, const QString& text, const QStringList&) override {
        shown.push_back({kind, 0, text});
        if (choices.empty())
            return -1;
        const int c = choices.front();
        choices.pop_front();
        return c;
    }
    std::optional<FileDialogResult> openFile(const FileDialogRequest& request) override {
        return next(request);
    }
    std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) override {
        return next(request);
    }

    std::vector<int> ids() const {
        std::vector<int> out;
        for (const Shown& s : shown)
            out.push_back(s.id);
        return out;
    }
    void clear() {
        shown.clear();
        questions.clear();
        requests.clear();
    }

    std::vector<Shown> shown;
    std::vector<int> questions;
    std::deque<Answer> answers;
    std::deque<int> choices; // the index each choose() takes; none (-1) when empty
    std::deque<QString> paths;
    std::vector<FileDialogRequest> requests;

private:
    std::optional<FileDialogResult> next(const FileDialogRequest& request) {
        requests.push_back(request);
        if (paths.empty())
            return std::nullopt;
        FileDialogResult r{paths.front(), 1};
        paths.pop_front();
        return r;
    }
};

// An editor as the program creates it, in a temporary home with the shipped data, German locale.
class EditorFixture {
public:
    explicit EditorFixture(QStringList arguments = {},
                           QLocale locale = QLocale(QLocale::German, QLocale::Germany),
                           KbxTransportFactory kbx = {}, KbxClock* clock = nullptr);

    TempHome home;
    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmEnterData> editor;

    TfrmEnterData& e() { return *editor; }
    Field& f(const char* name) { return editor->form()[name]; }
    // A new configuration of a product and layout version, from its default image.
    void New(int product, int version);
    // Puts an image into the editor as Open does with a file holding it.
    bool Open(const ConfigImage& image, const QString& name = QStringLiteral("test"));
    // Empties an entry field and types the text key by key, as a technician does; returns what it shows.
    QString Type(const char* name, const QString& text);
    // Changes one byte of the working image without showing it.
    void Poke(int address, std::uint8_t value) {
        ConfigImage image = editor->working();
        image[static_cast<size_t>(address)] = value;
        editor->setWorking(image);
    }
    // Collects into the working image, expecting no conversion error.
    ConfigImage Collected();
    QString dataFile(const QString& name) const { return editor->folders().dataFolder + name; }
    ConfigImage Default(int product, int version) const;
};

} // namespace zal::test
