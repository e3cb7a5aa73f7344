#pragma once

#include "backup/BackupStore.h"
#include "config/ConfigImage.h"
#include "config/Identification.h"
#include "device/KbxInterface.h"
#include "editor/FixedCodeWindows.h"
#include "form/FormModel.h"
#include "form/Menus.h"
#include "maps/ParameterMap.h"
#include "radio/DeviceIdentity.h"
#include "rules/Validation.h"
#include "shell/AppFolders.h"
#include "shell/CommandResult.h"
#include "shell/Dialogs.h"
#include "shell/Messages.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace zal {

struct WritePlan;

enum FileState { fsNew = 0, fsOpened = 1, fsSaved = 2, fsFromDevice = 3 };

// The entries that start a new configuration.
enum class NewEntry { New, V1x, V20xx, V21xx, V22xx, Unknown };
// The layout version an entry asks for: the product's newest for New, kVersionInvalid for Unknown.
int NewEntryVersion(NewEntry entry, int product);

// A field whose shown value differs between two configurations, as the technician reads both.
struct DifferenceRow {
    QString name, page, group, caption, mine, other;
};

// What a view mirrors besides the fields.
struct EditorObserver {
    std::function<void()> titleChanged;
    std::function<void()> pageChanged;
    std::function<void()> menusChanged;
    std::function<void()> statusChanged;                 // status text or busy state
    std::function<void()> processEvents;                 // a moment to repaint inside long commands
    std::function<void(int done, int planned)> progress; // chunks of a device command
    // A second line for the technician beside a message, e.g. why the KBX could not be opened.
    std::function<void(const QString&)> notice;
    // Asked before a write changes anything, with the fields it will change (mine: the device's value
    // now, other: the value it will get); false stops the write. Not asked when unset or when the
    // preview is switched off in the backup settings.
    std::function<bool(const std::vector<DifferenceRow>&)> confirmWrite;
    // Asked between the chunks of a device command until its first write frame: true ends the command
    // there with nothing written (a signal to a command-line program; the window's Abbrechen cancels the
    // transfer itself). Once a byte is written the transfer runs on to its verification.
    std::function<bool()> stopRequested;
    // How the technician puts a kept backup back, said after a write that did not end as planned; the
    // window's menu item when unset.
    std::function<QString(const QString& backupName)> restoreHint;
};

// Results of the default image procedure (the steps after the question and the device check).
enum DefaultWriteResult {
    dwWritten = 1,   // written and verified
    dwDifferent = 2, // the verification found a difference
    dwVerifyReadFailed = 3,
    dwWriteFailed = 4, // loading the file or a write failed
    dwNoDevice = 5,
    dwNoKbx = 6,
};

enum class FixedCodeWindow { None, Classic, Plus };

// What a backup of another device (another serial number of the same product) becomes in the device
// behind the KBX. Two alarm systems whose devices share a fixed radio ID set off each other's alarms,
// so its fixed radio IDs never go in unasked: Ask puts the question; ConfigurationOnly writes what a
// write covers, the device keeping its own fixed radio IDs and serial number; Replacement writes the
// fixed radio IDs too, the device taking the place of the backup's (a broken one replaced, so that the
// receivers need not learn again), which the records note.
enum class RestoreInto { Ask, ConfigurationOnly, Replacement };

// The parameter editor without its window: the working and comparison images, the current product and
// version, the file name and state, the folders and switches, the fields, the menus and the page shown.
// Messages, questions and file dialogs go through the injected dialogs. Every command returns a
// CommandResult: its kind, the message that tells most about it and, for a device command, whether
// anything was written into the device.
class TfrmEnterData final : public ValidationHost {
public:
    struct Options {
        QStringList arguments;    // the program's command line, without the program name
        QString installFolder;    // where the shipped copies lie
        PlatformFolders platform; // the user's data and documents folders
        QLocale locale = QLocale::system();
        KbxTransportFactory kbxFactory = DefaultTransportFactory();
        KbxClock* clock = &SystemClock();
    };

    TfrmEnterData(Dialogs& dialogs, Options options);
    TfrmEnterData(const TfrmEnterData&) = delete;
    TfrmEnterData& operator=(const TfrmEnterData&) = delete;

