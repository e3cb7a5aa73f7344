#pragma once

#include "editor/EnterData.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <vector>

class QAction;
class QPushButton;
class QUndoStack;
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
    // The technician's field changes since the configuration was last opened, read, saved or written.
    QUndoStack* undoStack() const { return undo_; }

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
    void runMenu(MenuId id);
    void learn(int position);
    void changeFixedCodes();
    void selectDefaultFolder();
    void focusFirstField();
    // Runs a command of the menus or the records windows. Afterwards the fields either are what was
    // last opened, read, saved or written (a new undo history starts) or the technician's edits, now
    // changed by the command (one undo step).
    void runCommand(const std::function<void()>& command);
    // New, Open and Read replace the fields: the close box's question first.
    bool mayDiscardEdits() { return editor_.CloseRequested(); }
    // One technician action has run to its end: what it changed becomes one undo step.
    // leftField: the entry field just left, whose typing the step is.
    void settle(const QString& leftField = QString());
    void startHistory();
    void restoreFields(const std::vector<Field>& fields);
    void updateModified();
    void switchPage(int step);
    // A code field shows what will be stored: upper case, padded with zeros.
    void showStoredCode(Field& field);
    void mirrorTitle();
    void setBusyInput(bool busy);

    class FormStep;
    class BusyInput;
    friend class FormStep;

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
    QUndoStack* undo_ = nullptr;
    std::vector<Field> settled_; // the fields after the last undo step or command
    QString typing_;             // the entry field whose typing grows the newest undo step
    bool settleQueued_ = false;
    bool restoring_ = false;
    int commands_ = 0; // commands under way
    BusyInput* busyInput_ = nullptr;
    bool busyCursor_ = false;
    // The actions a transfer turned off, to be turned on again when it ends.
    QList<QPointer<QAction>> offDuringTransfer_;
    bool exiting_ = false; // File, Exit has asked already
};

} // namespace zal::gui
