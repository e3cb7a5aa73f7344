#include "DeviceCommands.h"

#include "CommandTable.h"
#include "EditorView.h"
#include "Interrupt.h"
#include "Session.h"
#include "config/Products.h"
#include "editor/FixedCodeWindows.h"
#include "shell/Messages.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <algorithm>
#include <chrono>

namespace zal::cli {
namespace {

// The note is a text marked for translation in the context "Cli".
bool Usage(QTextStream& err, const Options& o, bool ok, const char* command, const char* note = nullptr) {
    if (ok && o.error.isEmpty())
        return false;
    PrintCommandUsage(err, command, note ? CliText(note) : QString(), o.error);
    return true;
}

void PrintJson(QTextStream& out, QTextStream& err, const Session& s, bool failed) {
    PrintJsonDocument(out, err, EditorJson(*s.editor, *s.dialogs), failed);
}

bool MenuOffered(const Session& s, MenuId id) {
    const MenuItem& item = s.editor->menu(id);
    return item.visible && item.enabled;
}

// Types a code into a change window's field as the technician would: upper case, four characters.
template <typename OnChange> void TypeCode(QString& field, const QString& code, OnChange onChange) {
    field.clear();
    onChange();
    for (QChar key : code) {
        if (!FixedCodeKey(key) || field.size() >= 4)
            continue;
        field += key;
        onChange();
    }
}

} // namespace

int RunRead(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (Usage(err, o, o.positional.isEmpty(), "read") || SaveNameRefused(err, o, "read"))
        return kUsage;
    Session s = MakeSession(err, o);
    if (!o.output.isEmpty()) // also answers the save offer for an image it cannot show
        s.dialogs->answerSaveWith(o.output == QLatin1String("-") ? QStringLiteral("/dev/stdout") : o.output);
    bool ok = static_cast<bool>(s.editor->ReadFromDevice());
    if (ok && !o.output.isEmpty() && Interrupted())
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "unterbrochen, bevor %1 gespeichert wurde").arg(o.output)
            << Qt::endl;
    else if (ok && !o.output.isEmpty())
        ok = static_cast<bool>(SaveAs(s, o.output, err));
    if (o.json)
        PrintJson(out, err, s, !ok);
    return ok ? kOk : kFailed;
}

namespace {

void PrintChanges(QTextStream& out, const std::vector<DifferenceRow>& rows, bool preview) {
    if (rows.empty()) {
        out << (preview ? QCoreApplication::translate(
                              "Cli", "nichts würde sich ändern: das Gerät hält diese Konfiguration bereits")
                        : QCoreApplication::translate(
                              "Cli", "nichts hat sich geändert: das Gerät hielt diese Konfiguration bereits"))
            << Qt::endl;
        return;
    }
    QString page, group;
    for (const DifferenceRow& r : rows) {
        if (r.page != page || r.group != group)
            out << r.page << (r.group.isEmpty() ? QString() : QStringLiteral(" / ") + r.group) << Qt::endl;
        page = r.page;
        group = r.group;
        const auto shown = [](const QString& v) {
            return v.isEmpty() ? QCoreApplication::translate("Cli", "(leer)") : v;
        };
        out << "  " << r.caption << ": " << shown(r.mine) << " -> " << shown(r.other) << Qt::endl;
    }
}

} // namespace

