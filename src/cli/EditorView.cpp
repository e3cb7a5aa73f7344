#include "EditorView.h"

#include "StandardStreams.h"
#include "form/FormLayout.h"
#include "shell/StringTable.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

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

QString Printable(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0))
            shown += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

bool SettleThroughImage(TfrmEnterData& editor) {
    if (editor.CollectFields())
        return false;
    editor.FillFields();
    return true;
}

QString ShowsOnly(const Field& field) {
    if (!IsInformationOnly(*field.decl))
        return QString();
    return QCoreApplication::translate("Cli", "%1 zeigt nur, was Datei oder Gerät halten, und kann nicht "
                                              "geändert werden")
        .arg(field.name());
}

QString JsonTime(const QDateTime& time) {
    if (!time.isValid())
        return QString();
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

void PrintJsonDocument(QTextStream& out, QTextStream& err, QJsonObject document, bool failed) {
    if (failed)
        document.insert(QStringLiteral("error"), ErrorJson(err, 1));
    out << QJsonDocument(document).toJson(QJsonDocument::Indented);
    out.flush();
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
    QString page, group;
    for (const Field* f : ShownFields(editor.form())) {
        if (PageCaption(*f) != page) {
            page = PageCaption(*f);
            out << '\n' << "== " << page << " ==\n";
            group.clear();
        }
        if (GroupCaption(*f) != group) {
            group = GroupCaption(*f);
            out << "-- " << group << " --\n";
        }
        out << "  " << FieldCaption(*f) << ": " << ShownValue(*f);
        if (f->decl->unitCaptionId)
            out << ' ' << Str(f->decl->unitCaptionId);
        if (!f->enabled)
            out << "  " << QCoreApplication::translate("Cli", "(gesperrt)");
        out << '\n';
    }
    out.flush();
}

QJsonArray ChangesJson(const std::vector<DifferenceRow>& rows, const char* mineKey, const char* otherKey) {
    QJsonArray list;
    for (const DifferenceRow& r : rows)
        list.append(QJsonObject{{QStringLiteral("field"), r.name},
                                {QStringLiteral("page"), r.page},
                                {QStringLiteral("group"), r.group},
                                {QStringLiteral("caption"), r.caption},
                                {QLatin1String(mineKey), r.mine},
                                {QLatin1String(otherKey), r.other}});
    return list;
}

} // namespace zal::cli
