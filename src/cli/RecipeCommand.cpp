#include "RecipeCommand.h"

#include "CommandTable.h"
#include "EditorView.h"
#include "Session.h"
#include "form/FieldText.h"
#include "form/ValueList.h"
#include "shell/FileSystem.h"
#include "shell/Language.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <optional>
#include <vector>

namespace zal::cli {
namespace {

// What a recipe asks of one field, as the field's own kind of value.
struct Wish {
    Field* field = nullptr;
    QString text;   // entry fields, a decimal with this language's separator
    QString given;  // as the recipe wrote it (a version such as 2.1 is shown so in either language)
    QLocale locale; // the editor's, in which the fields show their texts
    int index = -1; // drop-downs
    bool checked = false;
    bool forced = false; // set with --force while the window would not let it be
};

// Whether a recipe's text, written under either language, is what a field shows in this one: an item's
// name in either, a decimal with either separator (869,2 MHz), a date in either's short form.
bool SameShown(const QString& shown, const QString& given, const QLocale& locale) {
    if (SameValueListText(shown, given))
        return true;
    if (QString(shown).replace(u',', u'.') == QString(given).replace(u',', u'.'))
        return true;
    const QDate date = locale.toDate(shown, QLocale::ShortFormat);
    if (!date.isValid())
        return false;
    for (const QLocale& other :
         {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        QDate theirs = other.toDate(given, QLocale::ShortFormat);
        // Two-digit years are read in the 1900s.
        if (theirs.isValid() && theirs.year() < 1950)
            theirs = theirs.addYears(100);
        if (theirs == date || theirs == date.addYears(100))
            return true;
    }
    return false;
}

bool Granted(const Wish& w) {
    const Field& f = *w.field;
    switch (f.kind()) {
    case FieldKind::Edit: // a text the recipe wrote under the other language shows the same
        return f.text == w.text || SameShown(f.text, w.given, w.locale);
    case FieldKind::Combo:
        return f.index == w.index;
    case FieldKind::Check:
        return f.checked == w.checked;
    case FieldKind::Button:
        return true;
    }
    return true;
}

// A drop-down's entry: its stored value, its index or its text (in either language).
bool ComboWish(const Field& f, const QJsonObject& entry, Wish& w, QString& problem) {
    const auto refuse = [&](const QString& why) {
        problem = why.arg(f.name());
        return false;
    };
    const auto isInteger = [](const QJsonValue& v) { return v.isDouble() && v.toDouble() == v.toInt(); };
    // The stored value is what the image holds; the index and the text depend on the value list.
    // -1 (value or index) is no selection, as show --json writes a drop-down with none.
    if (entry.contains(QStringLiteral("value"))) {
        if (!isInteger(entry.value(QStringLiteral("value"))))
            return refuse(QCoreApplication::translate("Cli", "%1 nimmt \"value\" als ganze Zahl"));
        const int value = entry.value(QStringLiteral("value")).toInt(-1);
        w.index = value < 0 ? -1 : IndexOfValue(f.list.values, value);
        if (value >= 0 && w.index < 0)
            problem = QCoreApplication::translate("Cli", "%1 hat keinen Eintrag mit dem Wert %2")
                          .arg(f.name())
                          .arg(value);
    } else if (entry.contains(QStringLiteral("index"))) {
        if (!isInteger(entry.value(QStringLiteral("index"))))
            return refuse(QCoreApplication::translate("Cli", "%1 nimmt \"index\" als ganze Zahl"));
        w.index = entry.value(QStringLiteral("index")).toInt(-1);
        if (w.index >= f.list.items.size())
            problem =
                QCoreApplication::translate("Cli", "%1 hat keinen Eintrag %2").arg(f.name()).arg(w.index);
    } else if (entry.contains(QStringLiteral("text"))) {
        if (!entry.value(QStringLiteral("text")).isString())
            return refuse(QCoreApplication::translate("Cli", "%1 nimmt \"text\" als Zeichenkette"));
        const QString text = entry.value(QStringLiteral("text")).toString();
        // A recipe written while the program spoke the other language names the items in it.
        const auto named = std::find_if(f.list.items.begin(), f.list.items.end(),
                                        [&](const QString& item) { return SameValueListText(item, text); });
        w.index = named == f.list.items.end() ? -1 : static_cast<int>(named - f.list.items.begin());
        if (w.index < 0 && !text.isEmpty())
            problem = QCoreApplication::translate("Cli", "%1 hat keinen Eintrag \"%2\"").arg(f.name(), text);
    } else {
        return refuse(QCoreApplication::translate(
            "Cli", "%1 ist eine Auswahlliste: sie nimmt \"value\", \"index\" oder \"text\""));
    }
    return problem.isEmpty();
}

// The recipe entry as a wish. Each kind of field takes its value only in its own JSON type: a number
// for a text, a 1 for a check box or a null would otherwise be read as something nobody wrote. An
// entry that names nothing the field can set is refused too. Other keys (as show --json writes them:
// kind, enabled, mark) are left alone.
bool MakeWish(Field& f, const QJsonValue& value, const QLocale& locale, Wish& w, QString& problem) {
    w.locale = locale;
    const QString decimalPoint = locale.decimalPoint();
    w.field = &f;
    // why: a text with %1 for the field's name.
    const auto refuse = [&](const QString& why) {
        problem = why.arg(f.name());
        return false;
    };
    if (!value.isObject())
        return refuse(QCoreApplication::translate(
            "Cli", "%1 braucht ein Objekt wie {\"text\": \"5\"}, {\"value\": 1} oder {\"checked\": true}"));
    const QJsonObject entry = value.toObject();
    switch (f.kind()) {
    case FieldKind::Edit:
        if (!entry.value(QStringLiteral("text")).isString())
            return refuse(QCoreApplication::translate(
                "Cli", "%1 ist ein Eingabefeld: es nimmt {\"text\": \"...\"}, eine Zeichenkette"));
        w.text = w.given = entry.value(QStringLiteral("text")).toString();
        // A decimal as the other language writes it (0.5 for 0,5): the fields take this one's.
        if (static const QRegularExpression decimal(QStringLiteral("^-?\\d+[.,]\\d+$"));
            decimal.match(w.text).hasMatch())
            w.text.replace(QRegularExpression(QStringLiteral("[.,]")), decimalPoint);
        return true;
    case FieldKind::Combo:
        return ComboWish(f, entry, w, problem);
    case FieldKind::Check:
        if (!entry.value(QStringLiteral("checked")).isBool())
            return refuse(QCoreApplication::translate(
                "Cli", "%1 ist ein Kontrollkästchen: es nimmt {\"checked\": true} oder false"));
        w.checked = entry.value(QStringLiteral("checked")).toBool();
        return true;
    case FieldKind::Button: // show --json lists the buttons too; they hold nothing to set
        w.field = nullptr;
        return true;
    }
    return false;
}

// The first key that an object of the JSON text names twice (JSON parsers keep only the last, so the
// recipe would not do what it says); empty when there is none. The text has parsed already.
QString DuplicateKey(const QByteArray& json) {
    std::vector<std::optional<QSet<QString>>> objects; // an array is a level without keys
    QString last;
    bool inString = false, escaped = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"') {
                inString = false;
                last = QJsonDocument::fromJson("[" + json.mid(start, i - start + 1) + "]")
                           .array()
                           .at(0)
                           .toString();
            }
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            start = i;
            break;
        case '{':
            objects.emplace_back(QSet<QString>{});
            break;
        case '[':
            objects.emplace_back(std::nullopt);
            break;
        case '}':
        case ']':
            if (!objects.empty())
                objects.pop_back();
            break;
        case ':':
            if (!objects.empty() && objects.back()) {
                if (objects.back()->contains(last))
                    return last;
                objects.back()->insert(last);
            }
            break;
        default:
            break;
        }
    }
    return QString();
}

