#include "EnterDataWindow.h"

#include "AboutDialog.h"
#include "Artwork.h"
#include "ChangeFixedDialogs.h"
#include "ReceiveRadioDialog.h"
#include "RecordsDialogs.h"
#include "SelectDirectoryDialog.h"
#include "config/Products.h"
#include "radio/RadioCode.h"
#include "shell/AppFolders.h"
#include "shell/Language.h"
#include "shell/StringTable.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <tuple>

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

    undo_ = new QUndoStack(this);
    undo_->setUndoLimit(200);
    editor_.form().addObserver([this](const Field& f, FieldChange) {
        mirror(f);
        // Once the action that made this change has run to its end, it becomes one undo step.
        if (!restoring_ && commands_ == 0 && !settleQueued_) {
            settleQueued_ = true;
            QTimer::singleShot(0, this, [this] { settle(); });
        }
    });
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
        return WritePreviewDialog(rows, this).exec() == QDialog::Accepted;
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
    QAction* undo = actions_.value(QStringLiteral("mnuEditUndo"));
    QAction* redo = actions_.value(QStringLiteral("mnuEditRedo"));
    connect(undo, &QAction::triggered, this, [this] {
        // A field still being typed in counts as done first, so that its change is the one undone.
        settleQueued_ = false;
        settle();
        undo_->undo();
    });
    connect(redo, &QAction::triggered, undo_, &QUndoStack::redo);
    connect(undo_, &QUndoStack::canUndoChanged, undo,
            [this, undo](bool can) { undo->setEnabled(can && !busyCursor_); });
    connect(undo_, &QUndoStack::canRedoChanged, redo,
            [this, redo](bool can) { redo->setEnabled(can && !busyCursor_); });
    startHistory();
}

void EnterDataWindow::mirrorTitle() {
    // The product being edited beside the file, and the mark of unsaved changes.
    const ProductInfo* info = FindProduct(editor_.product());
    const QString product =
        info ? QStringLiteral("%1 %2").arg(
                   QLatin1String(info->model),
                   FormatVersion(static_cast<std::uint16_t>(editor_.version() * 256 + editor_.minor())))
             : QString();
    setWindowTitle((product.isEmpty() ? QString() : product + QStringLiteral(" \u2013 ")) + editor_.title() +
                   QStringLiteral("[*]"));
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

void EnterDataWindow::runCommand(const std::function<void()>& command) {
    ++commands_;
    command();
    --commands_;
    if (commands_ > 0)
        return;
    if (!editor_.HasUnsavedChanges()) {
        startHistory();
    } else {
        settleQueued_ = false;
        settle();
        updateModified();
    }
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
    startHistory();
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
    undo_->clear();
    // Once the window is gone, so that the selection window comes up in its place.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (onClosed)
                onClosed();
        },
        Qt::QueuedConnection);
}

void EnterDataWindow::buildMenus(QMenuBar* bar) {
    std::map<MenuId, QMenu*> menus;
    for (const MenuItem& item : editor_.menus()) {
        const MenuId id = item.id;
        const bool hasChildren = std::any_of(editor_.menus().begin(), editor_.menus().end(),
                                             [id](const MenuItem& other) { return other.parent == id; });
        QMenu* parentMenu = menus.count(item.parent) ? menus[item.parent] : nullptr;
        if (parentMenu && item.separatorBefore)
            parentMenu->addSeparator();
        if (hasChildren) {
            QMenu* menu = parentMenu ? parentMenu->addMenu(Str(item.textId)) : bar->addMenu(Str(item.textId));
            menus[id] = menu;
            actions_.insert(QLatin1String(item.name), menu->menuAction());
            continue;
        }
        QAction* action =
            parentMenu ? parentMenu->addAction(Str(item.textId)) : bar->addAction(Str(item.textId));
        if (qstrlen(item.shortcut))
            action->setShortcut(QKeySequence(QLatin1String(item.shortcut)));
        actions_.insert(QLatin1String(item.name), action);
        connect(action, &QAction::triggered, this, [this, id] { runMenu(id); });
    }
    addRecordMenus();
}

