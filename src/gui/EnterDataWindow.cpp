#include "EnterDataWindow.h"

#include "Artwork.h"
#include "RecordsDialogs.h"
#include "config/Products.h"
#include "radio/RadioCode.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>

#include <algorithm>

namespace zal::gui {

// While a transfer runs, the window takes no input but the cancel button (and Escape, which presses
// it): the transfer hands the event loop a moment after every chunk so that the button can be pressed,
// and nothing else may start a second command in the middle of the first. The message boxes a command
// shows are modal and take their own input.
class EnterDataWindow::BusyInput : public QObject {
public:
    BusyInput(QPushButton* cancel, QObject* parent) : QObject(parent), cancel_(cancel) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            break;
        default:
            return false;
        }
        if (QApplication::activeModalWidget())
            return false;
        // A shortcut goes to its action, not to a widget: none may start a second command.
        if (event->type() == QEvent::Shortcut)
            return true;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        if (widget == cancel_)
            return false;
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
            cancel_->isVisible())
            cancel_->click();
        return true;
    }

private:
    QPushButton* cancel_;
};

EnterDataWindow::EnterDataWindow(TfrmEnterData& editor, QWidget* parent)
    : QMainWindow(parent), editor_(editor) {
    setWindowIcon(ApplicationIcon());
    buildMenus(menuBar());
    tabs_ = new QTabWidget(this);
    setCentralWidget(tabs_);
    buildPages();
    status_ = new QLabel(statusBar());
    progress_ = new QProgressBar(statusBar());
    progress_->setMaximumWidth(200);
    progress_->hide();
    cancel_ = new QPushButton(QCoreApplication::translate("Window", "Abbrechen"), statusBar());
    cancel_->setObjectName(QStringLiteral("btnCancelTransfer"));
    cancel_->setAutoDefault(false);
    cancel_->hide();
    connect(cancel_, &QPushButton::clicked, this, [this] {
        editor_.CancelTransfer();
        cancel_->setEnabled(false);
        status_->setText(QCoreApplication::translate("Window", "Wird abgebrochen..."));
    });
    busyInput_ = new BusyInput(cancel_, this);
    // A message is one line in the status bar; the whole of it is in the tooltip and its message box.
    status_->setTextFormat(Qt::PlainText);
    status_->setMinimumWidth(1);
    statusBar()->addWidget(status_, 1);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->addPermanentWidget(cancel_);
    // The status bar is as tall as the transfer's widgets make it when they are hidden too: a transfer
    // that shows them must not shrink the page and bring up scroll bars for its duration.
    statusBar()->setMinimumHeight(statusBar()->sizeHint().height() +
                                  std::max(progress_->sizeHint().height(), cancel_->sizeHint().height()) -
                                  status_->sizeHint().height());
    statusBar()->setSizeGripEnabled(true);

    editor_.form().addObserver([this](const Field& f, FieldChange) { mirror(f); });
    editor_.observer().titleChanged = [this] { mirrorTitle(); };
    editor_.observer().pageChanged = [this] { tabs_->setCurrentIndex(editor_.page()); };
    // A product switch adapts the menus: the title names the product, so it follows too.
    editor_.observer().menusChanged = [this] {
        mirrorMenus();
        mirrorTitle();
    };
    editor_.observer().statusChanged = [this] { mirrorStatus(); };
    editor_.observer().processEvents = [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    editor_.observer().progress = [this](int done, int planned) {
        progress_->setMaximum(std::max(planned, 1));
        progress_->setValue(done);
        progress_->setVisible(done < planned);
        cancel_->setVisible(done < planned);
        if (done == 0)
            cancel_->setEnabled(true);
        // A moment for the cancel button; BusyInput keeps every other input out.
        QCoreApplication::processEvents();
    };
    editor_.observer().confirmWrite = [this](const std::vector<DifferenceRow>& rows) {
        return WritePreviewDialog(rows, editor_.writeTarget(), this).exec() == QDialog::Accepted;
    };
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) { editor_.setPage(page); });

    for (Field& f : editor_.form().fields())
        mirror(f);
    sizeFields();
    orderTabs();
    mirrorMenus();
    mirrorStatus();
    mirrorTitle();
    tabs_->setCurrentIndex(editor_.page());

    // Pages switch from any field, and a drop-down with the focus never takes these keys for itself.
    const auto pageKeys = [this](const QList<QKeySequence>& keys, int step) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, step] { switchPage(step); });
        addAction(action);
    };
    pageKeys({QKeySequence(Qt::CTRL | Qt::Key_PageDown), QKeySequence(Qt::CTRL | Qt::Key_Tab)}, 1);
    pageKeys({QKeySequence(Qt::CTRL | Qt::Key_PageUp), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)},
             -1);
    bindHistory();
}