    // --- State ---
    FormModel& form() override { return form_; }
    const FormModel& form() const { return form_; }
    // The configuration being edited, as last filled or collected.
    const ConfigImage& working() const { return working_; }
    // Puts bytes into the working image without showing them: the next FillFields does (for the maps'
    // own checks and tools that drive fill and collect directly).
    void setWorking(const ConfigImage& image) { working_ = image; }
    // What a device read or a file about to be overwritten brought in.
    const ConfigImage& comparison() const { return comparison_; }
    EditorObserver& observer() { return observer_; }

    int product() const override { return selection_.product(); }
    int version() const override { return selection_.version(); }
    int minor() const { return selection_.minor(); }
    const ProductSelection& selection() const { return selection_; }
    const QString& fileName() const { return fileName_; }
    FileState fileState() const { return fileState_; }
    const AppFolders& folders() const { return folders_; }
    bool serviceMode() const { return serviceMode_; }
    bool codeChange() const { return codeChange_; }
    const QLocale& locale() const override { return locale_; }
    int page() const { return page_; }
    QString title() const { return title_; }
    // What the title names before the program's name: the file, and the device it was read from or
    // written into.
    QString titleSubject() const { return titleSubject_; }
    QString statusText() const { return status_; }
    bool busy() const { return busy_; }
    int lastFault() const { return lastFault_; }
    const std::vector<MenuItem>& menus() const { return menus_; }
    const MenuItem* menu(const QString& name) const; // by the item's name; nullptr when none has it
    const MenuItem& menu(MenuId id) const;
    Dialogs& dialogs() { return dialogs_; }

    // --- Undo ---
    // One step back or forward. The page of the first field the step changes comes into view and the
    // status bar names the step ("Rückgängig: Funkeingänge / Position 1 / Funk ID's"); the field's
    // name, for the window to show it, or empty when there was no step.
    QString Undo();
    QString Redo();

    // --- Product selection ---
    void SelectProductVersion(int versionCode, int minorVersion, int productCode);
    void SetCurrentProduct(int productCode);
    // A product button of the selection window: the product at its newest layout, then File New.
    CommandResult SelectProduct(int productCode);

    // --- The maps ---
    int FillFields();
    // Collects into the working image; on a text that does not parse the image stays as it was and the
    // error is returned (the caller shows it with ReportConversionError).
    std::optional<ConversionError> CollectFields();
    void ReportConversionError(const ConversionError& error) override;
    MapContext mapContext();

    // --- File commands ---
    CommandResult FileNew(NewEntry entry = NewEntry::New);
    CommandResult FileOpen();
    // Open without the dialog: a file named on the command line or opened from a file manager.
    CommandResult OpenPath(const QString& path);
    CommandResult FileSave();
    CommandResult FileSaveAs();
    // File, Exit: done when the editor closes; cancelled or failed when it stays open (the user
    // cancelled, or the save asked for was cancelled or failed: closing then would lose the edits).
    CommandResult FileExit();
    // The window's close box: without unsaved changes true at once; with them the question of
    // File, Exit, with the same outcomes. The caller resets the editor when it closes.
    bool CloseRequested();
    // Before New, Open or Read replace unsaved edits: the question whether to save them first (a
    // question, not the exit one); true when the editor may go on.
    bool DiscardRequested();
    // Whether the fields hold what the image last opened, saved, read or written does not.
    bool HasUnsavedChanges();
    // Whatever way the editor closes, it resets itself to BORA without a file.
    void ResetOnClose();
    void SetDefaultConfigFolder(const QString& folder);

    using DifferenceRow = zal::DifferenceRow;
    // Opens path in a second editor made as this one was and lists the shown fields whose values
    // differ from this editor's, in the window's order; nothing when the file was not opened (its
    // message has been shown).
    std::optional<std::vector<DifferenceRow>> CompareWith(const QString& path);
    // The fields two device images show differently, each shown as the product and version it holds
    // (a device's history); nothing for an image the editor cannot show.
    std::vector<DifferenceRow> ImageChanges(const ConfigImage& from, const ConfigImage& to);