int RunWrite(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (Usage(err, o, o.positional.size() == 1, "write"))
        return kUsage;
    Session s = MakeSession(err, o);
    if (!Open(s, o.positional[0]))
        return kFailed;
    const CommandResult result = o.preview ? s.editor->PreviewWrite() : s.editor->WriteToDevice();
    // What changed (or would change), in the compare window's form; known only when the device was
    // read whole first. After a failed write nothing is listed as changed.
    const bool listed = (o.preview || result) && s.editor->writeChangesKnown();
    if (o.json) {
        // The editor's object as before, with the changes beside it.
        QJsonObject json = EditorJson(*s.editor, *s.dialogs);
        if (listed)
            json.insert(QStringLiteral("changes"),
                        ChangesJson(s.editor->writeChanges(), "device", "written"));
        if (const std::optional<DeviceIdentity> target = s.editor->writeTarget(); target && listed)
            json.insert(QStringLiteral("target"),
                        QJsonObject{{QStringLiteral("product"), target->productName},
                                    {QStringLiteral("version"), target->version},
                                    {QStringLiteral("serial"), target->shownSerial}});
        PrintJsonDocument(out, err, json, !result);
    } else if (listed) {
        // The device the changes are for: the one behind the KBX, never the file's.
        if (const std::optional<DeviceIdentity> target = s.editor->writeTarget())
            out << QCoreApplication::translate("Cli", "Gerät: %1 %2, Seriennummer %3")
                       .arg(target->productName, target->version, target->shownSerial)
                << Qt::endl;
        PrintChanges(out, s.editor->writeChanges(), o.preview);
    } else if (result) {
        out << QCoreApplication::translate("Cli", "geschrieben; die geänderten Felder werden nicht gelistet, "
                                                  "da die Sicherung vor dem Schreiben aus ist")
            << Qt::endl;
    }
    return result ? kOk : kFailed;
}

int RunLearn(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    bool positionOk = false;
    const int position = o.positional.value(1).toInt(&positionOk);
    bool timeoutOk = true;
    const double timeout = o.timeout.isEmpty() ? 60.0 : o.timeout.toDouble(&timeoutOk);
    if (Usage(err, o,
              o.positional.size() == 2 && positionOk && position >= 1 && position <= 8 && timeoutOk &&
                  timeout > 0,
              "learn", QT_TRANSLATE_NOOP("Cli", "POSITION ist 1-8, die Wartezeit in Sekunden")))
        return kUsage;
    Session s = MakeSession(err, o);
    if (!Open(s, o.positional[0]))
        return kFailed;
    const QString button = QStringLiteral("btnReceiveRadioCode%1").arg(position);
    if (!o.force && !s.editor->form().field(button).enabled) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "dieses Produkt lernt keine Funkcodes für seine Positionen")
            << Qt::endl;
        return kFailed;
    }
    if (!s.editor->LearnStart(position))
        return kFailed;
    err << "zalctl: " << s.editor->learnActionText() << Qt::endl;
    // The learning window polls the KBX every 500 ms until a code arrives; the timeout is Abort.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<long long>(timeout * 1000));
    using State = TfrmEnterData::LearnState;
    State state = State::Waiting;
    // Ctrl+C acts as the window's Abort.
    while (state == State::Waiting && Clock::now() < deadline && !Interrupted()) {
        QThread::msleep(500);
        if (!Interrupted())
            state = s.editor->LearnPoll();
    }
    const bool received = state == State::Received;
    s.editor->LearnFinish(received);
    if (!received) {
        err << "zalctl: "
            << (Interrupted() || state == State::LineLost
                    ? QCoreApplication::translate("Cli", "%1 bleibt, wie es war")
                    : QCoreApplication::translate("Cli", "kein Sendercode angekommen; %1 bleibt, wie es war"))
                   .arg(o.positional[0])
            << Qt::endl;
        return kFailed;
    }
    out << "Position " << position << ": " << s.editor->receivedCode() << Qt::endl;
    return s.editor->FileSave() ? kOk : kFailed;
}

