#pragma once

#include <QWidget>

class QPushButton;

namespace zal {
class TfrmEnterData;
}

namespace zal::gui {

class EnterDataWindow;

// The product selection window: a product button starts a new configuration of that product and
// opens the editor; when the editor closes, this window comes back. Closing this window ("Beenden")
// ends the program.
class MainWindow : public QWidget {
public:
    MainWindow(TfrmEnterData& editor, EnterDataWindow& editorWindow);
    QPushButton* productButton(int product) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void select(int product);
    void editorClosed();

    TfrmEnterData& editor_;
    EnterDataWindow& editorWindow_;
};

} // namespace zal::gui
