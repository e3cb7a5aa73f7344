#include "EnterData.h"

#include "EditorRules.h"
#include "FieldNames.h"
#include "Validation.h"
#include "config/ImageFile.h"
#include "config/Products.h"
#include "radio/RadioCode.h"
#include "shell/FileSystem.h"
#include "shell/SettingsFile.h"
#include "shell/StringTable.h"

#include <QFileInfo>

#include <algorithm>

namespace zal {
namespace {

// The service writes, shown only with -SERVICE and only for the older products.
constexpr MenuId kServiceMenus[] = {MenuId::WriteDefaultBora, MenuId::WriteDefaultZal,
                                    MenuId::WriteDefaultMuve, MenuId::WriteDefaultDorf,
                                    MenuId::WriteVersionByte};

} // namespace

TfrmEnterData::TfrmEnterData(Dialogs& dialogs, Options options)
    : dialogs_(dialogs), kbxFactory_(options.kbxFactory), clock_(*options.clock), kbx_(kbxFactory_, clock_),
      changeFixed_(dialogs, kbxFactory_, clock_), changeFixedPlus_(dialogs, kbxFactory_, clock_),
      locale_(options.locale), menus_(EditorMenu()) {
    kbx_.setChunkObserver([this] {
        ++progressDone_;
        if (observer.progress)
            observer.progress(progressDone_, progressPlanned_);
    });
    // Numbers are shown and read without thousands separators, as the original's number formats did.
    locale_.setNumberOptions(locale_.numberOptions() | QLocale::OmitGroupSeparator |
                             QLocale::RejectGroupSeparator);
    // 1. Folders, the settings file and the default images.
    folders_ =
        SettleFolders(options.installFolder, ProgramVersionText(), options.arguments, options.platform);
    // 2. No file yet.
    setFile(QString(), fsNew);
    // 3. Menu texts come from the string table with the menu declaration.
    // 4. Switches: only a single argument counts.
    if (options.arguments.size() == 1) {
        const QString argument = options.arguments.first();
        if (argument.compare(QLatin1String("-SERVICE"), Qt::CaseInsensitive) == 0)
            serviceMode_ = codeChange_ = true;
        else if (argument.compare(QLatin1String("-CHANGECODES"), Qt::CaseInsensitive) == 0)
            codeChange_ = true;
    }
    // 5. Service entries.
    for (MenuId id : kServiceMenus)
        setMenu(id, serviceMode_, serviceMode_);
    setMenu(MenuId::ChangeFixedRadioCodes, codeChange_, codeChange_);
    // 6. Captions are the declaration's; code fields hold four characters.
    for (Field& f : form.fields()) {
        const QString name = f.name();
        if (name.startsWith(QLatin1String("edtRxCodePos")) ||
            name.startsWith(QLatin1String("edtActionCodePos")) ||
            name.startsWith(QLatin1String("edtPosCode")) || name.startsWith(QLatin1String("edtWiredCode")))
            form.setMaxLength(f, kRadioCodeLength);
    }
    installHandlers();
    zal::ApplyEnablingRules(form, kBora, kVersionV22);
    ruleBaseline_ = form.states();
    selection_.setProductSelectedHook([this](int) {
        BuildValueLists();
        ApplyEnablingRules();
        AdaptToProduct();
    });
    // 7. BORA V22, set directly, with its lists.
    selection_.setDirect(kBora, kVersionV22);
    BuildValueLists();
    // 8. A new configuration from the default image.
    FileNew(NewEntry::New);
    // 9. The rules, and the first page.
    ApplyEnablingRules();
    setPage(0);
}

const MenuItem* TfrmEnterData::menu(const QString& name) const {
    for (const MenuItem& item : menus_) {
        if (name == QLatin1String(item.name))
            return &item;
    }
    return nullptr;
}

const MenuItem& TfrmEnterData::menu(MenuId id) const {
    return *std::find_if(menus_.begin(), menus_.end(), [id](const MenuItem& item) { return item.id == id; });
}

void TfrmEnterData::setMenu(MenuId id, bool visible, bool enabled) {
    for (MenuItem& item : menus_) {
        if (item.id == id) {
            item.visible = visible;
            item.enabled = enabled;
        }
    }
    if (observer.menusChanged)
        observer.menusChanged();
}

void TfrmEnterData::setPage(int page) {
    if (page == page_)
        return;
    page_ = page;
    if (observer.pageChanged)
        observer.pageChanged();
}

void TfrmEnterData::setFile(const QString& name, FileState state) {
    fileName_ = name;
    fileState_ = state;
    UpdateCaption();
}

void TfrmEnterData::UpdateCaption() {
    QString first;
    switch (fileState_) {
    case fsNew:
        first = Str(10704);
        break;
    case fsOpened:
    case fsSaved:
        first = QFileInfo(fileName_).fileName();
        break;
    case fsFromDevice:
        first = Str(10706);
        break;
    }
    title_ = FormatText(QStringLiteral("%s - %s"), {first, Str(10702)});
    if (observer.titleChanged)
        observer.titleChanged();
}

void TfrmEnterData::setStatus(const QString& text) {
    status_ = text;
    if (observer.statusChanged)
        observer.statusChanged();
}

void TfrmEnterData::setBusy(bool busy) {
    busy_ = busy;
    if (observer.statusChanged)
        observer.statusChanged();
}

void TfrmEnterData::processEvents() {
    if (observer.processEvents)
        observer.processEvents();
}

void TfrmEnterData::show(MessageKind kind, Msg message, const QStringList& arguments) {
    ShowMessage(dialogs_, kind, message, MessageText(message, arguments));
}

void TfrmEnterData::report(MessageKind kind, Msg message, const QStringList& arguments) {
    const QString text = MessageText(message, arguments);
    setStatus(text);
    ShowMessage(dialogs_, kind, message, text);
    // "KBX not found" is all the message can say; the transport may know better (in use, no access).
    if (message == Msg::KbxNotFound && !kbx_.openFailure().isEmpty()) {
        setStatus(text + QStringLiteral(" \u2013 ") + kbx_.openFailure());
        if (observer.notice)
            observer.notice(kbx_.openFailure());
    }
}

Answer TfrmEnterData::ask(MessageKind icon, Msg message, QuestionButtons buttons,
                          const QStringList& arguments) {
    return AskQuestion(dialogs_, icon, message, buttons, MessageText(message, arguments));
}

void TfrmEnterData::setStatus(Msg message) {
    setStatus(MessageText(message));
}

// --- Product selection --------------------------------------------------------------------------------

void TfrmEnterData::SelectProductVersion(int versionCode, int minorVersion, int productCode) {
    selection_.SelectProductVersion(versionCode, minorVersion, productCode);
}

void TfrmEnterData::SetCurrentProduct(int productCode) {
    selection_.SetCurrentProduct(productCode);
}

void TfrmEnterData::SelectProduct(int productCode) {
    if (IsPlusProduct(productCode))
        SelectProductVersion(kVersionPlus, 0, productCode);
    else
        SelectProductVersion(kVersionV22, 0, productCode);
    FileNew(NewEntry::New);
}

void TfrmEnterData::BuildValueLists() {
    zal::BuildValueLists(form, product(), version(), folders_.settingsFile);
}

void TfrmEnterData::ApplyEnablingRules() {
    form.restoreStates(ruleBaseline_);
    zal::ApplyEnablingRules(form, product(), version());
}

void TfrmEnterData::AdaptToProduct() {
    const int p = product();
    // A page the product does not use gives way to one it does.
    const ProductInfo* info = FindProduct(p);
    if (info && !info->radioInputs && page_ == 0)
        setPage(2);
    else if (info && !info->wiredInputs && page_ == 2)
        setPage(0);
    if (IsPlusProduct(p)) {
        setMenu(MenuId::FileNewVersion, false, menu(MenuId::FileNewVersion).enabled);
        for (MenuId id : kServiceMenus)
            setMenu(id, false, menu(id).enabled);
        setMenu(MenuId::ChangeFixedRadioCodes, codeChange_, codeChange_);
    } else {
        setMenu(MenuId::FileNewVersion, true, menu(MenuId::FileNewVersion).enabled);
        for (MenuId id : kServiceMenus)
            setMenu(id, serviceMode_, menu(id).enabled);
        setMenu(MenuId::ChangeFixedRadioCodes, true, true);
    }
}

// --- Maps -----------------------------------------------------------------------------------------------

MapContext TfrmEnterData::mapContext() {
    return MapContext(form, working, product(), version(), locale_);
}

int TfrmEnterData::FillFields() {
    MapContext context = mapContext();
    MapHooks hooks{[this] { processEvents(); }};
    lastFault_ = zal::FillFields(context, mapState_, hooks);
    return lastFault_;
}

std::optional<ConversionError> TfrmEnterData::CollectFields() {
    // Collected into a copy and adopted only when complete, so that a text that does not parse never
    // leaves a half-written image behind.
    ConfigImage copy = working;
    MapContext context(form, copy, product(), version(), locale_);
    if (std::optional<ConversionError> error = zal::CollectFields(context))
        return error;
    working = copy;
    return std::nullopt;
}

void TfrmEnterData::ReportConversionError(const ConversionError& error) {
    const Field* f = form.find(error.fieldName);
    QString caption = error.fieldName;
    if (f && f->decl->rowCaptionId) {
        caption = Str(f->decl->rowCaptionId);
        if (f->decl->columnCaptionId)
            caption += QStringLiteral(" / ") + Str(f->decl->columnCaptionId);
    }
    dialogs_.message(MessageKind::Error, 0, error.message() + QStringLiteral("\n(") + caption + u')');
}

// --- File commands --------------------------------------------------------------------------------------

void TfrmEnterData::FileNew(NewEntry entry) {
    int version = kVersionV22;
    switch (entry) {
    case NewEntry::New:
    case NewEntry::V22xx:
        break;
    case NewEntry::V1x:
        version = kVersionV1x;
        break;
    case NewEntry::V20xx:
        version = kVersionV20;
        break;
    case NewEntry::V21xx:
        version = kVersionV21;
        break;
    case NewEntry::Unknown:
        dialogs_.message(MessageKind::Error, 0,
                         QStringLiteral("Runtime error in File-New Click. Please contact VESK Electronics"));
        return;
    }
    // The extended repeaters have one layout, whichever entry was chosen.
    const QString suffix = IsPlusProduct(product())
                               ? QStringLiteral("V1")
                               : QLatin1String(FindClassicVersion(version)->defaultSuffix);
    const ProductInfo* info = FindProduct(product());
    const QString name =
        DefaultImageFileName(info ? QLatin1String(info->defaultFileWord) : QString(), suffix);
    if (!LoadImageFile(folders_.dataFolder + name, working))
        ShowMessage(dialogs_, MessageKind::Error, Msg::DefaultImageMissing,
                    MessageText(Msg::DefaultImageMissing) + name); // the name follows without a space
    SelectProductVersion(working[kVersionCodeAddress], working[kMinorVersionAddress],
                         working[kProductCodeAddress]);
    const int fault = FillFields();
    if (fault >= 0)
        ShowFault(Msg::DefaultImageFaulty, fault);
    setFile(QString(), fsNew);
    MarkClean();
}

FileDialogRequest TfrmEnterData::fileRequest(int titleId) const {
    FileDialogRequest request;
    request.title = Str(titleId);
    if (const ProductInfo* info = FindProduct(product())) {
        const QString extension = QLatin1String(info->extension);
        request.filter = Str(info->fileTypeTextId) + QStringLiteral("|*") + extension;
        request.defaultExtension = extension.mid(1);
    }
    return request;
}

void TfrmEnterData::FileOpen() {
    FileDialogRequest request = fileRequest(10618);
    // A remembered folder that is gone (a removed stick, a renamed share) would open the dialog
    // somewhere unexpected: start in the configuration folder instead.
    request.folder = QFileInfo(folders_.defaultConfigFolder).isDir() ? folders_.defaultConfigFolder
                                                                     : folders_.configFolder;
    const std::optional<FileDialogResult> chosen = dialogs_.openFile(request);
    if (!chosen)
        return;
    // The file is read into a copy: a file that cannot be loaded or is refused leaves the editor's
    // image, file name and state as they were, so a later Save cannot write refused bytes.
    ConfigImage loaded = working;
    if (!LoadImageFile(chosen->path, loaded)) {
        show(MessageKind::Error, Msg::CannotLoadConfiguration);
        return;
    }
    const int versionCode = loaded[kVersionCodeAddress];
    const int productCode = loaded[kProductCodeAddress];
    switch (IdentifyImage(versionCode, productCode)) {
    case irSupported: {
        working = loaded;
        setFile(chosen->path, fsOpened);
        setStatus(QString());
        SelectProductVersion(versionCode, loaded[kMinorVersionAddress], productCode);
        const int fault = FillFields();
        if (fault >= 0)
            ShowFault(Msg::FileFaulty, fault);
        MarkClean();
        break;
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
}

bool TfrmEnterData::SaveTo(const QString& path, bool saveAs) {
    if (std::optional<ConversionError> error = CollectFields()) {
        ReportConversionError(*error);
        return false;
    }
    if (!SaveImageFile(path, working)) {
        show(MessageKind::Error, Msg::CannotSaveConfiguration);
        // A Save As that failed must not leave the title naming a file that does not exist.
        if (!saveAs)
            setFile(path, fsSaved);
        return false;
    }
    setFile(path, fsSaved);
    MarkClean();
    return true;
}

bool TfrmEnterData::FileSave() {
    if (fileName_.isEmpty())
        return FileSaveAs();
    return SaveTo(fileName_, false);
}

void TfrmEnterData::MarkClean() {
    clean_ = working;
}

bool TfrmEnterData::HasUnsavedChanges() {
    ConfigImage collected = working;
    MapContext context(form, collected, product(), version(), locale_);
    if (zal::CollectFields(context))
        return true; // a text that does not parse is a change
    return collected != clean_;
}

void TfrmEnterData::ShowFault(Msg message, int address) {
    show(MessageKind::Error, message, {QString::number(working[address]), QString::number(address)});
}

QString TfrmEnterData::productName(int code) const {
    return ReadSettingValue(folders_.settingsFile, QStringLiteral("ProductName"), QString::number(code));
}

bool TfrmEnterData::FileSaveAs() {
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
        return false;

    // The product's extension is forced: Lager.txt is saved as Lager.Zal.
    const qsizetype slash = chosen->path.lastIndexOf(u'/');
    QString base = chosen->path.mid(slash + 1);
    const qsizetype dot = base.lastIndexOf(u'.');
    if (dot > 0)
        base.truncate(dot);
    const QString target = chosen->path.left(slash + 1) + base + extension;

    const QFileInfo existing(target);
    if (existing.exists()) {
        if (IsReadOnlyFile(target)) {
            show(MessageKind::Information, Msg::FileReadOnly);
            return false;
        }
        if (ask(MessageKind::Information, Msg::OverwriteFile, QuestionButtons::YesNo) != Answer::Yes)
            return false;
        LoadImageFile(target, comparison);
        if (comparison[kProductCodeAddress] == product()) {
            if (!selection_.IsCompatibleVersion(comparison[kVersionCodeAddress])) {
                const QString theirs =
                    u'v' + FormatVersion(static_cast<std::uint16_t>(comparison[kVersionCodeAddress] << 8 |
                                                                    comparison[kMinorVersionAddress]));
                const QString ours =
                    u'v' + FormatVersion(static_cast<std::uint16_t>(working[kVersionCodeAddress] << 8 |
                                                                    working[kMinorVersionAddress]));
                if (ask(MessageKind::Warning, Msg::OverwriteOtherVersion, QuestionButtons::YesNo,
                        {theirs, ours}) == Answer::No)
                    return false;
            }
        } else {
            if (ask(MessageKind::Warning, Msg::OverwriteOtherProduct, QuestionButtons::YesNo,
                    {productName(comparison[kProductCodeAddress]), productName(product())}) == Answer::No)
                return false;
        }
    }
    return SaveTo(target, true);
}

bool TfrmEnterData::AskToSaveBeforeLeaving() {
    const Answer answer = ask(MessageKind::Information, Msg::SaveBeforeLeaving, QuestionButtons::YesNoCancel);
    if (answer == Answer::Cancel)
        return false;
    // A save that was cancelled or failed keeps the editor open: leaving would lose the edits.
    return answer != Answer::Yes || FileSave();
}

bool TfrmEnterData::CloseRequested() {
    return !HasUnsavedChanges() || AskToSaveBeforeLeaving();
}

bool TfrmEnterData::FileExit() {
    if (!AskToSaveBeforeLeaving())
        return false;
    if (!LoadImageFile(folders_.dataFolder +
                           DefaultImageFileName(QStringLiteral("BORA"), QStringLiteral("V22")),
                       working))
        show(MessageKind::Error, Msg::DefaultImageMissing);
    SetCurrentProduct(working[kProductCodeAddress]);
    FillFields();
    ResetOnClose();
    return true;
}

void TfrmEnterData::ResetOnClose() {
    working[kProductCodeAddress] = kBora;
    SetCurrentProduct(kBora);
    FillFields();
    setFile(QString(), fsNew);
    setPage(0);
}

void TfrmEnterData::SetDefaultConfigFolder(const QString& folder) {
    StoreDefaultConfigFolder(folders_, folder);
}

// --- Handlers -------------------------------------------------------------------------------------------

void TfrmEnterData::installHandlers() {
    const auto select = [this](const char* names, std::function<void(MapContext&)> action) {
        for (const QString& name : ExpandFieldNames(names))
            form.onSelect(name, [this, action](Field&) {
                MapContext context = mapContext();
                action(context);
            });
    };
    select("cbbxActionTxPos{1-8,F,A}", [](MapContext& c) {
        ShowActionCodes(c);
        MirrorFixedInput(c);
    });
    select("cbbxWiredTx{1-5}", [](MapContext& c) { ShowWiredCodes(c); });
    select("cbbxWiredAlarmType{1-5}", [](MapContext& c) {
        CopyWiredAlarmTypes(c);
        MirrorFixedInput(c);
    });
    select("cbbxActionRelayPos1", [](MapContext& c) { MirrorFixedInput(c); });
    select("cbbxWiredInputType4", [this](MapContext& c) { ApplyAnalogueInputs(c, mapState_, false, 0); });
    select("cbbxWiredInputType5", [this](MapContext& c) { ApplyAnalogueInputs(c, mapState_, false, 1); });
    InstallValidation(*this);
}

} // namespace zal