void Apply(FormModel& form, const Wish& w) {
    Field& f = *w.field;
    switch (f.kind()) {
    case FieldKind::Edit:
        form.replaceText(f, QString());
        for (QChar key : w.text)
            form.typeKey(f, key);
        form.leave(f);
        break;
    case FieldKind::Combo:
        if (w.index >= 0) // a selection cannot be taken away by hand
            form.selectIndex(f, w.index);
        break;
    case FieldKind::Check:
        if (f.checked != w.checked)
            form.click(f);
        break;
    case FieldKind::Button:
        break;
    }
}

} // namespace

namespace {

// Reads the recipe at path: its "fields", or the exit code of a recipe that cannot be used (said on err).
int ReadRecipe(const QString& path, QTextStream& err, QJsonObject& fields) {
    // A recipe is small: anything larger (or a device that never ends, such as /dev/zero) is refused
    // before it is read whole.
    constexpr qint64 kRecipeLimit = 1 << 20;
    QFile file;
    QByteArray bytes;
    if (!OpenForReading(file, path)) {
        const int why = errno;
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "das Rezept %1 kann nicht gelesen werden: %2")
                   .arg(path, QString::fromLocal8Bit(std::strerror(QFileInfo(path).isDir() ? EISDIR : why)))
            << Qt::endl;
        return kFailed;
    }
    bytes = file.read(kRecipeLimit + 1);
    if (bytes.size() > kRecipeLimit) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 ist größer, als ein Rezept sein darf (1 MiB)").arg(path)
            << Qt::endl;
        return kFailed;
    }
    QJsonParseError parseError{};
    const QJsonDocument recipe = QJsonDocument::fromJson(bytes, &parseError);
    if (!recipe.isObject() || !recipe.object().value(QStringLiteral("fields")).isObject()) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 ist kein Rezept (ein JSON-Objekt mit \"fields\")")
                   .arg(path)
            << (parseError.error ? QStringLiteral(": ") + parseError.errorString() : QString()) << Qt::endl;
        return kUsage;
    }
    if (const QString twice = DuplicateKey(bytes); !twice.isEmpty()) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 nennt \"%2\" zweimal; nichts wurde gespeichert")
                   .arg(path, twice)
            << Qt::endl;
        return kFailed;
    }
    fields = recipe.object().value(QStringLiteral("fields")).toObject();
    return kOk;
}

