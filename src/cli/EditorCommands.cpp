#include "EditorCommands.h"

#include "CommandTable.h"
#include "Session.h"

#include "CliDialogs.h"
#include "EditorView.h"
#include "config/Products.h"
#include "editor/EnterData.h"
#include "form/FormLayout.h"
#include "form/ValueList.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <algorithm>

#include <memory>

namespace zal::cli {
namespace {

// A product by its model name (ProductNames()), in any case and with or without spaces; 0 when unknown.
int ProductByName(QString name) {
    name = name.toUpper().remove(u' ');
    for (const ProductInfo& p : Products()) {
        if (QString::fromLatin1(p.model.get()).remove(u' ') == name)
            return p.code;
    }
    return 0;
}

std::optional<NewEntry> EntryByName(const QString& name) {
    const QString v = name.toUpper();
    if (v == QLatin1String("V1.X") || v == QLatin1String("V1X"))
        return NewEntry::V1x;
    if (v == QLatin1String("V20"))
        return NewEntry::V20xx;
    if (v == QLatin1String("V21"))
        return NewEntry::V21xx;
    if (v == QLatin1String("V22"))
        return NewEntry::V22xx;
    return std::nullopt;
}

void PrintResult(QTextStream& out, QTextStream& err, const Session& s, bool json, bool failed) {
    if (json)
        PrintJsonDocument(out, err, EditorJson(*s.editor, *s.dialogs), failed);
    else
        PrintEditor(out, *s.editor);
    out.flush();
}

bool SelectProductOption(Session& s, const Options& o, QTextStream& err) {
    if (o.product.isEmpty())
        return true;
    const int product = ProductByName(o.product);
    if (!product) {
        err << "zalctl: " << QCoreApplication::translate("Cli", "unbekanntes Produkt %1").arg(o.product)
            << Qt::endl;
        return false;
    }
    s.editor->SelectProduct(product);
    return true;
}

// What one assignment asks of its field, so that it can be checked once all are made.
struct Request {
    QString name;
    QString text; // entry fields
    int index = -1;
    bool checked = false;
    bool forced = false; // changed with --force while the window would not let it be
};

// Acts on one field as a technician would; an empty text when it worked, else why not.
QString SetField(Session& s, const QString& assignment, bool force, QTextStream& err, bool& usage,
                 Request& request) {
    const qsizetype eq = assignment.indexOf(u'=');
    if (eq <= 0) {
        usage = true;
        return QCoreApplication::translate("Cli", "NAME=WERT erwartet, nicht %1").arg(assignment);
    }
    const QString name = assignment.left(eq);
    const QString value = assignment.mid(eq + 1);
    FormModel& form = s.editor->form();
    Field* f = form.find(name);
    if (!f) {
        usage = true;
        return QCoreApplication::translate("Cli", "kein Feld %1").arg(name);
    }
    // What the technician could change in the window: an enabled, visible field. (Its presence mark
    // says whether the map writes it back, which is not the same: MUVE+ radio codes are enabled and
    // collected whatever their mark.)
    if (const QString why = ShowsOnly(*f); !why.isEmpty() && f->text != value)
        return why;
    request.forced = !f->enabled || !f->visible;
    // The product information tells what a device is (its product, its protocols): forcing it would make
    // a file of one product that another takes.
    if (request.forced && InInformationGroup(*f->decl))
        return QCoreApplication::translate("Cli",
                                           "%1 gehört zur Produktinformation und kann auch mit --force "
                                           "nicht geändert werden")
            .arg(name);
    if (!force && request.forced)
        return (f->mark == 2 || !f->visible
                    ? QCoreApplication::translate(
                          "Cli", "%1 wird bei diesem Produkt und dieser Version nicht verwendet")
                    : QCoreApplication::translate("Cli", "%1 kann nicht geändert werden (gesperrt)"))
            .arg(name);
    request.name = name;
    switch (f->kind()) {
    case FieldKind::Edit: {
        request.text = value;
        form.replaceText(*f, QString());
        for (QChar key : value) {
            if (!form.typeKey(*f, key))
                err << "zalctl: "
                    << QCoreApplication::translate("Cli", "Warnung: %1")
                           .arg(QCoreApplication::translate("Cli", "Taste '%1' von %2 verworfen")
                                    .arg(key)
                                    .arg(name))
                    << Qt::endl;
        }
        form.leave(*f);
        return QString();
    }
    case FieldKind::Combo: {
        bool ok = false;
        const int number = value.mid(2).toInt(&ok);
        int index = -1;
        if (ok && value.startsWith(QLatin1String("v:")))
            index = IndexOfValue(f->list.values, number);
        else if (ok && value.startsWith(QLatin1String("i:")))
            index = number < f->list.items.size() ? number : -1;
        else {
            usage = true;
            return QCoreApplication::translate("Cli", "eine Auswahlliste nimmt v:WERT oder i:INDEX, nicht %1")
                .arg(value);
        }
        if (index < 0)
            return QCoreApplication::translate("Cli", "%1 hat keinen Eintrag %2").arg(name, value);
        request.index = index;
        form.selectIndex(*f, index);
        return QString();
    }
    case FieldKind::Check:
        if (value != QLatin1String("0") && value != QLatin1String("1")) {
            usage = true;
            return QCoreApplication::translate("Cli", "ein Kontrollkästchen nimmt 1 oder 0, nicht %1")
                .arg(value);
        }
        request.checked = value == QLatin1String("1");
        if (f->checked != request.checked)
            form.click(*f);
        return QString();
    case FieldKind::Button:
        return QCoreApplication::translate("Cli", "%1 ist eine Schaltfläche").arg(name);
    }
    return QString();
}

} // namespace

int RunNew(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (!o.error.isEmpty() || o.positional.isEmpty() || o.positional.size() > 2) {
        PrintCommandUsage(err, "new", {}, o.error);
        return kUsage;
    }
    if (SaveNameRefused(err, o, "new"))
        return kUsage;
    const int product = ProductByName(o.positional[0]);
    std::optional<NewEntry> entry = NewEntry::New;
    if (o.positional.size() == 2)
        entry = EntryByName(o.positional[1]);
    if (!product || !entry) {
        err << "zalctl: "
            << CliText(QT_TRANSLATE_NOOP("Cli", "Produkte sind %PRODUCTS%; Versionen V1.x, V20, V21, V22"))
            << Qt::endl;
        return kUsage;
    }
    // An older product made in fewer layouts says which it has; an extended repeater has one, whichever
    // is asked.
    if (o.positional.size() == 2 && IsClassicProduct(product) &&
        !HasLayout(product, NewEntryVersion(*entry, product))) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 hat die Version %2 nicht; Versionen: %3")
                   .arg(QString::fromLatin1(ProductRow(product).model.get()), o.positional[1],
                        LayoutNames(product))
            << Qt::endl;
        return kUsage;
    }
    Session s = MakeSession(err, o);
    bool ok = s.editor->SelectProduct(product).clean();
    if (*entry != NewEntry::New)
        ok = s.editor->FileNew(*entry).clean() && ok;
    if (ok && !o.output.isEmpty())
        ok = static_cast<bool>(SaveAs(s, o.output, err));
    if (o.json)
        PrintResult(out, err, s, true, !ok);
    return ok ? kOk : kFailed;
}

