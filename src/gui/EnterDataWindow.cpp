#include "EnterDataWindow.h"

#include "AboutDialog.h"
#include "ChangeFixedDialogs.h"
#include "ReceiveRadioDialog.h"
#include "SelectDirectoryDialog.h"
#include "shell/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <map>

namespace zal::gui {

EnterDataWindow::EnterDataWindow(TfrmEnterData& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    buildMenus(bar);
    tabs_ = new QTabWidget(this);
    layout->addWidget(tabs_);
    buildPages();
    auto* statusBar = new QStatusBar(this);
    status_ = new QLabel(statusBar);
    progress_ = new QProgressBar(statusBar);
    progress_->setMaximumWidth(200);
    progress_->hide();
    statusBar->addWidget(status_, 1);
    statusBar->addPermanentWidget(progress_);
    layout->addWidget(statusBar);

    editor_.form.addObserver([this](const Field& f, FieldChange) { mirror(f); });
    editor_.observer.titleChanged = [this] { setWindowTitle(editor_.title()); };
    editor_.observer.pageChanged = [this] { tabs_->setCurrentIndex(editor_.page()); };
    editor_.observer.menusChanged = [this] { mirrorMenus(); };
    editor_.observer.statusChanged = [this] { mirrorStatus(); };
    editor_.observer.processEvents = [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    editor_.observer.progress = [this](int done, int planned) {
        progress_->setMaximum(std::max(planned, 1));
        progress_->setValue(done);
        progress_->setVisible(done < planned);
    };
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) { editor_.setPage(page); });

    for (Field& f : editor_.form.fields())
        mirror(f);
    mirrorMenus();
    mirrorStatus();
    setWindowTitle(editor_.title());
    tabs_->setCurrentIndex(editor_.page());
}

void EnterDataWindow::buildMenus(QMenuBar* bar) {
    std::map<QString, QMenu*> menus;
    for (const MenuItem& item : editor_.menus()) {
        const QString name = QLatin1String(item.name);
        const bool hasChildren =
            std::any_of(editor_.menus().begin(), editor_.menus().end(),
                        [&](const MenuItem& other) { return name == QLatin1String(other.parent); });
        QMenu* parentMenu =
            menus.count(QLatin1String(item.parent)) ? menus[QLatin1String(item.parent)] : nullptr;
        if (parentMenu && item.separatorBefore)
            parentMenu->addSeparator();
        if (hasChildren) {
            QMenu* menu = parentMenu ? parentMenu->addMenu(Str(item.textId)) : bar->addMenu(Str(item.textId));
            menus[name] = menu;
            actions_.insert(name, menu->menuAction());
            continue;
        }
        QAction* action =
            parentMenu ? parentMenu->addAction(Str(item.textId)) : bar->addAction(Str(item.textId));
        if (qstrlen(item.shortcut))
            action->setShortcut(QKeySequence(QLatin1String(item.shortcut)));
        actions_.insert(name, action);
        connect(action, &QAction::triggered, this, [this, name] { runMenu(name); });
    }
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

void EnterDataWindow::buildPages() {
    std::map<std::string, QGridLayout*> grids;
    std::map<std::string, int> gridOffsets; // grid groups have a row-caption column and a header row
    for (const PageDecl& page : FormPages()) {
        auto* scroll = new QScrollArea(tabs_);
        auto* content = new QWidget(scroll);
        auto* pageLayout = new QVBoxLayout(content);
        for (const GroupDecl& group : FormGroups()) {
            if (group.page != static_cast<int>(&page - &FormPages()[0]))
                continue;
            auto* box = new QGroupBox(Str(group.captionId), content);
            auto* grid = new QGridLayout(box);
            for (size_t c = 0; c < group.columnCaptionIds.size(); ++c)
                grid->addWidget(new QLabel(Str(group.columnCaptionIds[c]), box), 0, static_cast<int>(c) + 1);
            grids[group.name] = grid;
            pageLayout->addWidget(box);
        }
        pageLayout->addStretch(1);
        scroll->setWidget(content);
        scroll->setWidgetResizable(true);
        tabs_->addTab(scroll, Str(page.captionId));
    }
    std::map<std::pair<std::string, int>, bool> rowCaptioned;
    for (Field& f : editor_.form.fields()) {
        QGridLayout* grid = grids[f.decl->group];
        QWidget* box = grid->parentWidget();
        QWidget* w = makeWidget(f);
        w->setParent(box);
        const int row = f.decl->row + 1;
        const auto key = std::pair(std::string(f.decl->group), row);
        if (f.decl->rowCaptionId && !rowCaptioned[key] && f.kind() != FieldKind::Check) {
            grid->addWidget(new QLabel(Str(f.decl->rowCaptionId), box), row, 0);
            rowCaptioned[key] = true;
        }
        const int column = f.decl->column + 1;
        grid->addWidget(w, row, column);
        if (f.decl->unitCaptionId)
            grid->addWidget(new QLabel(Str(f.decl->unitCaptionId), box), row, column + 1);
        if (f.decl->hidden)
            w->hide();
    }
    // Fields keep their natural width; the space left over goes to the right.
    for (auto& [name, grid] : grids)
        grid->setColumnStretch(grid->columnCount(), 1);
}

QWidget* EnterDataWindow::makeWidget(Field& f) {
    const QString name = f.name();
    QWidget* w = nullptr;
    switch (f.kind()) {
    case FieldKind::Edit: {
        auto* edit = new QLineEdit;
        edit->setMaximumWidth(f.maxLength == 4 ? 80 : 200);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
            editor_.form.replaceText(editor_.form.field(name), text);
        });
        w = edit;
        break;
    }
    case FieldKind::Combo: {
        auto* combo = new QComboBox;
        combo->setMinimumContentsLength(12);
        combo->setMaximumWidth(320);
        connect(combo, &QComboBox::activated, this,
                [this, name](int index) { editor_.form.selectIndex(editor_.form.field(name), index); });
        w = combo;
        break;
    }
    case FieldKind::Check: {
        auto* check = new QCheckBox(Str(f.decl->rowCaptionId));
        connect(check, &QCheckBox::clicked, this,
                [this, name](bool checked) { editor_.form.setChecked(editor_.form.field(name), checked); });
        w = check;
        break;
    }
    case FieldKind::Button: {
        auto* button = new QPushButton(QStringLiteral("..."));
        button->setMaximumWidth(32);
        const int position = name.right(1).toInt();
        connect(button, &QPushButton::clicked, this, [this, position] { learn(position); });
        w = button;
        break;
    }
    }
    w->setObjectName(name);
    widgets_.insert(name, w);
    fieldOf_.insert(w, name);
    return w;
}

