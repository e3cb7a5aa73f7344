// The editor window's undo keys: the history itself is the core's, one step per technician action.

#include "EnterDataWindow.h"

#include <QAction>
#include <QScrollArea>

namespace zal::gui {

void EnterDataWindow::bindHistory() {
    QAction* undo = actions_.value(QStringLiteral("mnuEditUndo"));
    QAction* redo = actions_.value(QStringLiteral("mnuEditRedo"));
    // The step's field comes into view, on its page, with the focus, so that the technician sees
    // what was taken back; the status bar names it.
    const auto show = [this](const QString& field) {
        QWidget* w = field.isEmpty() ? nullptr : widget(field);
        if (!w)
            return;
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
            if (auto* area = qobject_cast<QScrollArea*>(p)) {
                area->ensureWidgetVisible(w);
                break;
            }
        }
        w->setFocus(Qt::OtherFocusReason);
    };
    connect(undo, &QAction::triggered, this, [this, show] { show(editor_.Undo()); });
    connect(redo, &QAction::triggered, this, [this, show] { show(editor_.Redo()); });
    editor_.form().onHistoryChanged([this] { updateHistory(); });
    updateHistory();
}

void EnterDataWindow::updateHistory() {
    // A transfer keeps every action off until it ends, undo and redo too.
    const FormModel& form = editor_.form();
    actions_.value(QStringLiteral("mnuEditUndo"))->setEnabled(form.canUndo() && !busyCursor_);
    actions_.value(QStringLiteral("mnuEditRedo"))->setEnabled(form.canRedo() && !busyCursor_);
    // The base needs no collecting; anywhere else the mark says whether the file would change.
    setWindowModified(!form.isAtBase() && editor_.HasUnsavedChanges());
}

} // namespace zal::gui
