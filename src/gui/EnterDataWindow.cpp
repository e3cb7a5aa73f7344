#include "EnterDataWindow.h"

#include "AboutDialog.h"
#include "Artwork.h"
#include "ChangeFixedDialogs.h"
#include "ReceiveRadioDialog.h"
#include "RecordsDialogs.h"
#include "SelectDirectoryDialog.h"
#include "config/Products.h"
#include "shell/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
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
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace zal::gui {

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
    statusBar()->addWidget(status_, 1);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->setSizeGripEnabled(true);

    editor_.form().addObserver([this](const Field& f, FieldChange) { mirror(f); });
    editor_.observer().titleChanged = [this] { setWindowTitle(editor_.title()); };
    editor_.observer().pageChanged = [this] { tabs_->setCurrentIndex(editor_.page()); };
    editor_.observer().menusChanged = [this] { mirrorMenus(); };
    editor_.observer().statusChanged = [this] { mirrorStatus(); };
    editor_.observer().processEvents = [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    editor_.observer().progress = [this](int done, int planned) {
        progress_->setMaximum(std::max(planned, 1));
        progress_->setValue(done);
        progress_->setVisible(done < planned);
    };
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) { editor_.setPage(page); });

    for (Field& f : editor_.form().fields())
        mirror(f);
    sizeFields();
    orderTabs();
    mirrorMenus();
    mirrorStatus();
    setWindowTitle(editor_.title());
    tabs_->setCurrentIndex(editor_.page());
}

QSize EnterDataWindow::preferredSize() {
    // Before the window was ever shown, layouts still hold the sizes they had while the fields were
    // being added: drop them all before asking.
    for (QWidget* w : findChildren<QWidget*>())
        w->updateGeometry();
    for (QLayout* layout : findChildren<QLayout*>())
        layout->invalidate();
    return sizeHint();
}

void EnterDataWindow::open() {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VESK"),
                       QStringLiteral("ZAL Programmer"));
    if (!restoreGeometry(settings.value(QStringLiteral("editor/geometry")).toByteArray())) {
        const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
        const QRect area = (screen ? screen : QGuiApplication::primaryScreen())->availableGeometry();
        const QSize size = preferredSize().boundedTo(area.size());
        resize(size);
        move(area.center() - QPoint(size.width() / 2, size.height() / 2));
    }
    show();
    raise();
    activateWindow();
    focusFirstField();
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
    // The close box asks as File, Exit does when there is something to lose; File, Exit has asked.
    if (!exiting_ && !editor_.CloseRequested()) {
        event->ignore();
        return;
    }
    exiting_ = false;
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VESK"),
                       QStringLiteral("ZAL Programmer"));
    settings.setValue(QStringLiteral("editor/geometry"), saveGeometry());
    event->accept();
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
    add(file, before, "mnuFileCompare", QStringLiteral("Vergleichen mit..."),
        [this] { CompareWithOther(editor_, this); });
    add(file, before, "mnuFileBackups", QStringLiteral("Sicherungen..."),
        [this] { BackupsDialog(editor_, this).exec(); });
    add(file, before, "mnuFileReport", QStringLiteral("Bericht drucken / exportieren..."), [this] {
        ShowReport(editor_, this);
    })->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    file->insertSeparator(before);

    QMenu* help = actions_.value(QStringLiteral("mnuHelp"))->menu();
    QAction* about = actions_.value(QStringLiteral("mnuHelpAbout"));
    add(help, about, "mnuHelpSupport", QStringLiteral("Supportinformationen speichern..."),
        [this] { SaveSupportInformation(editor_, this); });
    QAction* trace = add(help, about, "mnuHelpTrace", QStringLiteral("Protokoll"), [] {});
    trace->setCheckable(true);
    trace->setChecked(editor_.frameLogging());
    trace->setToolTip(QStringLiteral("Zeichnet jeden Datenrahmen zur KBX im Supportprotokoll auf"));
    connect(trace, &QAction::toggled, this, [this](bool on) { editor_.setFrameLogging(on); });
    help->insertSeparator(about);
}

void EnterDataWindow::mirrorMenus() {
    for (const MenuItem& item : editor_.menus()) {
        if (QAction* action = actions_.value(QLatin1String(item.name))) {
            action->setVisible(item.visible);
            action->setEnabled(item.enabled);
        }
    }
}

void EnterDataWindow::mirrorStatus() {
    status_->setText(editor_.statusText());
    if (editor_.busy() != busyCursor_) {
        busyCursor_ = editor_.busy();
        if (busyCursor_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
    if (!editor_.busy())
        progress_->hide();
}

// Keys go through the field's filter first, as the original's key handlers did; the line edit then
// inserts what was let through. Leaving a field runs its exit check.
bool EnterDataWindow::eventFilter(QObject* watched, QEvent* event) {
    const QString name = fieldOf_.value(watched);
    if (name.isEmpty())
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::Wheel) {
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
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            editor_.form().leave(editor_.form().field(name));
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
            edit->setEnabled(true); // read-only, yet selectable for copying
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
    switch (id) {
    case MenuId::FileNew:
        e.FileNew(NewEntry::New);
        break;
    case MenuId::FileNewVersionV1x:
        e.FileNew(NewEntry::V1x);
        break;
    case MenuId::FileNewVersionV20xx:
        e.FileNew(NewEntry::V20xx);
        break;
    case MenuId::FileNewVersionV21xx:
        e.FileNew(NewEntry::V21xx);
        break;
    case MenuId::FileNewVersionV22xx:
        e.FileNew(NewEntry::V22xx);
        break;
    case MenuId::FileOpen:
        e.FileOpen();
        break;
    case MenuId::FileSave:
        e.FileSave();
        break;
    case MenuId::FileSaveAs:
        e.FileSaveAs();
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
        e.ReadFromDevice();
        break;
    case MenuId::CommunicationWriteToDevice:
        e.WriteToDevice();
        break;
    case MenuId::WriteDefaultBora:
        e.WriteDefault(QStringLiteral("BORA"));
        break;
    case MenuId::WriteDefaultZal:
        e.WriteDefault(QStringLiteral("ZAL"));
        break;
    case MenuId::WriteDefaultMuve:
        e.WriteDefault(QStringLiteral("MUVE"));
        break;
    case MenuId::WriteDefaultDorf:
        e.WriteDefault(QStringLiteral("DORF"));
        break;
    case MenuId::WriteVersionByte:
        e.WriteVersionByte();
        break;
    case MenuId::ChangeFixedRadioCodes:
        changeFixedCodes();
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
