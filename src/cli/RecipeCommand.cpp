#include "RecipeCommand.h"

#include "CommandTable.h"
#include "EditorView.h"
#include "Session.h"
#include "form/ValueList.h"
#include "shell/FileSystem.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace zal::cli {
namespace {

// What a recipe asks of one field, as the field's own kind of value.
struct Wish {
    Field* field = nullptr;
    QString text;   // entry fields
    int index = -1; // drop-downs
    bool checked = false;
};

bool Granted(const Wish& w) {
    const Field& f = *w.field;
    switch (f.kind()) {
    case FieldKind::Edit:
        return f.text == w.text;
    case FieldKind::Combo:
        return f.index == w.index;
    case FieldKind::Check:
        return f.checked == w.checked;
    case FieldKind::Button:
        return true;
    }
    return true;
}

// The recipe entry as a wish; false when it holds nothing this field takes, or names no item it has.
bool MakeWish(Field& f, const QJsonObject& entry, Wish& w, QString& problem) {
    w.field = &f;
    switch (f.kind()) {
    case FieldKind::Edit:
        if (!entry.contains(QStringLiteral("text")))
            return false;
        w.text = entry.value(QStringLiteral("text")).toString();
        return true;
    case FieldKind::Combo:
        // The stored value is what the image holds; the index and the text depend on the value list.
        // -1 (value or index) is no selection, as show --json writes a drop-down with none.
        if (entry.contains(QStringLiteral("value"))) {
            const int value = entry.value(QStringLiteral("value")).toInt(-1);
            w.index = value < 0 ? -1 : IndexOfValue(f.list.values, value);
            if (value >= 0 && w.index < 0)
                problem = f.name() + QStringLiteral(" has no item of value %1").arg(value);
        } else if (entry.contains(QStringLiteral("index"))) {
            w.index = entry.value(QStringLiteral("index")).toInt(-1);
            if (w.index >= f.list.items.size())
                problem = f.name() + QStringLiteral(" has no item %1").arg(w.index);
        } else if (entry.contains(QStringLiteral("text"))) {
            const QString text = entry.value(QStringLiteral("text")).toString();
            w.index = static_cast<int>(f.list.items.indexOf(text));
            if (w.index < 0 && !text.isEmpty())
                problem = f.name() + QStringLiteral(" has no item \"%1\"").arg(text);
        } else {
            return false;
        }
        return problem.isEmpty();
    case FieldKind::Check:
        if (!entry.contains(QStringLiteral("checked")))
            return false;
        w.checked = entry.value(QStringLiteral("checked")).toBool();
        return true;
    case FieldKind::Button:
        return false;
    }
    return false;
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

int RunApply(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (!o.error.isEmpty() || o.positional.size() != 2) {
        PrintCommandUsage(err, "apply", {}, o.error);
        return kUsage;
    }
    QByteArray bytes;
    QJsonParseError parseError{};
    const QJsonDocument recipe =
        ReadWholeFile(o.positional[1], bytes) ? QJsonDocument::fromJson(bytes, &parseError) : QJsonDocument();
    if (!recipe.isObject() || !recipe.object().value(QStringLiteral("fields")).isObject()) {
        err << "zalctl: " << o.positional[1] << " is no recipe (a JSON object with \"fields\")"
            << (parseError.error ? QStringLiteral(": ") + parseError.errorString() : QString()) << Qt::endl;
        return kUsage;
    }
    Session s = MakeSession(err, o);
    if (!Open(s, o.positional[0])) {
        err << "zalctl: " << o.positional[0] << " was not opened" << Qt::endl;
        return kFailed;
    }
    FormModel& form = s.editor->form();
    std::vector<Wish> wishes;
    const QJsonObject fields = recipe.object().value(QStringLiteral("fields")).toObject();
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        Field* f = form.find(it.key());
        if (!f) {
            err << "zalctl: no field " << it.key() << Qt::endl;
            return kUsage;
        }
        Wish w;
        QString problem;
        if (MakeWish(*f, it.value().toObject(), w, problem))
            wishes.push_back(w);
        else if (!problem.isEmpty()) {
            err << "zalctl: " << problem << Qt::endl;
            return kFailed;
        }
    }
    // A field may become changeable only once another is set (a check box that enables it), so the
    // wishes are gone through until nothing more changes. A field that already shows what is wished
    // is left alone: an unchanged value is no change, whatever the field's state.
    // (A few passes at most: two fields that undo each other must not keep it going.)
    for (int pass = 0, progress = 1; progress && pass < 4; ++pass) {
        progress = 0;
        for (const Wish& w : wishes) {
            if (Granted(w) || (!o.force && (!w.field->enabled || !w.field->visible)))
                continue;
            Apply(form, w);
            progress |= Granted(w) ? 1 : 0;
        }
    }
    // Only what stayed as asked is saved.
    bool stayed = true;
    for (const Wish& w : wishes) {
        if (Granted(w))
            continue;
        stayed = false;
        const Field& f = *w.field;
        err << "zalctl: " << f.name()
            << (!f.enabled || !f.visible ? QStringLiteral(" cannot be changed for this product and version")
                                         : QStringLiteral(" did not take the value asked for"))
            << "; it holds \"" << ShownValue(f) << '"' << Qt::endl;
    }
    if (!stayed) {
        err << "zalctl: nothing was saved" << Qt::endl;
        return kFailed;
    }
    const bool saved =
        o.output.isEmpty() ? static_cast<bool>(s.editor->FileSave()) : static_cast<bool>(SaveAs(s, o.output));
    if (saved)
        out << wishes.size() << " fields as the recipe asks; saved " << s.editor->fileName() << '\n';
    return saved ? kOk : kFailed;
}

} // namespace zal::cli
