#include "LineCommand.h"

#include "CommandTable.h"
#include "Interrupt.h"
#include "Session.h"
#include "config/Products.h"
#include "line/ProductionRun.h"
#include "radio/RadioCode.h"
#include "records/RecordsDatabase.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace zal::cli {
namespace {

// One unit, with the editor its line works through and where its messages gather until they are
// printed (under one lock, so that the units' lines never mix).
struct Unit {
    QString name, port, serial;
    QString buffer;
    std::unique_ptr<QTextStream> stream;
    Session session;
};

std::mutex printLock;

void Print(Unit& u, const QString& text) {
    std::lock_guard lock(printLock);
    u.stream->flush();
    for (const QString& line : u.buffer.split(u'\n', Qt::SkipEmptyParts))
        std::fprintf(stderr, "[%s] %s\n", qPrintable(u.name), qPrintable(line));
    u.buffer.clear();
    // Every line of a reason that runs over several carries its unit, as the lines of the others do.
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts))
        std::fprintf(stderr, "[%s] %s\n", qPrintable(u.name), qPrintable(line));
    std::fflush(stderr);
}

// The units, each with its own editor. Made here, one after the other, as they settle the same
// folders; each then runs in a thread of its own.
std::vector<std::unique_ptr<Unit>> MakeUnits(const Options& o) {
    std::vector<std::unique_ptr<Unit>> units;
    const auto add = [&](const QString& port, const QString& serial) {
        auto u = std::make_unique<Unit>();
        u->port = port;
        u->serial = serial;
        u->name = !port.isEmpty() ? port : !serial.isEmpty() ? serial : QStringLiteral("KBX");
        u->stream = std::make_unique<QTextStream>(&u->buffer);
        u->session = MakeSession(*u->stream, o, port, serial);
        u->session.editor->observer().progress = nullptr;
        // The line ends after the device under way, as it always has; its own watch decides.
        u->session.editor->observer().stopRequested = nullptr;
        u->session.editor->observer().notice = [raw = u.get()](const QString& text) {
            *raw->stream << text << '\n';
        };
        units.push_back(std::move(u));
    };
    // A unit named twice would only find itself in use.
    QStringList ports = o.port, serials = o.kbx;
    ports.removeDuplicates();
    serials.removeDuplicates();
    for (const QString& port : ports)
        add(port, QString());
    for (const QString& serial : serials)
        add(QString(), serial);
    if (units.empty())
        add(QString(), QString());

    return units;
}

// What a run that cannot start says; nothing when it is ready.
std::optional<int> SetupRefused(RunSetup setup, const ProductionRun& run, Unit& first, const Options& o,
                                const QString& logPath, const QString& firstCode, QTextStream& err) {
    switch (setup) {
    case RunSetup::Ready:
        break;
    case RunSetup::NotOpened:
        Print(first, QString());
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 wurde nicht geöffnet; kein Gerät wurde berührt")
                   .arg(o.positional[0])
            << Qt::endl;
        return kFailed;
    case RunSetup::LogRefused:
        err << "zalctl: "
            << QCoreApplication::translate("Cli",
                                           "das Protokoll %1 kann nicht geschrieben werden: %2; nichts "
                                           "wurde berührt")
                   .arg(logPath, run.why().isEmpty()
                                     ? QCoreApplication::translate("Cli", "es ist die Konfigurationsdatei")
                                     : run.why())
            << Qt::endl;
        return kFailed;
    case RunSetup::NotAFirstCode:
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 kann kein erster Festcode sein").arg(firstCode)
            << Qt::endl;
        return kUsage;
    case RunSetup::NoCodes:
        err << "zalctl: "
            << QCoreApplication::translate(
                   "Cli", "%1; es können keine Codes vergeben werden, kein Gerät wurde berührt")
                   .arg(run.why())
            << Qt::endl;
        return kFailed;
    case RunSetup::Asynchronous:
        err << "zalctl: "
            << QCoreApplication::translate(
                   "Cli", "%1. Kein Gerät wurde berührt. Den Standby synchron machen (README, \"A server "
                          "with a standby\"), oder mit --allow-async-standby trotzdem vergeben")
                   .arg(run.why())
            << Qt::endl;
        return kFailed;
    }
    return std::nullopt;
}

