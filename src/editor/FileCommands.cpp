// The editor's file commands: File New (and its version entries), Open, Save, Save As, and leaving
// the editor with or without saving.

#include "EnterData.h"
#include "form/FieldText.h"
#include "form/FormLayout.h"

#include "config/ImageFile.h"
#include "config/Products.h"
#include "shell/FileSystem.h"
#include "shell/StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zal {

int NewEntryVersion(NewEntry entry, int product) {
    switch (entry) {
    case NewEntry::New:
        return NewestLayout(product);
    case NewEntry::V1x:
        return kVersionV1x;
    case NewEntry::V20xx:
        return kVersionV20;
    case NewEntry::V21xx:
        return kVersionV21;
    case NewEntry::V22xx:
        return kVersionV22;
    case NewEntry::Unknown:
        break;
    }
    return kVersionInvalid;
}

CommandResult TfrmEnterData::FileNew(NewEntry entry) {
    const CommandScope scope(*this);
    if (entry == NewEntry::Unknown) {
        dialogs_.message(MessageKind::Error, 0,
                         QStringLiteral("Runtime error in File-New Click. Please contact VESK Electronics"));
        return scope(CommandResult::Failed);
    }
    int version = NewEntryVersion(entry, product());
    // A product with one layout (the extended repeaters, an older product made in one version only)
    // takes it whichever entry was chosen; the menu offers only the product's own.
    if (!HasLayout(product(), version))
        version = NewestLayout(product());
    const QString suffix = IsPlusProduct(product()) ? QStringLiteral("V1")
                           : FindClassicVersion(version)
                               ? QLatin1String(FindClassicVersion(version)->defaultSuffix)
                               : QString();
    const ProductInfo* info = FindProduct(product());
    const QString name =
        DefaultImageFileName(info ? QLatin1String(info->defaultFileWord) : QString(), suffix);
    const bool loaded = static_cast<bool>(LoadImageFile(folders_.dataFolder + name, working_));
    if (!loaded) {
        noted_.noteMessage(MessageKind::Error, Msg::DefaultImageMissing);
        noted_.setDetail(name);
        ShowMessage(dialogs_, MessageKind::Error, Msg::DefaultImageMissing,
                    MessageText(Msg::DefaultImageMissing) + name); // the name follows without a space
    }
    SelectProductVersion(working_[kVersionCodeAddress], working_[kMinorVersionAddress],
                         working_[kProductCodeAddress]);
    const int fault = FillFields();
    if (fault >= 0)
        ShowFault(Msg::DefaultImageFaulty, fault);
    setFile(QString(), fsNew);
    MarkClean();
    return scope(loaded ? CommandResult::Done : CommandResult::Failed);
}

FileDialogRequest TfrmEnterData::fileRequest(int titleId) const {
    FileDialogRequest request;
    request.title = Str(titleId);
    if (const ProductInfo* info = FindProduct(product())) {
        const QString extension = QLatin1String(info->extension);
        request.filter = ProductText(info->fileTypeText) + QStringLiteral("|*") + extension;
        request.defaultExtension = extension.mid(1);
    }
    return request;
}

CommandResult TfrmEnterData::FileOpen() {
    const CommandScope scope(*this);
    FileDialogRequest request = fileRequest(10618);
    // A remembered folder that is gone (a removed stick, a renamed share) would open the dialog
    // somewhere unexpected: start in the configuration folder instead.
    request.folder = QFileInfo(folders_.defaultConfigFolder).isDir() ? folders_.defaultConfigFolder
                                                                     : folders_.configFolder;
    const std::optional<FileDialogResult> chosen = dialogs_.openFile(request);
    if (!chosen)
        return scope(CommandResult::Cancelled);
    return scope(OpenPath(chosen->path));
}