// Keys go through the field's filter first, as the original's key handlers did; the line edit then
// inserts what was let through. Leaving a field runs its exit check.
bool EnterDataWindow::eventFilter(QObject* watched, QEvent* event) {
    const QString name = fieldOf_.value(watched);
    if (!name.isEmpty() && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && (text[0].isPrint() || text[0] == QChar(8))) {
            QChar typed = text[0];
            if (!editor_.form.filterKey(editor_.form.field(name), typed))
                return true;
            if (typed != text[0]) {
                QKeyEvent changed(QEvent::KeyPress, key->key(), key->modifiers(), QString(typed));
                QApplication::sendEvent(watched, &changed);
                return true;
            }
        }
    } else if (!name.isEmpty() && event->type() == QEvent::FocusOut) {
        // Only moving on to another field leaves it; a message box or menu coming up does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            editor_.form.leave(editor_.form.field(name));
    }
    return QDialog::eventFilter(watched, event);
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
        edit->setMaxLength(f.maxLength > 0 ? f.maxLength : 32767);
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

void EnterDataWindow::runMenu(const QString& name) {
    TfrmEnterData& e = editor_;
    if (name == QLatin1String("mnuFileNew"))
        e.FileNew(NewEntry::New);
    else if (name == QLatin1String("mnuFileNewVersionV1x"))
        e.FileNew(NewEntry::V1x);
    else if (name == QLatin1String("mnuFileNewVersionV20xx"))
        e.FileNew(NewEntry::V20xx);
    else if (name == QLatin1String("mnuFileNewVersionV21xx"))
        e.FileNew(NewEntry::V21xx);
    else if (name == QLatin1String("mnuFileNewVersionV22xx"))
        e.FileNew(NewEntry::V22xx);
    else if (name == QLatin1String("mnuFileOpen"))
        e.FileOpen();
    else if (name == QLatin1String("mnuFileSave"))
        e.FileSave();
    else if (name == QLatin1String("mnuFileSaveAs"))
        e.FileSaveAs();
    else if (name == QLatin1String("mnuFileSelectDefaultFolder"))
        selectDefaultFolder();
    else if (name == QLatin1String("mnuFileExit")) {
        if (e.FileExit())
            accept();
    } else if (name == QLatin1String("mnuCommunicationReadFromDevice"))
        e.ReadFromDevice();
    else if (name == QLatin1String("mnuCommunicationWriteToDevice"))
        e.WriteToDevice();
    else if (name.startsWith(QLatin1String("mnuWriteDefault")))
        e.WriteDefault(name.mid(15).toUpper());
    else if (name == QLatin1String("mnuWriteVersionByte"))
        e.WriteVersionByte();
    else if (name == QLatin1String("mnuChangeFixedRadioCodes"))
        changeFixedCodes();
    else if (name == QLatin1String("mnuHelpAbout"))
        AboutDialog(e.kbxFactory(), e.clock(), this).exec();
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