void EnterDataWindow::mirrorTitle() {
    // The product being edited beside the file, and the mark of unsaved changes.
    const ProductInfo* info = FindProduct(editor_.product());
    const QString product =
        info ? QStringLiteral("%1 %2").arg(QLatin1String(info->model), editor_.selection().firmware().text())
             : QString();
    // The mark of unsaved changes belongs to what is edited, so it follows the file, not the program.
    const QString subject = editor_.titleSubject();
    setWindowTitle((product.isEmpty() ? QString() : product + QStringLiteral(" \u2013 ")) + subject +
                   QStringLiteral("[*]") + editor_.title().mid(subject.size()));
}

void EnterDataWindow::switchPage(int step) {
    const int count = tabs_->count();
    for (int i = 1; i < count; ++i) {
        const int page = ((tabs_->currentIndex() + step * i) % count + count) % count;
        if (tabs_->isTabEnabled(page) && tabs_->isTabVisible(page)) {
            tabs_->setCurrentIndex(page);
            // The tab takes the focus, not a field of the page: a drop-down with the focus would take
            // the wheel meant for scrolling the page. Tab goes on into the page from there.
            tabs_->tabBar()->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

void EnterDataWindow::runCommand(const std::function<void()>& command) {
    // What a window of its own (a comparison, the backups) does in the editor is one step too.
    {
        const FormModel::UserAction action(editor_.form());
        command();
    }
    updateHistory();
}

void EnterDataWindow::showStoredCode(Field& field) {
    if (field.maxLength != kRadioCodeLength || field.kind() != FieldKind::Edit || field.text.isEmpty())
        return;
    const QString stored = CodeToText(TextToCode(field.text));
    if (stored != field.text)
        editor_.form().setText(field, stored);
}

QSize EnterDataWindow::preferredSize() {
    // Before the window was ever shown, layouts still hold the sizes they had while the fields were
    // being added: drop them all before asking. A page not shown yet is not polished either, and would
    // ask for the size of its unstyled fields.
    for (QWidget* w : findChildren<QWidget*>()) {
        w->ensurePolished();
        w->updateGeometry();
    }
    for (QLayout* layout : findChildren<QLayout*>())
        layout->invalidate();
    // Room for a vertical scroll bar as well: a page first shown while its area was small keeps the bar
    // it had, and with the columns one bar narrower than they ask for, the last one would go below
    // the others and the page would go on needing the bar.
    return sizeHint() + QSize(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), 0);
}

void EnterDataWindow::open() {
    QSettings settings = UserSettings();
    if (!restoreGeometry(settings.value(QStringLiteral("editor/geometry")).toByteArray())) {
        const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
        const QRect area = (screen ? screen : QGuiApplication::primaryScreen())->availableGeometry();
        const QSize preferred = preferredSize();
        const QSize size = preferred.boundedTo(area.size());
        resize(size);
        move(area.center() - QPoint(size.width() / 2, size.height() / 2));
        // A screen too small for the pages whole: the window takes all of it, the columns that do not
        // fit go below the others and the pages scroll down.
        if (preferred.width() > area.width() || preferred.height() > area.height())
            setWindowState(windowState() | Qt::WindowMaximized);
    }
    show();
    raise();
    activateWindow();
    focusFirstField();
    // What the product selection filled in is where undo stops.
    editor_.form().startHistory();
}

void EnterDataWindow::focusFirstField() {
    for (QWidget* w : tabChain_) {
        if (pageOf_.value(w) == tabs_->currentIndex() && w->isEnabled() && w->isVisibleTo(this) &&
            (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w))) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void EnterDataWindow::closeEvent(QCloseEvent* event) {
    // Not in the middle of a transfer: its cancel button ends it.
    if (editor_.busy()) {
        event->ignore();
        return;
    }
    // The close box asks as File, Exit does when there is something to lose; File, Exit has asked.
    if (!exiting_ && !editor_.CloseRequested()) {
        event->ignore();
        return;
    }
    exiting_ = false;
    QSettings settings = UserSettings();
    settings.setValue(QStringLiteral("editor/geometry"), saveGeometry());
    event->accept();
    editor_.setStatus(QString()); // the next editor starts without this one's last message
    editor_.form().startHistory();
    // Once the window is gone, so that the selection window comes up in its place.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (onClosed)
                onClosed();
        },
        Qt::QueuedConnection);
}

void EnterDataWindow::mirrorStatus() {
    const QString text = editor_.statusText();
    status_->setText(text.section(u'\n', 0, 0).trimmed());
    status_->setToolTip(text.contains(u'\n') ||
                                status_->fontMetrics().horizontalAdvance(text) > status_->width()
                            ? text
                            : QString());
    if (editor_.busy() != busyCursor_) {
        busyCursor_ = editor_.busy();
        if (busyCursor_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
        setBusyInput(busyCursor_);
    }
    if (!editor_.busy()) {
        progress_->hide();
        cancel_->hide();
    }
}

void EnterDataWindow::setBusyInput(bool busy) {
    if (busy)
        qApp->installEventFilter(busyInput_);
    else
        qApp->removeEventFilter(busyInput_);
    // The menus show what the filter holds back: every action is off while a transfer runs, and on
    // again as the editor has it when the transfer ends.
    if (busy) {
        for (QAction* action : findChildren<QAction*>()) {
            if (action->isEnabled()) {
                offDuringTransfer_.push_back(action);
                action->setEnabled(false);
            }
        }
        return;
    }
    for (const QPointer<QAction>& action : std::as_const(offDuringTransfer_))
        if (action)
            action->setEnabled(true);
    offDuringTransfer_.clear();
    mirrorMenus();
    updateHistory();
}

// Keys go through the field's filter first, as the original's key handlers did; the line edit then
// inserts what was let through. Leaving a field runs its exit check.
bool EnterDataWindow::eventFilter(QObject* watched, QEvent* event) {
    if (QComboBox* combo = popupOf_.value(watched); combo && event->type() == QEvent::KeyPress) {
        // Ctrl+PgDown in an open list switches the page, as it does everywhere else: the list closes
        // unchanged rather than moving its highlight.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::ControlModifier &&
            (key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp)) {
            combo->hidePopup();
            switchPage(key->key() == Qt::Key_PageDown ? 1 : -1);
            return true;
        }
        return QMainWindow::eventFilter(watched, event);
    }
    const QString name = fieldOf_.value(watched);
    if (name.isEmpty())
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // The window's undo and page keys win over what an entry field or drop-down would do with them.
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeyCombination combo = key->keyCombination();
        const bool ctrl = combo.keyboardModifiers().testFlag(Qt::ControlModifier);
        const Qt::Key k = combo.key();
        if (ctrl && (k == Qt::Key_Z || k == Qt::Key_Y || k == Qt::Key_PageDown || k == Qt::Key_PageUp ||
                     k == Qt::Key_Tab || k == Qt::Key_Backtab)) {
            event->ignore();
            return true;
        }
    } else if (event->type() == QEvent::Wheel) {
        if (auto* combo = qobject_cast<QComboBox*>(watched); combo && !combo->hasFocus()) {
            event->ignore(); // passed on to the page, which scrolls
            return true;
        }
    } else if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* edit = static_cast<QLineEdit*>(watched);
        const QString text = key->text();
        if (text.size() == 1 && (text[0].isPrint() || text[0] == QChar(8))) {
            Field& field = editor_.form().field(name);
            if (text[0].isPrint() && field.maxLength > 0 &&
                edit->text().size() - edit->selectedText().size() >= field.maxLength)
                return true;
            QChar typed = text[0];
            if (!editor_.form().filterKey(field, typed))
                return true;
            if (typed != text[0]) {
                QKeyEvent changed(QEvent::KeyPress, key->key(), key->modifiers(), QString(typed));
                QApplication::sendEvent(watched, &changed);
                return true;
            }
        }
    } else if (event->type() == QEvent::FocusOut) {
        // Only moving on to another field leaves it; a message box or menu coming up does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            Field& field = editor_.form().field(name);
            // The field's checks see what was typed; the code shown as stored joins that typing too.
            const FormModel::UserAction action(editor_.form(), name);
            editor_.form().leave(field);
            showStoredCode(field);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void EnterDataWindow::mirror(const Field& f) {
    QWidget* w = widgets_.value(f.name());
    if (!w)
        return;
    const QSignalBlocker block(w);
    w->setEnabled(f.enabled);
    if (!f.decl->hidden)
        w->setVisible(f.visible);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != f.text)
            edit->setText(f.text);
        if (IsInformationOnly(*f.decl))
            edit->setEnabled(true); // read-only, yet selectable for copying: it looks read-only
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        if (items != f.list.items) {
            combo->clear();
            combo->addItems(f.list.items);
        }
        combo->setCurrentIndex(f.index);
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        check->setChecked(f.checked);
    }
}

} // namespace zal::gui
