// The editor window's undo keys: the history itself is the core's, one step per technician action.

#include "EnterDataWindow.h"

#include <QAction>

namespace zal::gui {

void EnterDataWindow::bindHistory() {
    QAction* undo = actions_.value(QStringLiteral("mnuEditUndo"));
    QAction* redo = actions_.value(QStringLiteral("mnuEditRedo"));
    connect(undo, &QAction::triggered, this, [this] { editor_.form().undo(); });
    connect(redo, &QAction::triggered, this, [this] { editor_.form().redo(); });
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