int RunShow(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (!o.error.isEmpty() || o.positional.size() != 1) {
        PrintCommandUsage(err, "show", {}, o.error);
        return kUsage;
    }
    Session s = MakeSession(err, o);
    if (!SelectProductOption(s, o, err))
        return kUsage;
    const CommandResult opened = Open(s, o.positional[0]);
    // A file that did not open has nothing to show: stdout stays empty (a script reads no default
    // configuration for it), and --json gets the error alone.
    if (!opened) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 wurde nicht geöffnet").arg(o.positional[0]) << Qt::endl;
        return kFailed;
    }
    PrintResult(out, err, s, o.json, !opened.clean());
    return opened.clean() ? kOk : kFailed;
}

int RunSet(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    // Without assignments, -o OUT saves the file again under another name, as Save As does.
    if (!o.error.isEmpty() || o.positional.isEmpty() || (o.positional.size() < 2 && o.output.isEmpty())) {
        PrintCommandUsage(err, "set",
                          QCoreApplication::translate("Cli", "(oder FILE -o OUT allein: Speichern unter)"),
                          o.error);
        return kUsage;
    }
    if (SaveNameRefused(err, o, "set"))
        return kUsage;
    Session s = MakeSession(err, o);
    if (!SelectProductOption(s, o, err))
        return kUsage;
    if (!Open(s, o.positional[0])) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 wurde nicht geöffnet").arg(o.positional[0]) << Qt::endl;
        return kFailed;
    }
    std::vector<Request> requests;
    for (const QString& assignment : o.positional.mid(1)) {
        bool usage = false;
        Request request;
        const QString problem = SetField(s, assignment, o.force, err, usage, request);
        if (!problem.isEmpty()) {
            err << "zalctl: " << problem << Qt::endl;
            return usage ? kUsage : kFailed;
        }
        requests.push_back(request);
    }
    // Only what stayed as asked is saved: a key the filter dropped or a range check that put in its
    // limit means the file would not hold what the technician asked for, nor does a field forced open
    // that this product does not keep, which shows as it will once saved.
    if (std::any_of(requests.begin(), requests.end(), [](const Request& r) { return r.forced; }))
        SettleThroughImage(*s.editor);
    bool stayed = true;
    for (const Request& r : requests) {
        const Field& f = s.editor->form().field(r.name);
        const bool same = f.kind() == FieldKind::Edit    ? f.text == r.text
                          : f.kind() == FieldKind::Combo ? f.index == r.index
                                                         : f.checked == r.checked;
        if (!same) {
            err << "zalctl: "
                << QCoreApplication::translate(
                       "Cli", "%1 hat den verlangten Wert nicht angenommen; es enthält \"%2\"")
                       .arg(r.name, ShownValue(f))
                << Qt::endl;
            stayed = false;
        }
    }
    if (!stayed) {
        err << "zalctl: " << QCoreApplication::translate("Cli", "nichts wurde gespeichert") << Qt::endl;
        return kFailed;
    }
    bool ok = false;
    if (o.output.isEmpty()) {
        ok = static_cast<bool>(s.editor->FileSave());
    } else {
        ok = static_cast<bool>(SaveAs(s, o.output, err));
    }
    if (o.json)
        PrintResult(out, err, s, true, !ok);
    return ok ? kOk : kFailed;
}

int RunDiff(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (!o.error.isEmpty() || o.positional.size() != 2) {
        PrintCommandUsage(err, "diff");
        return kUsage;
    }
    Session a = MakeSession(err, o);
    Session b = MakeSession(err, o);
    if (!Open(a, o.positional[0]) || !Open(b, o.positional[1])) {
        err << "zalctl: " << QCoreApplication::translate("Cli", "beide Dateien müssen sich öffnen lassen")
            << Qt::endl;
        return kUsage;
    }
    const std::vector<FieldDifference> differences = DiffForms(a.editor->form(), b.editor->form());
    for (const FieldDifference& d : differences)
        out << d.a->name() << '\t' << FieldCaption(*d.a) << '\t' << ShownValue(*d.a) << '\t'
            << ShownValue(*d.b) << '\n';
    out.flush();
    return differences.empty() ? kOk : kFailed;
}

} // namespace zal::cli
