#pragma once

#include "FormLayout.h"
#include "ValueList.h"

#include <QChar>
#include <QHash>
#include <QString>

#include <functional>
#include <vector>

namespace zal {

// One field of the editor with everything the parameter maps and rules rely on.
struct Field {
    const FieldDecl* decl = nullptr;
    QString text;      // entry fields
    int maxLength = 0; // entry fields; 0 means no limit
    ValueList list;    // drop-downs: items and their stored values
    int index = -1;    // drop-downs: selected item, -1 for none
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    int mark = 0; // presence mark: 1 in use, 2 not in use, anything else left alone by the maps

    QString name() const { return QString::fromLatin1(decl->name); }
    FieldKind kind() const { return decl->kind; }
    // The stored value of the selected item; -1 with no selection.
    int value() const { return ValueAtIndex(list.values, index); }
    QString selectedText() const {
        return index >= 0 && index < list.items.size() ? list.items[index] : QString();
    }
};

enum class FieldChange { Text, Items, Index, Checked, Enabled, Visible, Mark, MaxLength };

// What the enabling rules decide of a field, apart from its content.
struct FieldState {
    bool enabled;
    bool visible;
    int mark;
    int maxLength;
    bool operator==(const FieldState&) const = default;
};

// The editor's fields, with the event semantics of the toolkit the program grew up with:
// - an entry field's change handler runs after every change of its text, also when the program makes it;
// - a check box's click handler runs whenever its state changes, by the user or by the program;
// - a drop-down's change handler runs only when the user selects an item, never when the program sets
//   the selection or rebuilds the list.
// Every change is reported to the observers, so that a view can mirror the model.
class FormModel {
public:
    using Handler = std::function<void(Field&)>;
    using KeyFilter = std::function<bool(Field&, QChar&)>; // may change the key
    using Observer = std::function<void(const Field&, FieldChange)>;

    FormModel();
    FormModel(const FormModel&) = delete;
    FormModel& operator=(const FormModel&) = delete;

    Field& operator[](const char* name) { return field(QLatin1String(name)); }
    Field& field(const QString& name);
    Field* find(const QString& name);
    const Field* find(const QString& name) const;
    std::vector<Field>& fields() { return fields_; }
    const std::vector<Field>& fields() const { return fields_; }

    // Changes the program makes.
    void setText(Field& f, const QString& text);
    void setChecked(Field& f, bool checked);
    void setItems(Field& f, ValueList list); // the selection is cleared
    void setIndex(Field& f, int index);
    void setEnabled(Field& f, bool enabled);
    void setVisible(Field& f, bool visible);
    void setMark(Field& f, int mark);
    void setMaxLength(Field& f, int maxLength);

    // The states of all fields, in declaration order, and their return to such a record.
    std::vector<FieldState> states() const;
    void restoreStates(const std::vector<FieldState>& states);

    // Everything the fields hold, and the return to such a record: every field takes the recorded
    // text, list, selection, check and state, observers hear of each change, and no handler runs (the
    // record was made after the handlers had run). For taking a technician's change back.
    std::vector<Field> snapshot() const { return fields_; }
    void restore(const std::vector<Field>& snapshot);
    // Whether two records differ in anything a field holds.
    static bool SameContent(const std::vector<Field>& a, const std::vector<Field>& b);

    // What a user does.
    bool typeKey(Field& f, QChar typed); // false when the field's key filter dropped the key
    // Runs only the field's key filter (a view lets its own editor insert the key afterwards).
    bool filterKey(Field& f, QChar& key);
    void replaceText(Field& f, const QString& text);
    void selectIndex(Field& f, int index);
    void click(Field& f);
    void leave(Field& f);

    void onTextChange(const QString& name, Handler handler) { textHandlers_[name] = std::move(handler); }
    void onClick(const QString& name, Handler handler) { clickHandlers_[name] = std::move(handler); }
    void onSelect(const QString& name, Handler handler) { selectHandlers_[name] = std::move(handler); }
    void onExit(const QString& name, Handler handler) { exitHandlers_[name] = std::move(handler); }
    void setKeyFilter(const QString& name, KeyFilter filter) { keyFilters_[name] = std::move(filter); }
    void addObserver(Observer observer) { observers_.push_back(std::move(observer)); }

    // --- The technician's actions and their undo ---
    // What one action changed: every field before and after it.
    struct Step {
        std::vector<Field> before, after;
        QString typing; // the entry field whose typing this step grows; empty for any other action
    };
    // Everything that changes between the outermost open and its close is one step; actions nest (a
    // command that types into several fields, a check that shows a message box on leaving a field).
    // Typing into one entry field grows one step until the field is left; what leaving it changes
    // joins that step. Changes made with no action open are the program's own and no step.
    void openUserAction(const QString& typingIn = QString());
    void closeUserAction();
    class UserAction {
    public:
        explicit UserAction(FormModel& form, const QString& typingIn = QString()) : form_(form) {
            form_.openUserAction(typingIn);
        }
        ~UserAction() { form_.closeUserAction(); }
        UserAction(const UserAction&) = delete;
        UserAction& operator=(const UserAction&) = delete;

    private:
        FormModel& form_;
    };
    bool inUserAction() const { return actionDepth_ > 0; }
    // Undo and redo take one step back or forward; not while an action is open.
    bool canUndo() const { return actionDepth_ == 0 && !undo_.empty(); }
    bool canRedo() const { return actionDepth_ == 0 && !redo_.empty(); }
    bool undo();
    bool redo();
    // Forgets every step; what the fields hold now is the base (a file opened, saved, read or written).
    // Inside an action, once it closes: what the action changed is then no step either.
    void startHistory();
    // Whether the fields are where the history started, by way of its steps.
    bool isAtBase() const { return actionDepth_ == 0 && base_ == static_cast<long>(undo_.size()); }
    size_t undoCount() const { return undo_.size(); }
    // The newest step that undo would take back; nullptr when none.
    const Step* lastStep() const { return undo_.empty() ? nullptr : &undo_.back(); }
    // The newest step that redo would take forward; nullptr when none.
    const Step* nextRedo() const { return redo_.empty() ? nullptr : &redo_.back(); }
    // Heard after every change of what undo, redo and the base say.
    void onHistoryChanged(std::function<void()> heard) { historyObservers_.push_back(std::move(heard)); }
    static constexpr size_t kUndoLimit = 200;

private:
    void notify(const Field& f, FieldChange change);
    static void Run(const QHash<QString, Handler>& handlers, Field& f);

    std::vector<Field> fields_;
    QHash<QString, int> byName_;
    QHash<QString, Handler> textHandlers_, clickHandlers_, selectHandlers_, exitHandlers_;
    QHash<QString, KeyFilter> keyFilters_;
    std::vector<Observer> observers_;

    void historyChanged();
    // Takes the newest step of from back to its state (before for undo, after for redo) and moves it
    // onto to.
    bool travel(std::vector<Step>& from, std::vector<Step>& to, std::vector<Field> Step::*state);
    int actionDepth_ = 0;
    std::vector<Field> actionBefore_;
    QString actionTyping_;
    QString typingOpen_; // the field whose typing step may still grow
    QString leaving_;    // the field being left inside the open action
    bool restartAtClose_ = false;
    std::vector<Step> undo_, redo_;
    long base_ = 0; // undo_.size() at the base; -1 once the base can no longer be reached
    std::vector<std::function<void()>> historyObservers_;
};

} // namespace zal