// What the program adds to the original's menus: compare, backups, report, support information.
void EnterDataWindow::addRecordMenus() {
    QMenu* file = actions_.value(QStringLiteral("mnuFile"))->menu();
    QAction* before = actions_.value(QStringLiteral("mnuFileSelectDefaultFolder"));
    const auto add = [this](QMenu* menu, QAction* before, const char* name, const QString& text,
                            std::function<void()> run) {
        auto* action = new QAction(text, menu);
        menu->insertAction(before, action);
        actions_.insert(QLatin1String(name), action);
        connect(action, &QAction::triggered, this, std::move(run));
        return action;
    };
    file->insertSeparator(before);
    add(file, before, "mnuFileCompare", QCoreApplication::translate("Window", "Vergleichen &mit..."),
        [this] { runCommand([this] { CompareWithOther(editor_, this); }); });
    add(file, before, "mnuFileBackups", QCoreApplication::translate("Window", "Si&cherungen..."),
        [this] { runCommand([this] { BackupsDialog(editor_, this).exec(); }); });
    add(file, before, "mnuFileReport",
        QCoreApplication::translate("Window", "Be&richt drucken / exportieren..."),
        [this] { ShowReport(editor_, this); })
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    file->insertSeparator(before);

    QMenu* help = actions_.value(QStringLiteral("mnuHelp"))->menu();
    QAction* about = actions_.value(QStringLiteral("mnuHelpAbout"));
    add(help, about, "mnuHelpSupport",
        QCoreApplication::translate("Window", "Supportinformationen speichern..."),
        [this] { SaveSupportInformation(editor_, this); });
    QAction* trace =
        add(help, about, "mnuHelpTrace", QCoreApplication::translate("Window", "Protokoll"), [] {});
    trace->setCheckable(true);
    trace->setChecked(editor_.frameLogging());
    trace->setToolTip(
        QCoreApplication::translate("Window", "Zeichnet jeden Datenrahmen zur KBX im Supportprotokoll auf"));
    connect(trace, &QAction::toggled, this, [this](bool on) { editor_.setFrameLogging(on); });

    // "Sprache": kept in the user's settings and taken on the next start, so that no window changes its
    // language (and its layout) half-way through a job.
    auto* language = new QMenu(QCoreApplication::translate("Window", "Sprache"), help);
    help->insertMenu(about, language);
    actions_.insert(QStringLiteral("mnuHelpLanguage"), language->menuAction());
    auto* languages = new QActionGroup(language);
    const Language chosen = ProgramLanguage();
    const struct {
        const char* name;
        Language code;
        const char* text;
    } choices[] = {{"mnuHelpLanguageGerman", Language::German, "Deutsch"},
                   {"mnuHelpLanguageEnglish", Language::English, "English"}};
    // Not a structured binding: clang before 16 does not let a lambda capture one.
    for (const auto& choice : choices) {
        const Language code = choice.code;
        const char* const name = choice.name;
        const char* const text = choice.text;
        QAction* action = language->addAction(QString::fromUtf8(text));
        action->setCheckable(true);
        action->setChecked(code == chosen);
        languages->addAction(action);
        actions_.insert(QLatin1String(name), action);
        connect(action, &QAction::triggered, this, [this, code] {
            if (!StoreChosenLanguage(code)) {
                editor_.setStatus(
                    QCoreApplication::translate("Window", "Die Sprache kann nicht gespeichert werden."));
                return;
            }
            editor_.setStatus(code == CurrentLanguage()
                                  ? QString()
                                  : QCoreApplication::translate(
                                        "Window", "Die Sprache wechselt beim nächsten Start des Programms."));
        });
    }
    help->insertSeparator(about);

    // "Bearbeiten": undo and redo of the technician's field changes, after the file menu.
    QAction* communication = actions_.value(QStringLiteral("mnuCommunication"));
    auto* edit = new QMenu(QCoreApplication::translate("Window", "&Bearbeiten"), this);
    menuBar()->insertMenu(communication, edit);
    actions_.insert(QStringLiteral("mnuEdit"), edit->menuAction());
    QAction* undo = edit->addAction(QCoreApplication::translate("Window", "&Rückgängig"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->setEnabled(false);
    actions_.insert(QStringLiteral("mnuEditUndo"), undo);
    QAction* redo = edit->addAction(QCoreApplication::translate("Window", "&Wiederholen"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redo->setEnabled(false);
    actions_.insert(QStringLiteral("mnuEditRedo"), redo);
}

void EnterDataWindow::mirrorMenus() {
    for (const MenuItem& item : editor_.menus()) {
        if (QAction* action = actions_.value(QLatin1String(item.name))) {
            action->setVisible(item.visible);
            action->setEnabled(item.enabled && !busyCursor_);
        }
    }
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
    actions_.value(QStringLiteral("mnuEditUndo"))->setEnabled(undo_->canUndo());
    actions_.value(QStringLiteral("mnuEditRedo"))->setEnabled(undo_->canRedo());
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
            editor_.form().leave(field);
            showStoredCode(field);
            settle(name);
            typing_.clear(); // the next change is a step of its own
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

void EnterDataWindow::runMenu(MenuId id) {
    TfrmEnterData& e = editor_;
    const auto fileNew = [this](NewEntry entry) {
        if (mayDiscardEdits())
            runCommand([this, entry] { editor_.FileNew(entry); });
    };
    switch (id) {
    case MenuId::FileNew:
        fileNew(NewEntry::New);
        break;
    case MenuId::FileNewVersionV1x:
        fileNew(NewEntry::V1x);
        break;
    case MenuId::FileNewVersionV20xx:
        fileNew(NewEntry::V20xx);
        break;
    case MenuId::FileNewVersionV21xx:
        fileNew(NewEntry::V21xx);
        break;
    case MenuId::FileNewVersionV22xx:
        fileNew(NewEntry::V22xx);
        break;
    case MenuId::FileOpen:
        if (mayDiscardEdits())
            runCommand([&e] { e.FileOpen(); });
        break;
    case MenuId::FileSave:
        runCommand([&e] { e.FileSave(); });
        break;
    case MenuId::FileSaveAs:
        runCommand([&e] { e.FileSaveAs(); });
        break;
    case MenuId::FileSelectDefaultFolder:
        selectDefaultFolder();
        break;
    case MenuId::FileExit:
        if (e.FileExit()) {
            exiting_ = true;
            close();
        }
        break;
    case MenuId::CommunicationReadFromDevice:
        if (mayDiscardEdits())
            runCommand([&e] { e.ReadFromDevice(); });
        break;
    case MenuId::CommunicationWriteToDevice:
        runCommand([&e] { e.WriteToDevice(); });
        break;
    case MenuId::WriteDefaultBora:
        runCommand([&e] { e.WriteDefault(QStringLiteral("BORA")); });
        break;
    case MenuId::WriteDefaultZal:
        runCommand([&e] { e.WriteDefault(QStringLiteral("ZAL")); });
        break;
    case MenuId::WriteDefaultMuve:
        runCommand([&e] { e.WriteDefault(QStringLiteral("MUVE")); });
        break;
    case MenuId::WriteDefaultDorf:
        runCommand([&e] { e.WriteDefault(QStringLiteral("DORF")); });
        break;
    case MenuId::WriteVersionByte:
        runCommand([&e] { e.WriteVersionByte(); });
        break;
    case MenuId::ChangeFixedRadioCodes:
        runCommand([this] { changeFixedCodes(); });
        break;
    case MenuId::HelpAbout:
        AboutDialog(e.kbxFactory(), e.clock(), this).exec();
        break;
    default: // the menus themselves
        break;
    }
}

void EnterDataWindow::learn(int position) {
    if (!editor_.LearnStart(position))
        return;
    ReceiveRadioDialog dialog(editor_, this);
    const bool ok = dialog.exec() == QDialog::Accepted;
    editor_.LearnFinish(ok);
}

void EnterDataWindow::changeFixedCodes() {
    const FixedCodeWindow window = editor_.ChangeFixedCodesBegin();
    bool ok = false;
    if (window == FixedCodeWindow::Classic)
        ok = ChangeFixedDialog(editor_.changeFixed(), this).exec() == QDialog::Accepted;
    else if (window == FixedCodeWindow::Plus)
        ok = ChangeFixedPlusDialog(editor_.changeFixedPlus(), this).exec() == QDialog::Accepted;
    if (ok)
        editor_.ChangeFixedCodesCommit(window);
}

void EnterDataWindow::selectDefaultFolder() {
    SelectDirectoryDialog dialog(editor_.folders().defaultConfigFolder, this);
    if (dialog.exec() == QDialog::Accepted)
        editor_.SetDefaultConfigFolder(dialog.folder());
}

} // namespace zal::gui
