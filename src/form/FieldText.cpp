#include "FieldText.h"

#include "shell/StringTable.h"

#include <algorithm>
#include <cstring>

namespace zal {
namespace {

const GroupDecl* GroupOf(const Field& field) {
    for (const GroupDecl& g : FormGroups()) {
        if (std::strcmp(g.name, field.decl->group) == 0)
            return &g;
    }
    return nullptr;
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

QString PageCaption(const Field& field) {
    const GroupDecl* g = GroupOf(field);
    return g ? Str(FormPages()[static_cast<size_t>(g->page)].captionId) : QString();
}

QString GroupCaption(const Field& field) {
    const GroupDecl* g = GroupOf(field);
    return g ? Str(g->captionId) : QString();
}

std::vector<const Field*> ShownFields(const FormModel& form) {
    std::vector<const Field*> shown;
    const int pages = static_cast<int>(FormPages().size());
    for (int page = 0; page < pages; ++page) {
        for (const GroupDecl& group : FormGroups()) {
            if (group.page != page)
                continue;
            const size_t first = shown.size();
            for (const Field& f : form.fields()) {
                if (std::strcmp(f.decl->group, group.name) == 0 && f.visible && f.kind() != FieldKind::Button)
                    shown.push_back(&f);
            }
            std::stable_sort(shown.begin() + static_cast<std::ptrdiff_t>(first), shown.end(),
                             [](const Field* a, const Field* b) {
                                 return std::pair(a->decl->row, a->decl->column) <
                                        std::pair(b->decl->row, b->decl->column);
                             });
        }
    }
    return shown;
}

std::vector<FieldDifference> DiffForms(const FormModel& a, const FormModel& b) {
    std::vector<FieldDifference> differences;
    // Both forms are built from the one declaration, so a field stands at the same place in both.
    const Field* const firstA = a.fields().data();
    for (const Field* fa : ShownFields(a)) {
        const Field& fb = b.fields()[static_cast<size_t>(fa - firstA)];
        if (ShownValue(*fa) != ShownValue(fb))
            differences.push_back({fa, &fb});
    }
    return differences;
}

std::vector<FieldDifference> StepChanges(const FormModel& form, const FormModel::Step& step) {
    std::vector<FieldDifference> changes;
    const Field* const first = form.fields().data();
    for (const Field* f : ShownFields(form)) {
        const auto at = static_cast<size_t>(f - first);
        if (at < step.before.size() && at < step.after.size() &&
            ShownValue(step.before[at]) != ShownValue(step.after[at]))
            changes.push_back({&step.before[at], &step.after[at]});
    }
    return changes;
}

} // namespace zal