int RunChangeCodes(QTextStream&, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (Usage(err, o, o.positional.size() >= 2, "change-codes"))
        return kUsage;
    Session s = MakeSession(err, o);
    if (!Open(s, o.positional[0]))
        return kFailed;
    if (!MenuOffered(s, MenuId::ChangeFixedRadioCodes)) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli",
                                           "die Festcodes dieses Produkts zu ändern braucht --changecodes")
            << Qt::endl;
        return kFailed;
    }
    const QStringList codes = o.positional.mid(1);
    const bool plus = IsPlusProduct(s.editor->product());
    if (codes.size() > (plus ? 1 : TfrmChangeFixed::kRows)) {
        err << "zalctl: "
            << (plus ? QCoreApplication::translate(
                           "Cli", "MUVE+ nimmt nur den eigenen Code des Geräts; die Festcodes folgen daraus")
                     : QCoreApplication::translate("Cli", "höchstens sechs Codes"))
            << Qt::endl;
        return kUsage;
    }
    // Only a code the window's field takes exactly as typed is written: a dropped key or a fifth digit
    // would write a code nobody typed.
    for (const QString& code : codes) {
        if (code.size() != 4 ||
            !std::all_of(code.begin(), code.end(), [](QChar key) { return FixedCodeKey(key); })) {
            ShowMessage(*s.dialogs, MessageKind::Error, Msg::CodeHasFourDigits);
            err << "zalctl: "
                << QCoreApplication::translate(
                       "Cli", "\"%1\" ist kein Festcode (vier Hexadezimalziffern); nichts wurde geschrieben")
                       .arg(code)
                << Qt::endl;
            return kFailed;
        }
    }
    const FixedCodeWindow window = s.editor->ChangeFixedCodesBegin();
    if (window == FixedCodeWindow::None || Interrupted())
        return kFailed;
    // The window refuses some codes (0000, FFFF, the MUVE+ block's end) and empties or keeps its field:
    // then nothing is written either.
    const auto refused = [&err](const QString& code) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 wird als Festcode abgelehnt; nichts wurde geschrieben")
                   .arg(code)
            << Qt::endl;
        return kFailed;
    };
    CommandResult written = CommandResult::Failed;
    if (window == FixedCodeWindow::Plus) {
        TfrmChangeFixedPlus& w = s.editor->changeFixedPlus();
        TypeCode(w.newCodes[0], codes[0], [&w] { w.New1Changed(); });
        if (!w.writeEnabled)
            return refused(codes[0]);
        written = w.WriteToDevice();
    } else {
        TfrmChangeFixed& w = s.editor->changeFixed();
        for (int row = 0; row < codes.size(); ++row) {
            TypeCode(w.newCodes[static_cast<size_t>(row)], codes[row], [&w, row] { w.NewChanged(row); });
            if (w.newCodes[static_cast<size_t>(row)] != codes[row].toUpper())
                return refused(codes[row]);
        }
        written = w.WriteToDevice();
    }
    if (!written)
        return kFailed;
    s.editor->ChangeFixedCodesCommit(window);
    return s.editor->FileSave() ? kOk : kFailed;
}

int RunWriteDefault(QTextStream&, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    const QString model = o.positional.value(0).toUpper();
    const bool known = DefaultWriteProduct(model) != nullptr;
    if (Usage(err, o, o.positional.size() == 1 && known, "write-default",
              QT_TRANSLATE_NOOP("Cli", "MODEL ist eines von %DEFAULTS% (mit --service)")))
        return kUsage;
    Session s = MakeSession(err, o);
    if (!MenuOffered(s, MenuId::WriteDefault)) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 ist ein Servicebefehl (--service)")
                   .arg(QStringLiteral("write-default"))
            << Qt::endl;
        return kFailed;
    }
    return s.editor->WriteDefault(model) ? kOk : kFailed;
}

int RunWriteVersionByte(QTextStream&, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (Usage(err, o, o.positional.isEmpty(), "write-version-byte",
              QT_TRANSLATE_NOOP("Cli", "mit --service")))
        return kUsage;
    Session s = MakeSession(err, o);
    if (!MenuOffered(s, MenuId::WriteVersionByte)) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 ist ein Servicebefehl (--service)")
                   .arg(QStringLiteral("write-version-byte"))
            << Qt::endl;
        return kFailed;
    }
    return s.editor->WriteVersionByte() ? kOk : kFailed;
}

} // namespace zal::cli