// A wish for each field the recipe names, or the exit code of one that cannot be (said on err).
int CollectWishes(TfrmEnterData& editor, const QJsonObject& fields, QTextStream& err,
                  std::vector<Wish>& wishes) {
    FormModel& form = editor.form();
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        Field* f = form.find(it.key());
        if (!f) {
            err << "zalctl: " << QCoreApplication::translate("Cli", "kein Feld %1").arg(it.key()) << Qt::endl;
            return kUsage;
        }
        Wish w;
        QString problem;
        if (!MakeWish(*f, it.value(), editor.locale(), w, problem)) {
            err << "zalctl: "
                << QCoreApplication::translate("Cli", "%1; nichts wurde gespeichert").arg(problem)
                << Qt::endl;
            return kFailed;
        }
        if (const QString why = ShowsOnly(*f); w.field && !why.isEmpty() && !Granted(w)) {
            err << "zalctl: " << QCoreApplication::translate("Cli", "%1; nichts wurde gespeichert").arg(why)
                << Qt::endl;
            return kFailed;
        }
        if (w.field)
            wishes.push_back(w);
    }
    return kOk;
}

// Applies the wishes as one step; what it changed, as diff lists it: field, caption, before, after.
QStringList ApplyWishes(TfrmEnterData& editor, std::vector<Wish>& wishes, bool force) {
    FormModel& form = editor.form();
    // A field may become changeable only once another is set (a check box that enables it), so the
    // wishes are gone through until nothing more changes. A field that already shows what is wished
    // is left alone: an unchanged value is no change, whatever the field's state.
    // (A few passes at most: two fields that undo each other must not keep it going.)
    // The whole recipe is one step, as one action in the window would be: what it changed is listed.
    const size_t stepsBefore = form.undoCount();
    {
        const FormModel::UserAction recipeStep(form);
        for (int pass = 0, progress = 1; progress && pass < 4; ++pass) {
            progress = 0;
            for (Wish& w : wishes) {
                if (Granted(w) || (!force && (!w.field->enabled || !w.field->visible)))
                    continue;
                w.forced = w.forced || !w.field->enabled || !w.field->visible;
                Apply(form, w);
                progress |= Granted(w) ? 1 : 0;
            }
        }
        // Only what stayed as asked is saved; a field forced open that this product does not keep
        // shows as it will once saved.
        if (std::any_of(wishes.begin(), wishes.end(), [](const Wish& w) { return w.forced; }))
            SettleThroughImage(editor);
    }
    // As diff lists them: field, caption, before, after. Written out now: saving starts a new history,
    // and the step goes with it.
    QStringList changed;
    if (form.undoCount() > stepsBefore) {
        for (const FieldDifference& d : StepChanges(form, *form.lastStep()))
            changed << d.a->name() + u'\t' + FieldCaption(*d.a) + u'\t' + ShownValue(*d.a) + u'\t' +
                           ShownValue(*d.b);
    }
    return changed;
}

