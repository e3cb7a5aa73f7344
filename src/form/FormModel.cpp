#include "FormModel.h"

#include <algorithm>
#include <utility>

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
    const UserAction action(*this, f.name());
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
    const UserAction action(*this, f.name());
    setText(f, f.maxLength > 0 ? text.left(f.maxLength) : text);
}

void FormModel::selectIndex(Field& f, int index) {
    const UserAction action(*this);
    setIndex(f, index);
    Run(selectHandlers_, f);
}

void FormModel::click(Field& f) {
    const UserAction action(*this);
    setChecked(f, !f.checked);
}

void FormModel::leave(Field& f) {
    const UserAction action(*this, f.name());
    leaving_ = f.name(); // what the action holding this changes still joins the typing; then it ends
    Run(exitHandlers_, f);
}

void FormModel::openUserAction(const QString& typingIn) {
    if (actionDepth_++ > 0)
        return;
    actionBefore_ = fields_;
    actionTyping_ = typingIn;
}

void FormModel::closeUserAction() {
    if (actionDepth_ == 0 || --actionDepth_ > 0)
        return;
    std::vector<Field> before = std::move(actionBefore_);
    actionBefore_.clear();
    const QString typing = std::exchange(actionTyping_, QString());
    const bool left = !typing.isEmpty() && std::exchange(leaving_, QString()) == typing;
    leaving_.clear();
    if (std::exchange(restartAtClose_, false)) {
        startHistory();
        return;
    }
    if (SameContent(before, fields_)) {
        if (left)
            typingOpen_.clear();
        historyChanged(); // undo and redo are possible again
        return;
    }
    const long count = static_cast<long>(undo_.size());
    // Another keystroke into the field being typed in, or leaving it: the step it is growing takes it,
    // unless that step is where the base lies.
    if (!typing.isEmpty() && typing == typingOpen_ && !undo_.empty() && undo_.back().typing == typing &&
        redo_.empty() && base_ != count) {
        undo_.back().after = fields_;
    } else {
        if (base_ > count) // the base lay in what was undone
            base_ = -1;
        redo_.clear();
        undo_.push_back({std::move(before), fields_, typing});
        if (undo_.size() > kUndoLimit) {
            undo_.erase(undo_.begin());
            base_ = base_ > 0 ? base_ - 1 : -1;
        }
    }
    typingOpen_ = left ? QString() : typing; // once the field is left, the next change is a step of its own
    historyChanged();
}

bool FormModel::undo() {
    return travel(undo_, redo_, &Step::before);
}

bool FormModel::redo() {
    return travel(redo_, undo_, &Step::after);
}

bool FormModel::travel(std::vector<Step>& from, std::vector<Step>& to, std::vector<Field> Step::*state) {
    if (actionDepth_ > 0 || from.empty())
        return false;
    Step step = std::move(from.back());
    from.pop_back();
    restore(step.*state);
    to.push_back(std::move(step));
    typingOpen_.clear();
    historyChanged();
    return true;
}

void FormModel::startHistory() {
    if (actionDepth_ > 0) {
        restartAtClose_ = true;
        return;
    }
    undo_.clear();
    redo_.clear();
    base_ = 0;
    typingOpen_.clear();
    historyChanged();
}

void FormModel::historyChanged() {
    for (const auto& heard : historyObservers_)
        heard();
}

} // namespace zal
