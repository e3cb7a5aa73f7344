#pragma once

#include "editor/EnterData.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <vector>

class QAction;
class QPushButton;
class QLabel;
class QMenuBar;
class QProgressBar;
class QTabWidget;
class QWidget;

class QComboBox;

namespace zal::gui {

// The parameter editor's window: built from the form declaration, it mirrors the core's fields, title,
// page, menus and status, and hands every user action to the core. It is the program's main window
// while a configuration is edited; closing it (File, Exit or the close box) hands back to the product
// selection.
class EnterDataWindow : public QMainWindow {
public:
    explicit EnterDataWindow(TfrmEnterData& editor, QWidget* parent = nullptr);

    TfrmEnterData& editor() { return editor_; }
    QWidget* widget(const QString& fieldName) const { return widgets_.value(fieldName); }
    QAction* action(const QString& menuName) const { return actions_.value(menuName); }
    QTabWidget* tabs() const { return tabs_; }
    QLabel* statusLabel() const { return status_; }
    // The progress bar's button that stops a transfer.
    QPushButton* cancelButton() const { return cancel_; }

    // Shows the window where it was last (centred on the screen the first time), focus on the first
    // field of the page.
    void open();
    // The size that shows every page whole.
    QSize preferredSize();
    // Runs once the window has closed; the editor is then to be reset.
    std::function<void()> onClosed;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus(QMenuBar* bar);
    void addRecordMenus();
    void buildPages();
    void sizeFields();
    void orderTabs();
    QWidget* makeWidget(Field& field, QWidget* parent);
    void mirror(const Field& field);
    void mirrorMenus();
    void mirrorStatus();
    // product: what a default write writes.
    void runMenu(MenuId id, int product = 0);
    void learn(int position);
    void changeFixedCodes();
    void selectDefaultFolder();
    void focusFirstField();
    // Runs a command of the menus or the records windows (the editor makes what it changes one undo
    // step, or starts a new history when the fields are what was last opened, read, saved or written).
    void runCommand(const std::function<void()>& command);
    // New, Open and Read replace the fields: the close box's question first.
    bool mayDiscardEdits() { return editor_.DiscardRequested(); }
    // Binds undo and redo to the editor's history, which the core keeps.
    void bindHistory();
    void updateHistory();
    void switchPage(int step);
    // A code field shows what will be stored: upper case, padded with zeros.
    void showStoredCode(Field& field);
    void mirrorTitle();
    void setBusyInput(bool busy);

    class BusyInput;

    TfrmEnterData& editor_;
    QTabWidget* tabs_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QHash<QString, QWidget*> widgets_;
    QHash<QObject*, QString> fieldOf_;
    QHash<QObject*, QComboBox*> popupOf_; // a drop-down's list, to its drop-down
    QHash<QString, QAction*> actions_;
    QHash<QWidget*, int> pageOf_;
    QList<QWidget*> tabChain_;
    QPushButton* cancel_ = nullptr;
    BusyInput* busyInput_ = nullptr;
    bool busyCursor_ = false;
    // The actions a transfer turned off, to be turned on again when it ends.
    QList<QPointer<QAction>> offDuringTransfer_;
    bool exiting_ = false; // File, Exit has asked already
};

} // namespace zal::gui