    // --- Device commands (every one opens the KBX at its start and closes it on every path) ---
    CommandResult ReadFromDevice(); // done when the device's image is in the editor
    CommandResult WriteToDevice();  // done only when the verification found the device as meant
    // Reads the device and tells what a write would change (writeChanges()), writing nothing.
    CommandResult PreviewWrite();
    // Writes an image back exactly as it was kept (a backup, opened first with OpenPath, which refuses
    // what the editor refuses): every range a write covers and the fixed radio IDs, each byte its own,
    // not as the fields would write it. Done only when a full read finds every written byte.
    // A backup of another device (another serial number of the same product) goes in only as into
    // says: Ask puts the question (where nobody answers it, it is refused, naming both serial numbers).
    CommandResult RestoreImage(const ConfigImage& kept, RestoreInto into = RestoreInto::Ask);
    // The fields the last write changed, or the last preview would change: the device's value as mine,
    // the written one as other.
    // Worked out on the first ask, so that a write nobody asks about (the production line) does not pay.
    const std::vector<DifferenceRow>& writeChanges();
    // Whether writeChanges() tells: only when the device was read whole before the write (backups or
    // the preview on).
    bool writeChangesKnown() const { return changeImages_.has_value(); }
    // The device the last write or preview read before writing: the one it writes into.
    std::optional<DeviceIdentity> writeTarget() const;
    // The device the editor's image was last read from or verified in; empty for a file or a new one.
    const QString& deviceName() const { return deviceName_; }
    // Stops the transfer under way before its next chunk (the progress bar's cancel button).
    void CancelTransfer() { kbx_.requestCancel(); }
    CommandResult SaveDeviceImage(const ConfigImage& image, int productCode);
    // Done only when the default image was written and verified; cancelled when asked No.
    CommandResult WriteDefault(const QString& modelWord);
    // A DefaultWriteResult. With a device, the write goes only into the one with its identity.
    int DefaultWriteProcedure(const QString& fileName, const ConfigImage* device = nullptr);
    CommandResult WriteVersionByte(); // done when the device reads back version byte 0

    // Radio code learning: Start switches reception on (false when that failed), Poll is the 500 ms
    // tick (Received: a code arrived and the window closes; LineLost: the KBX is gone and the window
    // closes as Abort does), Finish puts the code in (after Abort the field stays as it was), switches
    // reception off and says when the KBX was lost.
    enum class LearnState { Waiting, Received, LineLost };
    CommandResult LearnStart(int position);
    LearnState LearnPoll();
    CommandResult LearnFinish(bool ok);
    QString learnActionText() const { return learnActionText_; }
    QString receivedCode() const { return receivedCode_; }

    // Changing the fixed radio ID codes: Begin checks the device's product and prepares the window
    // (None when the command ended with its message); after the window closed with OK, Commit takes
    // the new codes into the working image and refreshes the fields that show them.
    // outcome, when given, receives how the check went.
    FixedCodeWindow ChangeFixedCodesBegin(CommandResult* outcome = nullptr);
    void ChangeFixedCodesCommit(FixedCodeWindow window);
    TfrmChangeFixed& changeFixed() { return changeFixed_; }
    TfrmChangeFixedPlus& changeFixedPlus() { return changeFixedPlus_; }

    // --- What the device commands leave behind ---
    // The device backups in the data folder, with the policy of the settings file as it is now.
    BackupStore backups() const;
    // Ends the connection to the records the device commands keep; from the thread that ran them.
    void CloseRecords();
    // Records in the device's history what a transfer left in it (the image read back) and of what kind
    // ("write", "restore", "replacement", "write-default", "line"); the commands here record their own.
    Result<> RecordDeviceEvent(const ConfigImage& image, const QString& kind);
    // The backup the last device command made or found unchanged; empty when it made none.
    const QString& lastBackup() const { return lastBackup_; }
    // Frames in the support log (the window's "Protokoll" switch); on when ZAL_KBX_TRACE is set.
    bool frameLogging() const { return frameLogging_; }
    void setFrameLogging(bool on) { frameLogging_ = on; }
    QString supportLogPath() const;
    // The KBX's information text, or why there is none (for the support information).
    QString KbxInformation();

    KbxTransportFactory kbxFactory() const { return kbxFactory_; }
    const TKbxInterface& kbx() const { return kbx_; }
    KbxClock& clock() { return clock_; }

    // --- Window ---
    void setPage(int page);
    void UpdateCaption();
    void setStatus(const QString& text);
    void setBusy(bool busy);
    void setFile(const QString& name, FileState state);
    void processEvents();