// What the records did before the run, for the technician to know before the first device.
void SayBeforeTheRun(const ProductionRun& run, const QString& logPath, QTextStream& err) {
    if (!run.replicationRisk().isEmpty())
        err << "zalctl: warning: "
            << QCoreApplication::translate("Cli", "%1 (--allow-async-standby; jede Zeile vermerkt es)")
                   .arg(run.replicationRisk())
            << Qt::endl;
    if (run.reconciledCodes() > 0)
        err << "zalctl: "
            << QCoreApplication::translate(
                   "Cli", "%n Codes, die %1 als vergeben nennt, in den Aufzeichnungen nachgetragen", nullptr,
                   run.reconciledCodes())
                   .arg(logPath)
            << Qt::endl;
    if (run.importedCodes() > 0)
        err << "zalctl: "
            << QCoreApplication::translate("Cli",
                                           "%1 Codes aus %2 als vergeben in die Aufzeichnungen übernommen")
                   .arg(run.importedCodes())
                   .arg(logPath)
            << Qt::endl;
    if (!run.runNotRecorded().isEmpty())
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "die Aufzeichnungen konnten nicht aktualisiert werden "
                                                  "(%1); der Lauf geht weiter, seine Geräte stehen in %2")
                   .arg(run.runNotRecorded(), logPath)
            << Qt::endl;
}

// What the run came to, and its exit code.
int SayAfterTheRun(ProductionRun& run, size_t unitCount, const QString& logPath, QTextStream& out,
                   QTextStream& err) {
    const LineShared& shared = run.shared();
    if (run.noUnitUsable(unitCount)) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli",
                                           "keine KBX konnte verwendet werden; kein Gerät wurde berührt")
            << Qt::endl;
        return kFailed;
    }
    if (shared.halted)
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "der Lauf hat angehalten: %1").arg(shared.haltReason)
            << Qt::endl;
    if (const QString problem = run.recordsProblem(); !problem.isEmpty())
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "die Aufzeichnungen konnten nicht jedes Gerät des Laufs "
                                                  "aufnehmen (%1); %2 enthält sie alle")
                   .arg(problem, logPath)
            << Qt::endl;
    if (run.unsettledBlocks() > 0)
        err << "zalctl: "
            << QCoreApplication::translate("Cli",
                                           "%n Codeblöcke sind in den Aufzeichnungen noch als reserviert "
                                           "vermerkt; der nächste Lauf mit %1 trägt sie nach",
                                           nullptr, run.unsettledBlocks())
                   .arg(logPath)
            << Qt::endl;
    const int written = shared.written, other = shared.refusedOrFailed;
    out << QCoreApplication::translate("Cli",
                                       "%1 geschrieben, %2 abgelehnt oder fehlgeschlagen; Protokoll %3")
               .arg(written)
               .arg(other)
               .arg(logPath)
        << Qt::endl;
    return written > 0 && other == 0 && !shared.halted ? kOk : kFailed;
}

} // namespace

int RunLine(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    bool countOk = true;
    const int count = o.count.isEmpty() ? 0 : o.count.toInt(&countOk);
    bool codeOk = true;
    const QString firstCode = o.changeCodes_.toUpper();
    // Given, even empty (an unset script variable), it must be a code: never "no code change".
    if (o.given & kOptChangeCodesFrom)
        codeOk = firstCode.size() == 4 && std::all_of(firstCode.begin(), firstCode.end(), [](QChar c) {
                     return IsRadioCodeKey(c) && c.isLetterOrNumber();
                 });
    // --count 0 is no run at all (without --count the run goes on until stopped).
    if (!o.error.isEmpty() || o.positional.size() != 1 || !countOk || count < 0 ||
        ((o.given & kOptCount) && count == 0) || !codeOk) {
        PrintCommandUsage(err, "line", {}, o.error);
        return kUsage;
    }
    const QString file = QFileInfo(o.positional[0]).absoluteFilePath();

    std::vector<std::unique_ptr<Unit>> units = MakeUnits(o);

    const QString logPath = o.log.isEmpty() ? QStringLiteral("line-log.csv") : o.log;
    ProductionRun run({.file = file,
                       .logPath = logPath,
                       .firstCode = firstCode,
                       .count = count,
                       .stopRequested = [] { return Interrupted(); },
                       .allowAsynchronous = (o.given & kOptAllowAsync) != 0});
    if (const std::optional<int> refused = SetupRefused(run.Prepare(*units.front()->session.editor), run,
                                                        *units.front(), o, logPath, firstCode, err))
        return *refused;
    SayBeforeTheRun(run, logPath, err);

    std::vector<ProductionRun::Unit> lines;
    for (auto& u : units)
        lines.push_back(
            {u->session.editor.get(), u->name, [raw = u.get()](const QString& text) { Print(*raw, text); }});
    run.Run(lines);
    for (auto& u : units)
        Print(*u, QString());
    return SayAfterTheRun(run, units.size(), logPath, out, err);
}

} // namespace zal::cli