CommandResult TfrmEnterData::OpenPath(const QString& path) {
    const CommandScope scope(*this);
    // The file is read into a copy: a file that cannot be loaded or is refused leaves the editor's
    // image, file name and state as they were, so a later Save cannot write refused bytes.
    ConfigImage loaded = working_;
    if (const Result<> load = LoadImageFile(path, loaded); !load) {
        // The message alone cannot tell a mistyped name from a file without permission or a short one.
        const QString why = load.error();
        show(MessageKind::Error, Msg::CannotLoadConfiguration);
        if (!why.isEmpty()) {
            noted_.setDetail(why);
            setStatus(MessageText(Msg::CannotLoadConfiguration) + QStringLiteral(" \u2013 ") + why);
            if (observer_.notice)
                observer_.notice(why);
        }
        return scope(CommandResult::Failed);
    }
    // A save of this file that was killed half way may have left its temporary beside it.
    RemoveLeftoverTemporaries(path);
    const int versionCode = loaded[kVersionCodeAddress];
    const int productCode = loaded[kProductCodeAddress];
    switch (IdentifyImage(versionCode, productCode)) {
    case irSupported: {
        working_ = loaded;
        setFile(path, fsOpened);
        setStatus(QString());
        SelectProductVersion(versionCode, loaded[kMinorVersionAddress], productCode);
        const int fault = FillFields();
        if (fault >= 0)
            ShowFault(Msg::FileFaulty, fault);
        MarkClean();
        return scope(CommandResult::Done);
    }
    case irUnsupportedVersion:
        setStatus(Msg::ReadFailed);
        show(MessageKind::Error, Msg::FileVersionUnsupported);
        break;
    case irUnknownVersion:
        setStatus(QString());
        show(MessageKind::Error, Msg::FileUnknownVersion,
             {FormatHexByte(loaded[kVersionCodeAddress]), FormatHexByte(loaded[kMinorVersionAddress])});
        break;
    case irUnknownProduct:
        setStatus(QString());
        show(MessageKind::Error, Msg::FileUnknownProduct);
        break;
    }
    return scope(CommandResult::Refused);
}

CommandResult TfrmEnterData::SaveTo(const QString& path, bool saveAs) {
    if (std::optional<ConversionError> error = CollectFields()) {
        ReportConversionError(*error);
        return CommandResult::Failed;
    }
    if (const Result<> saved = SaveImageFile(path, working_); !saved) {
        // Why it failed (a missing folder, a full disk, no permission) is the part a technician can mend.
        QStringList paragraphs{MessageText(Msg::CannotSaveConfiguration),
                               QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), saved.error())};
        // This station's backups and the copies of other stations' backups below them alike.
        const QString backupFolder = QDir(backups().folder()).absolutePath() + u'/';
        if (QFileInfo(path).absoluteFilePath().startsWith(backupFolder))
            // A backup stands for what a device held and is kept read-only: say so, and how to keep
            // the edits.
            paragraphs << QCoreApplication::translate("Editor",
                                                      "Sicherungen sind schreibgeschützt. Mit „%1“ "
                                                      "behalten Sie eine Kopie mit Ihren Änderungen.")
                              // the menu item as the technician sees it
                              .arg(Str(10110).remove(u'&'));
        noted_.noteMessage(MessageKind::Error, Msg::CannotSaveConfiguration);
        noted_.setDetail(paragraphs[1]);
        RecordLine(QStringLiteral("message %1: ").arg(MessageId(Msg::CannotSaveConfiguration)) +
                   paragraphs.mid(0, 2).join(QStringLiteral(" – ")));
        ShowMessage(dialogs_, MessageKind::Error, Msg::CannotSaveConfiguration,
                    paragraphs.join(QStringLiteral("\n\n")));
        // A Save As that failed must not leave the title naming a file that does not exist.
        if (!saveAs)
            setFile(path, fsSaved);
        return CommandResult::Failed;
    }
    setFile(path, fsSaved);
    MarkClean();
    return CommandResult::Done;
}

CommandResult TfrmEnterData::FileSave() {
    const CommandScope scope(*this);
    if (fileName_.isEmpty())
        return scope(FileSaveAs());
    return scope(SaveTo(fileName_, false));
}

void TfrmEnterData::MarkClean() {
    // What the form collects as it stands now: an image holding bytes no field shows as they are (a
    // backup, a device's own image) is not changed merely by being shown.
    std::optional<ConfigImage> collected = collectedImage();
    clean_ = collected ? *collected : working_;
}

std::optional<ConfigImage> TfrmEnterData::collectedImage() {
    ConfigImage collected = working_;
    MapContext context(form_, collected, product(), version(), locale_);
    if (zal::CollectFields(context))
        return std::nullopt;
    return collected;
}

bool TfrmEnterData::HasUnsavedChanges() {
    const std::optional<ConfigImage> collected = collectedImage();
    // A text that does not parse is a change.
    return !collected || *collected != clean_;
}