    // Shows a message box with the message's text, its %s filled from arguments.
    void show(MessageKind kind, Msg message, const QStringList& arguments = {}) override;
    // The same, and the text goes into the status bar too, as the device commands report.
    // consequence: what the failure means for the device, a paragraph of its own in the box and part of
    // the result's detail (after why the line failed, when the transport knows).
    void report(MessageKind kind, Msg message, const QStringList& arguments = {},
                const QString& consequence = {});
    Answer ask(MessageKind icon, Msg message, QuestionButtons buttons, const QStringList& arguments = {});
    void setStatus(Msg message);

private:
    void BuildValueLists();
    void ApplyEnablingRules();
    void AdaptToProduct();
    void setMenu(MenuId id, bool visible, bool enabled);
    void installHandlers();
    CommandResult SaveTo(const QString& path, bool saveAs);
    bool AskToSaveBeforeLeaving(); // false when the editor must stay open
    // The working image as the form would collect it; nothing when a text does not parse.
    std::optional<ConfigImage> collectedImage();
    void MarkClean();
    QString productName(int code) const;
    // An image byte that matches no list item: its value and its address, both in decimal.
    void ShowFault(Msg message, int address);
    FileDialogRequest fileRequest(int titleId) const;

    void planProgress(int planned);
    // Every device command runs inside this: it keeps the command's record for the support log,
    // completes the backup's index entry with the result and reports a backup that failed.
    CommandResult RunDeviceCommand(const QString& name, const std::function<CommandResult()>& steps);
    // Keeps an image just read from the device; a failure is noted, never stops the command.
    void BackupDeviceImage(const ConfigImage& image);
    void RecordLine(const QString& line);
    // One line in the support log for the commands that span several calls (learning, fixed codes).
    void LogEvent(const QString& text) const;
    CommandResult ReadSteps();
    CommandResult WriteSteps(bool previewOnly);
    CommandResult RestoreSteps(const ConfigImage& kept, RestoreInto into);
    // Whether the device that answered the verification read is the one the command wrote into
    // (expected: what that device holds now); false after saying which device is there instead.
    bool StillTheSameDevice(const ConfigImage& expected);
    // The steps of a write, each said and ended where it stops the write.
    std::optional<CommandResult> RefusedBeforeWrite();
    std::optional<CommandResult> ConfirmWrite(int writeChunks);
    CommandResult WriteCancelled(const WritePlan& plan, const ConfigImage& before, bool whole);
    CommandResult VerifyWrite(const WritePlan& plan);
    // Sends a plan's writes, every one even after a failure; whether all were acknowledged. With an
    // expected device, its identity is read again before the first frame and before every range that
    // carries radio IDs: another device there stops the plan (swappedIn_ holds what answered).
    bool SendPlan(const WritePlan& plan, const ConfigImage* expected = nullptr);
    // The identity of the device behind the KBX now: its identity bytes and a MUVE+ II's long serial.
    int ReadIdentity(ConfigImage& into);
    int IdentityChunks() const;
    // Reads ranges of the device between two reads of its identity. Swapped: the device changed during
    // the read, so `into` mixes two devices and is neither kept nor written from.
    enum class DeviceRead { Read, Cancelled, Failed, Swapped };
    // `before` receives the identity read first.
    DeviceRead ReadDevice(ConfigImage& into, const std::vector<AddressRange>& ranges, ConfigImage& before);
    // How many identity reads SendPlan makes for these writes.
    int IdentityChecks(const std::vector<AddressRange>& writes) const;
    // How a kept backup goes back into the device, as this program's user does it.
    QString RestoreHint(const QString& backupName) const;
    // After another device answered than the one written into: both named, and which of the ranges sent
    // went into the first and which into either, in the order sent.
    QString SwapConsequence(const ConfigImage& now, const ConfigImage& expected) const;
    CommandResult SwappedDuringRead(const ConfigImage& now, const ConfigImage& before);
    // The stop asked for before the first write frame.
    bool StopBeforeWriting();
    // The editor takes what the device holds after a verified transfer; the status names what it kept.
    void TakeVerifiedImage();
    // The verified image as the command's event in the device's history; a failure is said, never
    // undoes the transfer.
    void RecordEvent(const QString& kind);
    // The full read after a write; false after saying the device could not be read.
    bool ReadForVerification();
    // A write verified: said, and the editor clean.
    CommandResult Programmed();
    // Another product, or a version the editor's image cannot be written into: said, and true.
    bool RefusesDevice(int deviceProduct, int deviceVersion);
    // The fields shown differently by two images of the product being edited, in the window's order.
    std::vector<DifferenceRow> DifferencesBetween(const ConfigImage& from, const ConfigImage& to);
    // The same, each image shown as the product and version it holds when eachAsItHolds.
    std::vector<DifferenceRow> Differences(const ConfigImage& from, const ConfigImage& to,
                                           bool eachAsItHolds);
    // After a write that did not end as planned: what the device got, and how to put back what it held.
    QString WriteConsequence() const;
    // asked: the device the question named, whose identity the device written must have.
    CommandResult WriteDefaultSteps(const QString& modelWord, const ConfigImage& asked);
    // The default image file a device takes (its product one of the older ones, its layout known,
    // the file there); empty after saying why it takes none. versionText receives the layout's name.
    QString DefaultImageFor(const ConfigImage& device, const QString& modelWord,
                            QString* versionText = nullptr);
    CommandResult WriteVersionByteSteps();
    std::optional<int> productCodeOfDevice();
    void RefreshFixedCodeFields();
    QString TravelHistory(bool back);

