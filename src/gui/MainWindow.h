#pragma once

#include <QWidget>

#include <functional>
#include <memory>

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
    using EditorWindowFactory = std::function<std::unique_ptr<EnterDataWindow>()>;

    MainWindow(TfrmEnterData& editor, EnterDataWindow& editorWindow);
    // The editor window is made once the selection window is on screen, while the technician looks
    // at it, so that the program comes up at once.
    MainWindow(TfrmEnterData& editor, EditorWindowFactory makeEditorWindow);
    ~MainWindow() override;
    QPushButton* productButton(int product) const;
    EnterDataWindow& editorWindow();
    // Opens a configuration file in the editor, as Open does (a file named on the command line or
    // opened from a file manager); the selection window stays when the file is not taken.
    void openFile(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void select(int product);
    void editorClosed();

    TfrmEnterData& editor_;
    EditorWindowFactory makeEditorWindow_;
    std::unique_ptr<EnterDataWindow> ownEditorWindow_;
    EnterDataWindow* editorWindow_ = nullptr;
};

} // namespace zal::gui