CommandResult TfrmEnterData::FileSaveAs() {
    const CommandScope scope(*this);
    const ProductInfo* info = FindProduct(product());
    FileDialogRequest request = fileRequest(10624);
    const QString extension = info ? QLatin1String(info->extension) : QString();
    request.fileName = u'*' + extension;
    if (fileName_.isEmpty()) {
        request.folder = folders_.defaultConfigFolder;
    } else {
        request.folder = WithoutTrailingSeparator(QFileInfo(fileName_).path());
        request.fileName = QFileInfo(fileName_).fileName();
    }
    const std::optional<FileDialogResult> chosen = dialogs_.saveFile(request);
    if (!chosen)
        return scope(CommandResult::Cancelled);

    // The product's extension is forced: Lager.txt is saved as Lager.Zal. A stream (standard output, a
    // FIFO) is written as it is named.
    const qsizetype slash = chosen->path.lastIndexOf(u'/');
    QString base = chosen->path.mid(slash + 1);
    const qsizetype dot = base.lastIndexOf(u'.');
    const bool typedExtension =
        chosen->asTyped && dot > 0 && base.mid(dot).compare(extension, Qt::CaseInsensitive) == 0;
    if (dot > 0)
        base.truncate(dot);
    const bool stream = IsWrittenThrough(chosen->path);
    const QString target =
        stream || typedExtension ? chosen->path : chosen->path.left(slash + 1) + base + extension;

    if (!stream && PathExists(target)) {
        if (IsReadOnlyFile(target)) {
            show(MessageKind::Information, Msg::FileReadOnly);
            return scope(CommandResult::Refused);
        }
        if (ask(MessageKind::Information, Msg::OverwriteFile, QuestionButtons::YesNo) != Answer::Yes)
            return scope(CommandResult::Cancelled);
        LoadImageFile(target, comparison_);
        if (comparison_[kProductCodeAddress] == product()) {
            if (!selection_.IsCompatibleVersion(comparison_[kVersionCodeAddress])) {
                const QString theirs = u'v' + Firmware::Of(comparison_).text();
                const QString ours = u'v' + Firmware::Of(working_).text();
                if (ask(MessageKind::Warning, Msg::OverwriteOtherVersion, QuestionButtons::YesNo,
                        {theirs, ours}) == Answer::No)
                    return scope(CommandResult::Cancelled);
            }
        } else {
            if (ask(MessageKind::Warning, Msg::OverwriteOtherProduct, QuestionButtons::YesNo,
                    {productName(comparison_[kProductCodeAddress]), productName(product())}) == Answer::No)
                return scope(CommandResult::Cancelled);
        }
    }
    return scope(SaveTo(target, true));
}

bool TfrmEnterData::AskToSaveBeforeLeaving() {
    const Answer answer = ask(MessageKind::Information, Msg::SaveBeforeLeaving, QuestionButtons::YesNoCancel);
    if (answer == Answer::Cancel)
        return false;
    // A save that was cancelled or failed keeps the editor open: leaving would lose the edits.
    return answer != Answer::Yes || static_cast<bool>(FileSave());
}

bool TfrmEnterData::CloseRequested() {
    return !HasUnsavedChanges() || AskToSaveBeforeLeaving();
}

bool TfrmEnterData::DiscardRequested() {
    if (!HasUnsavedChanges())
        return true;
    // Not the exit question: the editor stays open, and another configuration takes the place of this.
    const Answer answer = AskQuestion(
        dialogs_, MessageKind::Question, Msg::SaveBeforeLeaving, QuestionButtons::YesNoCancel,
        QCoreApplication::translate("Editor", "Die Konfiguration hat ungespeicherte Änderungen. Möchten Sie "
                                              "sie speichern, bevor eine andere an ihre Stelle tritt?"));
    if (answer == Answer::Cancel)
        return false;
    return answer != Answer::Yes || static_cast<bool>(FileSave());
}

CommandResult TfrmEnterData::FileExit() {
    const CommandScope scope(*this);
    if (!AskToSaveBeforeLeaving())
        return scope(CommandResult::Cancelled);
    if (!LoadImageFile(
            folders_.dataFolder +
                DefaultImageFileName(
                    QLatin1String(ProductRow(DefaultProduct()).defaultFileWord),
                    QLatin1String(FindClassicVersion(NewestLayout(DefaultProduct()))->defaultSuffix)),
            working_))
        show(MessageKind::Error, Msg::DefaultImageMissing);
    SetCurrentProduct(working_[kProductCodeAddress]);
    FillFields();
    ResetOnClose();
    return scope(CommandResult::Done);
}

void TfrmEnterData::ResetOnClose() {
    working_[kProductCodeAddress] = static_cast<std::uint8_t>(DefaultProduct());
    SetCurrentProduct(DefaultProduct());
    FillFields();
    setFile(QString(), fsNew);
    setPage(0);
    form_.startHistory();
}

