// The editor window's undo: each technician action becomes one step of the window's undo stack.

#include "EnterDataWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QUndoCommand>

namespace zal::gui {

// One technician action: the fields before and after it. Typing into one entry field grows one step
// until the field is left.
class EnterDataWindow::FormStep : public QUndoCommand {
public:
    FormStep(EnterDataWindow& window, std::vector<Field> before, std::vector<Field> after, QString typing)
        : window_(window), before_(std::move(before)), after_(std::move(after)), typing_(std::move(typing)) {}
    int id() const override { return typing_.isEmpty() ? -1 : 1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const FormStep*>(other);
        if (next->typing_ != typing_ || window_.typing_ != typing_)
            return false;
        after_ = next->after_;
        return true;
    }
    void undo() override { window_.restoreFields(before_); }
    void redo() override {
        if (pushed_) // pushed after it happened
            window_.restoreFields(after_);
        pushed_ = true;
    }

private:
    EnterDataWindow& window_;
    std::vector<Field> before_, after_;
    QString typing_;
    bool pushed_ = false;
};

void EnterDataWindow::restoreFields(const std::vector<Field>& fields) {
    restoring_ = true;
    editor_.form().restore(fields);
    restoring_ = false;
    settled_ = fields;
    typing_.clear();
    updateModified();
}

void EnterDataWindow::settle(const QString& leftField) {
    settleQueued_ = false;
    if (commands_ > 0 || restoring_)
        return;
    // A message box of the action is still open (a range check on leaving a field): the action is not
    // over yet.
    if (QApplication::activeModalWidget()) {
        settleQueued_ = true;
        QTimer::singleShot(50, this, [this] { settle(); });
        return;
    }
    std::vector<Field> now = editor_.form().snapshot();
    if (FormModel::SameContent(now, settled_))
        return;
    // Typing into one entry field grows one step, up to and with what leaving it changes.
    QString typing = leftField;
    if (const QString focused = fieldOf_.value(QApplication::focusWidget());
        typing.isEmpty() && !focused.isEmpty() && qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
        const Field* f = editor_.form().find(focused);
        const auto index = static_cast<size_t>(f - editor_.form().fields().data());
        if (index < settled_.size() && settled_[index].text != f->text)
            typing = focused;
    }
    if (typing.isEmpty() || typing != typing_)
        typing_.clear();
    std::vector<Field> before = std::move(settled_);
    settled_ = now;
    undo_->push(new FormStep(*this, std::move(before), std::move(now), typing));
    typing_ = typing;
    updateModified();
}

void EnterDataWindow::startHistory() {
    undo_->clear();
    settled_ = editor_.form().snapshot();
    typing_.clear();
    updateModified();
}

void EnterDataWindow::updateModified() {
    setWindowModified(editor_.HasUnsavedChanges());
}

} // namespace zal::gui
