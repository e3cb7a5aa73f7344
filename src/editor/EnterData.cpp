#include "EnterData.h"

#include "config/ImageFile.h"
#include "config/Products.h"
#include "form/FieldNames.h"
#include "radio/RadioCode.h"
#include "rules/EditorRules.h"
#include "rules/Validation.h"
#include "shell/FileSystem.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"
#include "shell/StringTable.h"

#include <QFileInfo>

#include <algorithm>

namespace zal {
namespace {

// The service writes, shown only with -SERVICE and only for the older products.
constexpr MenuId kServiceMenus[] = {MenuId::WriteDefault, MenuId::WriteVersionByte};

} // namespace

TfrmEnterData::TfrmEnterData(Dialogs& dialogs, Options options)
    : dialogs_(dialogs), options_(options), kbxFactory_(options.kbxFactory), clock_(*options.clock),
      kbx_(kbxFactory_, clock_), changeFixed_(dialogs, kbxFactory_, clock_),
      changeFixedPlus_(dialogs, kbxFactory_, clock_), locale_(options.locale), menus_(EditorMenu()),
      frameLogging_(Settings::EnvironmentSwitch(setting::kKbxTrace)) {
    kbx_.setChunkObserver([this] {
        StopBeforeWriting();
        ++progressDone_;
        if (observer_.progress)
            observer_.progress(progressDone_, progressPlanned_);
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
    for (Field& f : form_.fields()) {
        const QString name = f.name();
        if (name.startsWith(QLatin1String("edtRxCodePos")) ||
            name.startsWith(QLatin1String("edtActionCodePos")) ||
            name.startsWith(QLatin1String("edtPosCode")) || name.startsWith(QLatin1String("edtWiredCode")))
            form_.setMaxLength(f, kRadioCodeLength);
    }
    installHandlers();
    zal::ApplyEnablingRules(form_, DefaultProduct(), kVersionV22);
    ruleBaseline_ = form_.states();
    selection_.setProductSelectedHook([this](int) {
        BuildValueLists();
        ApplyEnablingRules();
        AdaptToProduct();
    });
    // 7. BORA V22, set directly, with its lists.
    selection_.setDirect(DefaultProduct(), kVersionV22);
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
    if (observer_.menusChanged)
        observer_.menusChanged();
}

void TfrmEnterData::setPage(int page) {
    if (page == page_)
        return;
    page_ = page;
    if (observer_.pageChanged)
        observer_.pageChanged();
}

void TfrmEnterData::setFile(const QString& name, FileState state) {
    // A file opened or begun anew is no device's; a read names its device before it sets the state,
    // and saving what a device holds keeps naming it.
    if (state == fsNew || state == fsOpened)
        deviceName_.clear();
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
    if (!deviceName_.isEmpty())
        first += QStringLiteral(" \u00b7 ") + deviceName_;
    titleSubject_ = first;
    title_ = FormatText(QStringLiteral("%s - %s"), {first, Str(10702)});
    if (observer_.titleChanged)
        observer_.titleChanged();
}

void TfrmEnterData::setStatus(const QString& text) {
    status_ = text;
    if (observer_.statusChanged)
        observer_.statusChanged();
}

void TfrmEnterData::setBusy(bool busy) {
    busy_ = busy;
    if (observer_.statusChanged)
        observer_.statusChanged();
}

void TfrmEnterData::processEvents() {
    if (observer_.processEvents)
        observer_.processEvents();
}

TfrmEnterData::CommandScope::CommandScope(TfrmEnterData& editor) : editor_(editor) {
    editor_.form_.openUserAction();
    if (editor_.commandDepth_++ == 0) {
        editor_.noted_ = CommandResult::Done;
        editor_.deviceWritten_ = false;
        // The status bar tells how the last command went: a new one starts without it.
        editor_.setStatus(QString());
    }
}

TfrmEnterData::CommandScope::~CommandScope() {
    editor_.form_.closeUserAction();
    if (--editor_.commandDepth_ == 0 && !editor_.HasUnsavedChanges())
        editor_.form_.startHistory();
}

CommandResult TfrmEnterData::CommandScope::operator()(CommandResult result) const {
    if (!result.message() && editor_.noted_.message()) {
        const QString detail = result.detail();
        result = CommandResult(result.kind(), editor_.noted_.severity(), *editor_.noted_.message(),
                               editor_.noted_.arguments())
                     .setDetail(detail.isEmpty() ? editor_.noted_.detail() : detail)
                     .setDeviceChanged(result.deviceChanged());
    }
    if (editor_.deviceWritten_)
        result.setDeviceChanged(true);
    return result;
}

void TfrmEnterData::show(MessageKind kind, Msg message, const QStringList& arguments) {
    noted_.noteMessage(kind, message, arguments);
    const QString text = MessageText(message, arguments);
    RecordLine(QStringLiteral("message %1: ").arg(MessageId(message)) + text);
    ShowMessage(dialogs_, kind, message, text);
}

void TfrmEnterData::report(MessageKind kind, Msg message, const QStringList& arguments,
                           const QString& consequence) {
    noted_.noteMessage(kind, message, arguments);
    const QString text = MessageText(message, arguments);
    // "KBX not found" is all the message can say; the transport may know better (in use, no access, or
    // the unit was unplugged during the command).
    const QString why = message == Msg::KbxNotFound  ? kbx_.openFailure()
                        : kind == MessageKind::Error ? kbx_.lineFailure()
                                                     : QString();
    const QString detail = QStringList{why, consequence}.join(u' ').trimmed();
    if (!detail.isEmpty() && noted_.message() == message)
        noted_.setDetail(detail);
    setStatus(why.isEmpty() ? text : text + QStringLiteral(" \u2013 ") + why);
    RecordLine(QStringLiteral("message %1: ").arg(MessageId(message)) + text +
               (consequence.isEmpty() ? QString() : u' ' + consequence));
    // The box says it whole (the status bar has room for the start only): the message, why the line
    // failed, what it means for the device, each a paragraph of its own.
    // An error ends the transfer: its progress does not stay behind the box.
    if (kind == MessageKind::Error)
        planProgress(0);
    QStringList paragraphs{text};
    for (const QString& more : {why, consequence})
        if (!more.isEmpty())
            paragraphs << more;
    ShowMessage(dialogs_, kind, message, paragraphs.join(QStringLiteral("\n\n")));
}

Answer TfrmEnterData::ask(MessageKind icon, Msg message, QuestionButtons buttons,
                          const QStringList& arguments) {
    const QString text = MessageText(message, arguments);
    const Answer answer = AskQuestion(dialogs_, icon, message, buttons, text);
    RecordLine(QStringLiteral("question %1: %2 -> %3")
                   .arg(MessageId(message))
                   .arg(text)
                   .arg(answer == Answer::Yes  ? QStringLiteral("yes")
                        : answer == Answer::No ? QStringLiteral("no")
                                               : QStringLiteral("cancel")));
    return answer;
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

CommandResult TfrmEnterData::SelectProduct(int productCode) {
    if (IsPlusProduct(productCode))
        SelectProductVersion(kVersionPlus, 0, productCode);
    else
        SelectProductVersion(kVersionV22, 0, productCode);
    return FileNew(NewEntry::New);
}

void TfrmEnterData::BuildValueLists() {
    zal::BuildValueLists(form_, product(), version(), folders_.settings());
}

void TfrmEnterData::ApplyEnablingRules() {
    form_.restoreStates(ruleBaseline_);
    zal::ApplyEnablingRules(form_, product(), version());
}

void TfrmEnterData::AdaptToProduct() {
    const int p = product();
    // A page the product does not use gives way to one it does.
    const ProductInfo* info = FindProduct(p);
    if (info && !info->radioInputs && page_ == 0)
        setPage(2);
    else if (info && !info->wiredInputs && page_ == 2)
        setPage(0);
    // "New version" offers the product's own layouts, and only when it has more than one.
    const std::pair<MenuId, int> versions[] = {{MenuId::FileNewVersionV1x, kVersionV1x},
                                               {MenuId::FileNewVersionV20xx, kVersionV20},
                                               {MenuId::FileNewVersionV21xx, kVersionV21},
                                               {MenuId::FileNewVersionV22xx, kVersionV22}};
    int offered = 0;
    for (const auto& [id, version] : versions) {
        setMenu(id, HasLayout(p, version), menu(id).enabled);
        offered += HasLayout(p, version) ? 1 : 0;
    }
    setMenu(MenuId::FileNewVersion, offered > 1, menu(MenuId::FileNewVersion).enabled);
    if (IsPlusProduct(p)) {
        for (MenuId id : kServiceMenus)
            setMenu(id, false, menu(id).enabled);
        setMenu(MenuId::ChangeFixedRadioCodes, codeChange_, codeChange_);
    } else {
        for (MenuId id : kServiceMenus)
            setMenu(id, serviceMode_, menu(id).enabled);
        setMenu(MenuId::ChangeFixedRadioCodes, true, true);
    }
}

// --- Maps -----------------------------------------------------------------------------------------------

MapContext TfrmEnterData::mapContext() {
    return MapContext(form_, working_, product(), version(), locale_);
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
    ConfigImage copy = working_;
    MapContext context(form_, copy, product(), version(), locale_);
    if (std::optional<ConversionError> error = zal::CollectFields(context))
        return error;
    working_ = copy;
    return std::nullopt;
}

void TfrmEnterData::ReportConversionError(const ConversionError& error) {
    const Field* f = form_.find(error.fieldName);
    QString caption = error.fieldName;
    if (f && f->decl->rowCaptionId) {
        caption = Str(f->decl->rowCaptionId);
        if (f->decl->columnCaptionId)
            caption += QStringLiteral(" / ") + Str(f->decl->columnCaptionId);
    }
    dialogs_.message(MessageKind::Error, 0, error.message() + QStringLiteral("\n(") + caption + u')');
}

// --- Shared by the commands -----------------------------------------------------------------------------

void TfrmEnterData::ShowFault(Msg message, int address) {
    show(MessageKind::Error, message, {QString::number(working_[address]), QString::number(address)});
}

QString TfrmEnterData::productName(int code) const {
    return folders_.settings().entry(setting::kProductName, code);
}

// --- Handlers -------------------------------------------------------------------------------------------

void TfrmEnterData::installHandlers() {
    const auto select = [this](const char* names, std::function<void(MapContext&)> action) {
        for (const QString& name : ExpandFieldNames(names))
            form_.onSelect(name, [this, action](Field&) {
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
