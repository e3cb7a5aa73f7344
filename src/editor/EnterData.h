#pragma once

#include "Dialogs.h"
#include "FormModel.h"
#include "Menus.h"
#include "ParameterMap.h"
#include "config/ConfigImage.h"
#include "config/Identification.h"
#include "shell/AppFolders.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace zal {

enum FileState { fsNew = 0, fsOpened = 1, fsSaved = 2, fsFromDevice = 3 };

// The entries that start a new configuration.
enum class NewEntry { New, V1x, V20xx, V21xx, V22xx, Unknown };

// What a view mirrors besides the fields.
struct EditorObserver {
    std::function<void()> titleChanged;
    std::function<void()> pageChanged;
    std::function<void()> menusChanged;
    std::function<void()> statusChanged; // status text or busy state
    std::function<void()> processEvents; // a moment to repaint inside long commands
};

// The parameter editor without its window: the working and comparison images, the current product and
// version, the file name and state, the folders and switches, the fields, the menus and the page shown.
// Messages, questions and file dialogs go through the injected dialogs.
class TfrmEnterData {
public:
    struct Options {
        QStringList arguments;    // the program's command line, without the program name
        QString installFolder;    // where the shipped copies lie
        PlatformFolders platform; // the user's data and documents folders
        QLocale locale = QLocale::system();
    };

    TfrmEnterData(Dialogs& dialogs, Options options);
    TfrmEnterData(const TfrmEnterData&) = delete;
    TfrmEnterData& operator=(const TfrmEnterData&) = delete;

    // --- State ---
    FormModel form;
    ConfigImage working{};
    ConfigImage comparison{};
    EditorObserver observer;

    int product() const { return selection_.product(); }
    int version() const { return selection_.version(); }
    int minor() const { return selection_.minor(); }
    const ProductSelection& selection() const { return selection_; }
    const QString& fileName() const { return fileName_; }
    FileState fileState() const { return fileState_; }
    const AppFolders& folders() const { return folders_; }
    bool serviceMode() const { return serviceMode_; }
    bool codeChange() const { return codeChange_; }
    const QLocale& locale() const { return locale_; }
    int page() const { return page_; }
    QString title() const { return title_; }
    QString statusText() const { return status_; }
    bool busy() const { return busy_; }
    int lastFault() const { return lastFault_; }
    const std::vector<MenuItem>& menus() const { return menus_; }
    const MenuItem* menu(const QString& name) const;
    Dialogs& dialogs() { return dialogs_; }

    // --- Product selection ---
    void SelectProductVersion(int versionCode, int minorVersion, int productCode);
    void SetCurrentProduct(int productCode);
    // A product button of the selection window: the product at its newest layout, then File New.
    void SelectProduct(int productCode);

    // --- The maps ---
    int FillFields();
    // Collects into the working image; on a text that does not parse the image stays as it was and the
    // error is returned (the caller shows it with ReportConversionError).
    std::optional<ConversionError> CollectFields();
    void ReportConversionError(const ConversionError& error);
    MapContext mapContext();

    // --- File commands ---
    void FileNew(NewEntry entry = NewEntry::New);
    void FileOpen();
    void FileSave();
    void FileSaveAs();
    // File, Exit: false when the user cancelled and the editor stays open.
    bool FileExit();
    // Whatever way the editor closes, it resets itself to BORA without a file.
    void ResetOnClose();
    void SetDefaultConfigFolder(const QString& folder);

    // --- Window ---
    void setPage(int page);
    void UpdateCaption();
    void setStatus(const QString& text);
    void setBusy(bool busy);
    void setFile(const QString& name, FileState state);
    void processEvents();

    // Shows a message and, as the device commands do, puts its text into the status bar.
    void message(MessageKind kind, int id, const QString& text);

private:
    void BuildValueLists();
    void ApplyEnablingRules();
    void AdaptToProduct();
    void setMenu(const char* name, bool visible, bool enabled);
    void installHandlers();
    bool SaveTo(const QString& path);
    QString productName(int code) const;
    FileDialogRequest fileRequest(int titleId) const;

    Dialogs& dialogs_;
    AppFolders folders_;
    QLocale locale_;
    ProductSelection selection_;
    MapState mapState_;
    std::vector<MenuItem> menus_;
    QString fileName_;
    FileState fileState_ = fsNew;
    bool serviceMode_ = false;
    bool codeChange_ = false;
    int page_ = 0;
    QString title_;
    QString status_;
    bool busy_ = false;
    int lastFault_ = -1;
};

} // namespace zal