// Whether every wish was granted; each that was not is said on err.
bool EveryWishGranted(const std::vector<Wish>& wishes, QTextStream& err) {
    bool stayed = true;
    for (const Wish& w : wishes) {
        if (Granted(w))
            continue;
        stayed = false;
        const Field& f = *w.field;
        err << "zalctl: "
            << (!f.enabled || !f.visible
                    ? QCoreApplication::translate("Cli", "%1 kann bei diesem Produkt und dieser Version "
                                                         "nicht geändert werden; es enthält \"%2\"")
                    : QCoreApplication::translate(
                          "Cli", "%1 hat den verlangten Wert nicht angenommen; es enthält \"%2\""))
                   .arg(f.name(), ShownValue(f))
            << Qt::endl;
    }
    return stayed;
}

} // namespace

int RunApply(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (!o.error.isEmpty() || o.positional.size() != 2) {
        PrintCommandUsage(err, "apply", {}, o.error);
        return kUsage;
    }
    if (SaveNameRefused(err, o, "apply"))
        return kUsage;
    QJsonObject fields;
    if (const int refused = ReadRecipe(o.positional[1], err, fields); refused != kOk)
        return refused;
    Session s = MakeSession(err, o);
    if (!Open(s, o.positional[0])) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 wurde nicht geöffnet").arg(o.positional[0]) << Qt::endl;
        return kFailed;
    }
    std::vector<Wish> wishes;
    if (const int refused = CollectWishes(*s.editor, fields, err, wishes); refused != kOk)
        return refused;
    const QStringList changed = ApplyWishes(*s.editor, wishes, o.force);
    if (!EveryWishGranted(wishes, err)) {
        err << "zalctl: " << QCoreApplication::translate("Cli", "nichts wurde gespeichert") << Qt::endl;
        return kFailed;
    }
    const bool saved = o.output.isEmpty() ? static_cast<bool>(s.editor->FileSave())
                                          : static_cast<bool>(SaveAs(s, o.output, err));
    if (!saved)
        return kFailed;
    // On standard output the configuration is all there is.
    if (o.output == QLatin1String("-"))
        return kOk;
    for (const QString& line : changed)
        out << line << '\n';
    out << QCoreApplication::translate("Cli", "%n Felder wie im Rezept; gespeichert: %1", nullptr,
                                       int(wishes.size()))
               .arg(s.editor->fileName())
        << '\n';
    return kOk;
}

} // namespace zal::cli