    // The messages a command shows are noted while it runs, so that its result can name the one that
    // tells most. Commands nest (Exit saves, Read may save the device's image): the outermost one
    // begins the note. A command is one technician action: what it changes in the fields is one undo
    // step, unless it leaves them as last opened, saved, read or written, where a new history starts.
    class CommandScope {
    public:
        explicit CommandScope(TfrmEnterData& editor);
        ~CommandScope();
        CommandScope(const CommandScope&) = delete;
        CommandScope& operator=(const CommandScope&) = delete;
        // The result with the message noted, unless it names one of its own.
        CommandResult operator()(CommandResult result) const;

    private:
        TfrmEnterData& editor_;
    };
    CommandResult noted_ = CommandResult::Done;
    int commandDepth_ = 0;
    bool deviceWritten_ = false; // a write frame went to the device during the command under way
    // The ranges of the command's writes in the order sent, how many went out before the last identity
    // read that found the device expected, and the device found instead.
    std::vector<AddressRange> sentInOrder_;
    size_t sentConfirmed_ = 0;
    std::optional<ConfigImage> swappedIn_;
    QString deviceName_;
    bool keptOwn_ = false; // the verified device kept a serial number or radio IDs the editor did not hold

    Dialogs& dialogs_;
    Options options_; // as made, for a second editor of the same kind
    FormModel form_;
    ConfigImage working_{};
    ConfigImage comparison_{};
    EditorObserver observer_;
    KbxTransportFactory kbxFactory_;
    KbxClock& clock_;
    TKbxInterface kbx_;
    TfrmChangeFixed changeFixed_;
    TfrmChangeFixedPlus changeFixedPlus_;
    int progressDone_ = 0, progressPlanned_ = 0;
    int saveFilterIndex_ = 1;
    QString receivedCode_;
    QString learnActionText_;
    int learnPosition_ = 0;
    bool learnLineLost_ = false;
    AppFolders folders_;
    QLocale locale_;
    ProductSelection selection_;
    MapState mapState_;
    // The field states the rules give BORA V22 on a new window: every product's rules start from
    // them, so that a field a product leaves alone never keeps what the product shown before made it.
    std::vector<FieldState> ruleBaseline_;
    std::vector<MenuItem> menus_;
    QString fileName_;
    FileState fileState_ = fsNew;
    bool serviceMode_ = false;
    bool codeChange_ = false;
    int page_ = 0;
    QString title_;
    QString titleSubject_;
    QString status_;
    bool busy_ = false;
    int lastFault_ = -1;
    ConfigImage clean_{}; // the image as last opened, saved, read or written

    struct CommandRecord {
        bool active = false;
        QString command;
        QStringList lines;
        QString backupFile;
        bool backupReused = false;
        QString backupProblem; // what the technician should hear of the backup, after the status
    };
    CommandRecord record_;
    QString lastBackup_;
    std::optional<std::pair<ConfigImage, ConfigImage>> changeImages_; // the device before, and as planned
    std::optional<std::vector<DifferenceRow>> writeChanges_;
    bool frameLogging_ = false;
    // The store the device commands back up into, kept from one command to the next, since it knows
    // how much of the index it has read.
    BackupStore& commandBackups();
    std::optional<BackupStore> commandBackups_;
};

} // namespace zal
