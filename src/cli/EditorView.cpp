#include "EditorView.h"

#include "shell/StringTable.h"

#include <QJsonArray>

#include <algorithm>

namespace zal::cli {
namespace {

QString FileStateName(FileState state) {
    switch (state) {
    case fsNew:
        return QStringLiteral("fsNew");
    case fsOpened:
        return QStringLiteral("fsOpened");
    case fsSaved:
        return QStringLiteral("fsSaved");
    case fsFromDevice:
        return QStringLiteral("fsFromDevice");
    }
    return QString();
}

QString KindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Edit:
        return QStringLiteral("edit");
    case FieldKind::Combo:
        return QStringLiteral("combo");
    case FieldKind::Check:
        return QStringLiteral("check");
    case FieldKind::Button:
        return QStringLiteral("button");
    }
    return QString();
}

} // namespace

QString FieldCaption(const Field& field) {
    QString caption = field.decl->rowCaptionId ? Str(field.decl->rowCaptionId) : field.name();
    if (field.decl->columnCaptionId)
        caption += QStringLiteral(" / ") + Str(field.decl->columnCaptionId);
    return caption;
}

QString ShownValue(const Field& field) {
    switch (field.kind()) {
    case FieldKind::Edit:
        return field.text;
    case FieldKind::Combo:
        return field.selectedText();
    case FieldKind::Check:
        return field.checked ? QStringLiteral("[x]") : QStringLiteral("[ ]");
    case FieldKind::Button:
        return QString();
    }
    return QString();
}

QJsonObject EditorJson(const TfrmEnterData& editor, const CliDialogs& dialogs) {
    QJsonObject root;
    root[QStringLiteral("product")] = editor.product();
    root[QStringLiteral("version")] = editor.version();
    root[QStringLiteral("minor")] = editor.minor();
    root[QStringLiteral("fileName")] = editor.fileName();
    root[QStringLiteral("fileState")] = FileStateName(editor.fileState());
    root[QStringLiteral("title")] = editor.title();
    root[QStringLiteral("page")] = editor.page();
    root[QStringLiteral("fault")] = editor.lastFault();

    QJsonArray messages;
    for (const RecordedMessage& m : dialogs.messages())
        messages.append(QJsonObject{{QStringLiteral("kind"), m.kind},
                                    {QStringLiteral("id"), m.id},
                                    {QStringLiteral("text"), m.text}});
    root[QStringLiteral("messages")] = messages;

    QJsonObject menus;
    for (const MenuItem& item : editor.menus())
        menus[QLatin1String(item.name)] =
            QJsonObject{{QStringLiteral("visible"), item.visible}, {QStringLiteral("enabled"), item.enabled}};
    root[QStringLiteral("menus")] = menus;

    QJsonObject fields;
    for (const Field& f : editor.form().fields()) {
        QJsonObject o{{QStringLiteral("kind"), KindName(f.kind())},
                      {QStringLiteral("enabled"), f.enabled},
                      {QStringLiteral("visible"), f.visible},
                      {QStringLiteral("mark"), f.mark}};
        if (f.kind() == FieldKind::Edit) {
            o[QStringLiteral("text")] = f.text;
            o[QStringLiteral("maxLength")] = f.maxLength;
        } else if (f.kind() == FieldKind::Combo) {
            o[QStringLiteral("index")] = f.index;
            o[QStringLiteral("text")] = f.selectedText();
            o[QStringLiteral("value")] = f.value();
            o[QStringLiteral("items")] = QJsonArray::fromStringList(f.list.items);
            QJsonArray values;
            for (int v : f.list.values)
                values.append(v);
            o[QStringLiteral("values")] = values;
        } else if (f.kind() == FieldKind::Check) {
            o[QStringLiteral("checked")] = f.checked;
        }
        fields[f.name()] = o;
    }
    root[QStringLiteral("fields")] = fields;
    return root;
}

void PrintEditor(QTextStream& out, const TfrmEnterData& editor) {
    out << editor.title() << '\n';
    const std::vector<PageDecl>& pages = FormPages();
    for (int page = 0; page < static_cast<int>(pages.size()); ++page) {
        out << '\n' << "== " << Str(pages[static_cast<size_t>(page)].captionId) << " ==\n";
        for (const GroupDecl& group : FormGroups()) {
            if (group.page != page)
                continue;
            out << "-- " << Str(group.captionId) << " --\n";
            std::vector<const Field*> fields;
            for (const Field& f : editor.form().fields()) {
                if (qstrcmp(f.decl->group, group.name) == 0 && f.visible && f.kind() != FieldKind::Button)
                    fields.push_back(&f);
            }
            std::stable_sort(fields.begin(), fields.end(), [](const Field* a, const Field* b) {
                return std::pair(a->decl->row, a->decl->column) < std::pair(b->decl->row, b->decl->column);
            });
            for (const Field* f : fields) {
                out << "  " << FieldCaption(*f) << ": " << ShownValue(*f);
                if (f->decl->unitCaptionId)
                    out << ' ' << Str(f->decl->unitCaptionId);
                if (!f->enabled)
                    out << "  (gesperrt)";
                out << '\n';
            }
        }
    }
    out.flush();
}

} // namespace zal::cli
