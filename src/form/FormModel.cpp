#include "FormModel.h"

#include <algorithm>

#include <stdexcept>

namespace zal {

FormModel::FormModel() {
    const std::vector<FieldDecl>& decls = FormFields();
    fields_.reserve(decls.size());
    for (const FieldDecl& decl : decls) {
        Field f;
        f.decl = &decl;
        f.visible = !decl.hidden;
        byName_.insert(f.name(), static_cast<int>(fields_.size()));
        fields_.push_back(std::move(f));
    }
}

Field* FormModel::find(const QString& name) {
    const auto it = byName_.constFind(name);
    return it == byName_.constEnd() ? nullptr : &fields_[static_cast<size_t>(*it)];
}

const Field* FormModel::find(const QString& name) const {
    return const_cast<FormModel*>(this)->find(name);
}

Field& FormModel::field(const QString& name) {
    Field* f = find(name);
    if (!f)
        throw std::logic_error("no editor field " + name.toStdString());
    return *f;
}

void FormModel::notify(const Field& f, FieldChange change) {
    for (const Observer& observer : observers_)
        observer(f, change);
}

void FormModel::Run(const QHash<QString, Handler>& handlers, Field& f) {
    const auto it = handlers.constFind(f.name());
    if (it != handlers.constEnd() && *it)
        (*it)(f);
}

void FormModel::setText(Field& f, const QString& text) {
    if (f.text == text)
        return;
    f.text = text;
    notify(f, FieldChange::Text);
    Run(textHandlers_, f);
}

void FormModel::setChecked(Field& f, bool checked) {
    if (f.checked == checked)
        return;
    f.checked = checked;
    notify(f, FieldChange::Checked);
    Run(clickHandlers_, f);
}

void FormModel::setItems(Field& f, ValueList list) {
    f.list = std::move(list);
    f.index = -1;
    notify(f, FieldChange::Items);
}

void FormModel::setIndex(Field& f, int index) {
    if (index < -1 || index >= f.list.items.size())
        index = -1;
    if (f.index == index)
        return;
    f.index = index;
    notify(f, FieldChange::Index);
}

void FormModel::setEnabled(Field& f, bool enabled) {
    if (f.enabled == enabled)
        return;
    f.enabled = enabled;
    notify(f, FieldChange::Enabled);
}

void FormModel::setVisible(Field& f, bool visible) {
    if (f.visible == visible)
        return;
    f.visible = visible;
    notify(f, FieldChange::Visible);
}

void FormModel::setMark(Field& f, int mark) {
    if (f.mark == mark)
        return;
    f.mark = mark;
    notify(f, FieldChange::Mark);
}

void FormModel::setMaxLength(Field& f, int maxLength) {
    if (f.maxLength == maxLength)
        return;
    f.maxLength = maxLength;
    notify(f, FieldChange::MaxLength);
}

std::vector<FieldState> FormModel::states() const {
    std::vector<FieldState> out;
    out.reserve(fields_.size());
    for (const Field& f : fields_)
        out.push_back({f.enabled, f.visible, f.mark, f.maxLength});
    return out;
}

void FormModel::restoreStates(const std::vector<FieldState>& states) {
    for (size_t i = 0; i < fields_.size() && i < states.size(); ++i) {
        Field& f = fields_[i];
        setEnabled(f, states[i].enabled);
        setVisible(f, states[i].visible);
        setMark(f, states[i].mark);
        setMaxLength(f, states[i].maxLength);
    }
}

namespace {

bool SameField(const Field& a, const Field& b) {
    return a.text == b.text && a.index == b.index && a.checked == b.checked && a.enabled == b.enabled &&
           a.visible == b.visible && a.mark == b.mark && a.maxLength == b.maxLength &&
           a.list.items == b.list.items && a.list.values == b.list.values;
}

} // namespace

bool FormModel::SameContent(const std::vector<Field>& a, const std::vector<Field>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameField);
}

void FormModel::restore(const std::vector<Field>& snapshot) {
    for (size_t i = 0; i < fields_.size() && i < snapshot.size(); ++i) {
        Field& f = fields_[i];
        const Field& r = snapshot[i];
        if (SameField(f, r))
            continue;
        const auto take = [&](auto Field::*member, FieldChange change) {
            if (!(f.*member == r.*member)) {
                f.*member = r.*member;
                notify(f, change);
            }
        };
        if (f.list.items != r.list.items || f.list.values != r.list.values) {
            f.list = r.list;
            notify(f, FieldChange::Items);
        }
        take(&Field::index, FieldChange::Index);
        take(&Field::text, FieldChange::Text);
        take(&Field::checked, FieldChange::Checked);
        take(&Field::enabled, FieldChange::Enabled);
        take(&Field::visible, FieldChange::Visible);
        take(&Field::mark, FieldChange::Mark);
        take(&Field::maxLength, FieldChange::MaxLength);
    }
}

bool FormModel::filterKey(Field& f, QChar& key) {
    const auto filter = keyFilters_.constFind(f.name());
    return filter == keyFilters_.constEnd() || !*filter || (*filter)(f, key);
}

bool FormModel::typeKey(Field& f, QChar typed) {
    QChar key = typed;
    if (!filterKey(f, key))
        return false;
    if (key == QChar(8)) {
        if (!f.text.isEmpty())
            setText(f, f.text.left(f.text.size() - 1));
        return true;
    }
    if (key.unicode() < 0x20) // the clipboard keys pass the filters but type nothing here
        return true;
    if (f.maxLength > 0 && f.text.size() >= f.maxLength)
        return true;
    setText(f, f.text + key);
    return true;
}

void FormModel::replaceText(Field& f, const QString& text) {
    setText(f, f.maxLength > 0 ? text.left(f.maxLength) : text);
}

void FormModel::selectIndex(Field& f, int index) {
    setIndex(f, index);
    Run(selectHandlers_, f);
}

void FormModel::click(Field& f) {
    setChecked(f, !f.checked);
}

void FormModel::leave(Field& f) {
    Run(exitHandlers_, f);
}

} // namespace zal
