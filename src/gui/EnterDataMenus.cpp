// The editor window's menus: built from the core's menu table, the items the program adds, and what
// each one runs.

#include "EnterDataWindow.h"

#include "AboutDialog.h"
#include "ChangeFixedDialogs.h"
#include "DevicesDialog.h"
#include "ReceiveRadioDialog.h"
#include "RecordsDialogs.h"
#include "SelectDirectoryDialog.h"
#include "radio/RadioCode.h"
#include "shell/AppFolders.h"
#include "shell/Language.h"
#include "shell/StringTable.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <map>

namespace zal::gui {

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
            QMenu* menu = parentMenu ? parentMenu->addMenu(MenuText(item)) : bar->addMenu(MenuText(item));
            menus[id] = menu;
            actions_.insert(QLatin1String(item.name), menu->menuAction());
            continue;
        }
        QAction* action = parentMenu ? parentMenu->addAction(MenuText(item)) : bar->addAction(MenuText(item));
        if (qstrlen(item.shortcut))
            action->setShortcut(QKeySequence(QLatin1String(item.shortcut)));
        actions_.insert(QLatin1String(item.name), action);
        connect(action, &QAction::triggered, this,
                [this, id, product = item.product] { runMenu(id, product); });
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
    add(file, before, "mnuFileDevices", QCoreApplication::translate("Window", "&Geräte..."),
        [this] { runCommand([this] { DevicesDialog(editor_, this).exec(); }); });
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
            if (const Result<> stored = StoreChosenLanguage(code); !stored) {
                // The settings file named, so that the technician can see why it takes nothing.
                editor_.setStatus(
                    QCoreApplication::translate("Window", "Die Sprache kann nicht gespeichert werden.") +
                    u' ' + stored.error());
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

void EnterDataWindow::runMenu(MenuId id, int product) {
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
    case MenuId::WriteDefault:
        runCommand([&e, product] { e.WriteDefault(QLatin1String(ProductRow(product).defaultFileWord)); });
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
