#pragma once

#include "editor/EnterData.h"

#include <QDialog>
#include <QHash>

class QAction;
class QLabel;
class QMenuBar;
class QProgressBar;
class QStatusBar;
class QTabWidget;
class QWidget;

namespace zal::gui {

// The parameter editor's window: built from the form declaration, it mirrors the core's fields, title,
// page, menus and status, and hands every user action to the core.
class EnterDataWindow : public QDialog {
public:
    EnterDataWindow(TfrmEnterData& editor, QWidget* parent = nullptr);

    TfrmEnterData& editor() { return editor_; }
    QWidget* widget(const QString& fieldName) const { return widgets_.value(fieldName); }
    QAction* action(const QString& menuName) const { return actions_.value(menuName); }
    QTabWidget* tabs() const { return tabs_; }
    QLabel* statusLabel() const { return status_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus(QMenuBar* bar);
    void buildPages();
    QWidget* makeWidget(Field& field);
    void mirror(const Field& field);
    void mirrorMenus();
    void mirrorStatus();
    void runMenu(const QString& name);
    void learn(int position);
    void changeFixedCodes();
    void selectDefaultFolder();

    TfrmEnterData& editor_;
    QTabWidget* tabs_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QHash<QString, QWidget*> widgets_;
    QHash<QObject*, QString> fieldOf_;
    QHash<QString, QAction*> actions_;
    bool busyCursor_ = false;
};

} // namespace zal::gui