namespace {

std::vector<DifferenceRow> Rows(const FormModel& a, const FormModel& b) {
    std::vector<DifferenceRow> rows;
    for (const FieldDifference& d : DiffForms(a, b))
        rows.push_back({d.a->name(), PageCaption(*d.a), GroupCaption(*d.a), FieldCaption(*d.a),
                        ShownValue(*d.a), ShownValue(*d.b)});
    return rows;
}

// A second editor only fills fields: what it would say is not the technician's business.
class SilentDialogs : public Dialogs {
public:
    void message(MessageKind, int, const QString&) override {}
    Answer question(MessageKind, int, const QString&, QuestionButtons) override { return Answer::No; }
    std::optional<FileDialogResult> openFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<FileDialogResult> saveFile(const FileDialogRequest&) override { return std::nullopt; }
};

} // namespace

std::optional<std::vector<TfrmEnterData::DifferenceRow>> TfrmEnterData::CompareWith(const QString& path) {
    TfrmEnterData other(dialogs_, options_);
    if (!other.OpenPath(path))
        return std::nullopt;
    return Rows(form_, other.form_);
}

std::vector<DifferenceRow> TfrmEnterData::Differences(const ConfigImage& from, const ConfigImage& to,
                                                      bool eachAsItHolds) {
    SilentDialogs silent;
    TfrmEnterData a(silent, options_), b(silent, options_);
    for (TfrmEnterData* e : {&a, &b}) {
        e->working_ = e == &a ? from : to;
        const ConfigImage& image = e->working_;
        if (eachAsItHolds)
            e->SelectProductVersion(image[kVersionCodeAddress], image[kMinorVersionAddress],
                                    image[kProductCodeAddress]);
        else
            e->SelectProductVersion(version(), minor(), product());
        e->FillFields();
    }
    std::vector<DifferenceRow> rows = Rows(a.form_, b.form_);
    // A byte no field in use writes (a value another product keeps there, a checksum) changes all the
    // same: the second editor's fields collected over the first image leave exactly those bytes as they
    // were, and each is listed by its address.
    // Two bytes that a field shows alike are listed too when nothing else would be: "no change" is
    // said only when no byte changes.
    b.working_ = from;
    const bool collected = !b.CollectFields();
    const bool otherwiseNone = rows.empty();
    if (collected || otherwiseNone) {
        for (int address = 0; address < static_cast<int>(to.size()); ++address) {
            const auto at = static_cast<size_t>(address);
            if (from[at] == to[at] || (collected && b.working_[at] == to[at] && !otherwiseNone))
                continue;
            const QString hex =
                QStringLiteral("0x") + QStringLiteral("%1").arg(address, 2, 16, QChar(u'0')).toUpper();
            rows.push_back({hex, QCoreApplication::translate("Editor", "Bytes ohne Feld"), QString(),
                            QCoreApplication::translate("Editor", "Adresse %1").arg(hex),
                            FormatHexByte(from[at]), FormatHexByte(to[at])});
        }
    }
    return rows;
}

std::vector<DifferenceRow> TfrmEnterData::DifferencesBetween(const ConfigImage& from, const ConfigImage& to) {
    return Differences(from, to, false);
}

std::vector<DifferenceRow> TfrmEnterData::ImageChanges(const ConfigImage& from, const ConfigImage& to) {
    for (const ConfigImage* image : {&from, &to}) {
        if (IdentifyImage((*image)[kVersionCodeAddress], (*image)[kProductCodeAddress]) != irSupported)
            return {};
    }
    return Differences(from, to, true);
}

QString TfrmEnterData::Undo() {
    return TravelHistory(true);
}

QString TfrmEnterData::Redo() {
    return TravelHistory(false);
}

QString TfrmEnterData::TravelHistory(bool back) {
    const FormModel::Step* step = back ? form_.lastStep() : form_.nextRedo();
    if (!step || !(back ? form_.canUndo() : form_.canRedo()))
        return QString();
    // The first field, in the window's order, whose shown value the step changes.
    const std::vector<FieldDifference> changes = StepChanges(form_, *step);
    const Field* changed = changes.empty() ? nullptr : changes.front().a;
    const QString name = changed ? changed->name() : QString();
    const QString where =
        changed ? PageCaption(*changed) + QStringLiteral(" / ") + FieldCaption(*changed) : QString();
    if (!(back ? form_.undo() : form_.redo()))
        return QString();
    if (changed)
        setPage(FormGroupPage(changed->decl->group));
    setStatus((back ? QCoreApplication::translate("Editor", "Rückgängig: %1")
                    : QCoreApplication::translate("Editor", "Wiederholen: %1"))
                  .arg(where));
    return name;
}

void TfrmEnterData::SetDefaultConfigFolder(const QString& folder) {
    StoreDefaultConfigFolder(folders_, folder);
}

} // namespace zal
