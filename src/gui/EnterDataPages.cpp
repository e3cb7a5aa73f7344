// The editor window's pages: built from the form declaration, their groups laid out in columns, every
// field as wide as the widest text any product may put into it, and Tab along the rows.

#include "EnterDataWindow.h"

#include "config/Products.h"
#include "rules/EditorRules.h"
#include "shell/SettingsFile.h"
#include "shell/StringTable.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <tuple>

namespace zal::gui {
namespace {

// Every product and layout version: the fields are sized once for all of them, so that columns keep
// their width when the product changes.
std::vector<std::pair<int, int>> AllVariants() {
    std::vector<std::pair<int, int>> variants;
    for (const ProductInfo& p : Products()) {
        for (const int version : LayoutsOf(p.code))
            variants.emplace_back(p.code, version);
    }
    return variants;
}

// The longest texts the program itself puts into entry fields of each kind.
QString WidestText(const Field& f) {
    const QString name = f.name();
    if (IsInformationOnly(*f.decl))
        return QStringLiteral("888,8 MHz & 888,8 MHz");
    if (name.contains(QLatin1String("Code")) || name == QLatin1String("edtDeviceRadioId"))
        return Str(10639); // the action code of a position that sends on what it received
    return QStringLiteral("888888,8");
}

// A page's columns of groups side by side while they fit the width, the ones that do not below them:
// on a small screen the page then scrolls only down, never sideways. It asks for all of them side by
// side.
class ColumnFlow : public QLayout {
public:
    explicit ColumnFlow(QWidget* parent) : QLayout(parent) {}
    ~ColumnFlow() override {
        while (QLayoutItem* item = takeAt(0))
            delete item;
    }
    void addItem(QLayoutItem* item) override { items_.append(item); }
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override { return items_.value(index); }
    QLayoutItem* takeAt(int index) override {
        return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
    }
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return arrange(QRect(0, 0, width, 0), false); }
    void setGeometry(const QRect& rect) override {
        QLayout::setGeometry(rect);
        arrange(rect, true);
    }
    QSize sizeHint() const override {
        int width = 0, height = 0;
        for (const QLayoutItem* item : items_) {
            width += item->sizeHint().width() + spacing();
            height = std::max(height, item->sizeHint().height());
        }
        const QMargins m = contentsMargins();
        return QSize(width - spacing() + m.left() + m.right(), height + m.top() + m.bottom());
    }
    QSize minimumSize() const override {
        QSize size;
        for (const QLayoutItem* item : items_)
            size = size.expandedTo(item->sizeHint());
        const QMargins m = contentsMargins();
        return size + QSize(m.left() + m.right(), m.top() + m.bottom());
    }

private:
    // Places the columns row by row; the height they take. A column goes to the next row only when it
    // does not fit even at its minimum width; the columns of a row that is a little too narrow for
    // their preferred widths give up the slack they have (the space right of their fields).
    int arrange(const QRect& rect, bool place) const {
        const QRect area = rect.marginsRemoved(contentsMargins());
        int y = area.y();
        for (qsizetype first = 0; first < items_.size();) {
            qsizetype last = first;
            int minimum = items_[first]->minimumSize().width();
            while (last + 1 < items_.size() &&
                   minimum + spacing() + items_[last + 1]->minimumSize().width() <= area.width())
                minimum += spacing() + items_[++last]->minimumSize().width();
            int preferred = -spacing(), slack = 0, rowHeight = 0;
            for (qsizetype i = first; i <= last; ++i) {
                preferred += items_[i]->sizeHint().width() + spacing();
                slack += items_[i]->sizeHint().width() - items_[i]->minimumSize().width();
            }
            const int over = std::max(0, preferred - area.width());
            int x = area.x();
            for (qsizetype i = first; i <= last; ++i) {
                const QSize hint = items_[i]->sizeHint();
                const int own = hint.width() - items_[i]->minimumSize().width();
                const int width = hint.width() - (slack > 0 ? over * own / slack : 0);
                const int height =
                    items_[i]->hasHeightForWidth() ? items_[i]->heightForWidth(width) : hint.height();
                if (place)
                    items_[i]->setGeometry(QRect(x, y, width, height));
                x += width + spacing();
                rowHeight = std::max(rowHeight, height);
            }
            y += rowHeight + spacing();
            first = last + 1;
        }
        return y - spacing() - rect.y() + contentsMargins().bottom();
    }

    QList<QLayoutItem*> items_;
};

// A page scrolls only when the screen is too small for it; otherwise the window asks for its whole size.
class PageArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
};

} // namespace

void EnterDataWindow::buildPages() {
    std::map<std::string, QGridLayout*> grids;
    for (const PageDecl& page : FormPages()) {
        const int pageIndex = static_cast<int>(&page - &FormPages()[0]);
        auto* scroll = new PageArea(tabs_);
        scroll->setFrameShape(QFrame::NoFrame);
        auto* content = new QWidget(scroll);
        auto* columns = new ColumnFlow(content);
        columns->setSpacing(6);
        std::map<int, QVBoxLayout*> stacks;
        for (const GroupDecl& group : FormGroups()) {
            if (group.page != pageIndex)
                continue;
            QVBoxLayout*& stack = stacks[group.pageColumn];
            if (!stack) {
                auto* column = new QWidget(content);
                stack = new QVBoxLayout(column);
                stack->setContentsMargins(0, 0, 0, 0);
                columns->addWidget(column);
            }
            auto* box = new QGroupBox(Str(group.captionId), content);
            box->setObjectName(QLatin1String(group.name));
            auto* grid = new QGridLayout(box);
            grid->setHorizontalSpacing(8);
            for (size_t c = 0; c < group.columnCaptionIds.size(); ++c) {
                auto* header = new QLabel(Str(group.columnCaptionIds[c]), box);
                header->setWordWrap(true);
                grid->addWidget(header, 0, static_cast<int>(c) + 1, Qt::AlignBottom);
            }
            grids[group.name] = grid;
            stack->addWidget(box);
        }
        for (auto& [column, stack] : stacks)
            stack->addStretch(1);
        scroll->setWidget(content);
        scroll->setWidgetResizable(true);
        tabs_->addTab(scroll, Str(page.captionId));
    }
    std::map<std::pair<std::string, int>, bool> rowCaptioned;
    std::map<std::pair<std::string, int>, QHBoxLayout*> cells;
    for (Field& f : editor_.form().fields()) {
        QGridLayout* grid = grids[f.decl->group];
        QWidget* box = grid->parentWidget();
        QWidget* w = makeWidget(f, box);
        const int row = f.decl->row + 1;
        const auto key = std::pair(std::string(f.decl->group), row);
        if (f.decl->rowCaptionId && !rowCaptioned[key] && f.kind() != FieldKind::Check) {
            grid->addWidget(new QLabel(Str(f.decl->rowCaptionId), box), row, 0);
            rowCaptioned[key] = true;
        }
        // Column 0 holds the captions. In a form group a row's field and what belongs to it (unit,
        // unit drop-down, jumper box) share one cell; a grid group has a column per kind of value, and
        // a "..." button stands in its code field's cell.
        const bool formGroup = f.decl->columnCaptionId == 0 && f.kind() != FieldKind::Button;
        const bool learnable =
            QByteArrayView(f.decl->name).startsWith("edtRxCodePos") || f.kind() == FieldKind::Button;
        if (formGroup || learnable) {
            QHBoxLayout*& cell = cells[key];
            if (!cell) {
                cell = new QHBoxLayout;
                cell->setSpacing(6);
                cell->addStretch(1);
                grid->addLayout(cell, row, formGroup ? 1 : f.decl->column + 1);
            }
            cell->insertWidget(cell->count() - 1, w);
            if (f.decl->unitCaptionId)
                cell->insertWidget(cell->count() - 1, new QLabel(Str(f.decl->unitCaptionId), box));
        } else {
            grid->addWidget(w, row, f.decl->column + 1, Qt::AlignLeft);
        }
        if (f.decl->hidden)
            w->hide();
        pageOf_.insert(w, FormGroupPage(f.decl->group));
    }
    // The space left over goes to the right of the fields, not between them.
    for (auto& [name, grid] : grids)
        grid->setColumnStretch(grid->columnCount(), 1);
}

// Fields of one kind in one column get one width: the widest text any product may show in them (the
// value lists of every product and version, the longest texts the program writes), so that nothing is
// cut and the columns keep their place when the product changes.
void EnterDataWindow::sizeFields() {
    FormModel scratch;
    const Settings settings = editor_.folders().settings();
    const QFontMetrics metrics = fontMetrics();
    QHash<QString, int> textWidth; // the lists repeat their items from product to product
    std::map<QString, int> widest; // by field name
    for (const auto& [product, version] : AllVariants()) {
        BuildValueLists(scratch, product, version, settings);
        for (const Field& f : scratch.fields()) {
            if (f.kind() != FieldKind::Combo || !widgets_.contains(f.name()))
                continue;
            int& width = widest[f.name()];
            for (const QString& item : f.list.items) {
                auto known = textWidth.find(item);
                if (known == textWidth.end())
                    known = textWidth.insert(item, metrics.horizontalAdvance(item));
                width = std::max(width, *known);
            }
        }
    }
    std::map<std::pair<std::string, int>, int> columnWidth; // (group, column and kind) -> width
    const auto slot = [](const Field& f) {
        return std::pair(std::string(f.decl->group), f.decl->column * 4 + static_cast<int>(f.kind()));
    };
    std::map<QString, int> needed;
    for (const Field& f : editor_.form().fields()) {
        QWidget* w = widgets_.value(f.name());
        int width = 0;
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QSize text(
                std::max(widest[f.name()], combo->fontMetrics().horizontalAdvance(QStringLiteral("---"))),
                combo->fontMetrics().height());
            width = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, combo).width() + 4;
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            width = edit->fontMetrics().horizontalAdvance(WidestText(f)) +
                    2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 12;
        } else {
            continue;
        }
        needed[f.name()] = width;
        int& column = columnWidth[slot(f)];
        column = std::max(column, width);
    }
    for (const Field& f : editor_.form().fields()) {
        if (needed.count(f.name()))
            widgets_.value(f.name())->setFixedWidth(columnWidth[slot(f)]);
    }
}

// Tab runs along the rows, as a technician reads a page: group by group, row by row, left to right.
void EnterDataWindow::orderTabs() {
    std::vector<std::tuple<int, int, int, int, QWidget*>> order;
    int groupIndex = 0;
    std::map<std::string, int> groupOrder;
    for (const GroupDecl& g : FormGroups())
        groupOrder[g.name] = groupIndex++;
    for (const Field& f : editor_.form().fields()) {
        if (QWidget* w = widgets_.value(f.name()); w && !f.decl->hidden)
            order.emplace_back(FormGroupPage(f.decl->group), groupOrder[f.decl->group], f.decl->row,
                               f.decl->column, w);
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a), std::get<2>(a), std::get<3>(a)) <
               std::tie(std::get<0>(b), std::get<1>(b), std::get<2>(b), std::get<3>(b));
    });
    for (const auto& entry : order)
        tabChain_.push_back(std::get<4>(entry));
    for (int i = 0; i + 1 < tabChain_.size(); ++i)
        QWidget::setTabOrder(tabChain_[i], tabChain_[i + 1]);
}

QWidget* EnterDataWindow::makeWidget(Field& f, QWidget* parent) {
    const QString name = f.name();
    QWidget* w = nullptr;
    switch (f.kind()) {
    case FieldKind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->installEventFilter(this);
        if (IsInformationOnly(*f.decl)) {
            // Read-only, and it looks so: the background of the window, not of a field to type in.
            edit->setReadOnly(true);
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window));
            edit->setPalette(palette);
        }
        connect(edit, &QLineEdit::textEdited, this, [this, name, edit](const QString& text) {
            Field& field = editor_.form().field(name);
            // The maximum length limits what is typed or pasted, never what the program shows.
            if (field.maxLength > 0 && text.size() > field.maxLength && text.size() > field.text.size()) {
                edit->setText(field.text);
                return;
            }
            editor_.form().replaceText(field, text);
        });
        w = edit;
        break;
    }
    case FieldKind::Combo: {
        auto* combo = new QComboBox(parent);
        // The wheel changes a drop-down only when it has the focus: scrolling the page must not.
        combo->setFocusPolicy(Qt::StrongFocus);
        combo->installEventFilter(this);
        // The open list takes the keys for itself: the page keys are caught there too.
        combo->view()->installEventFilter(this);
        popupOf_.insert(combo->view(), combo);
        connect(combo, &QComboBox::activated, this,
                [this, name](int index) { editor_.form().selectIndex(editor_.form().field(name), index); });
        w = combo;
        break;
    }
    case FieldKind::Check: {
        auto* check = new QCheckBox(Str(f.decl->rowCaptionId), parent);
        connect(check, &QCheckBox::clicked, this, [this, name](bool checked) {
            if (Field& field = editor_.form().field(name); field.checked != checked)
                editor_.form().click(field);
        });
        w = check;
        break;
    }
    case FieldKind::Button: {
        auto* button = new QPushButton(QStringLiteral("..."), parent);
        button->setAutoDefault(false);
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
        const int position = name.right(1).toInt();
        connect(button, &QPushButton::clicked, this,
                [this, position] { runCommand([this, position] { learn(position); }); });
        w = button;
        break;
    }
    }
    w->setObjectName(name);
    widgets_.insert(name, w);
    fieldOf_.insert(w, name);
    return w;
}

} // namespace zal::gui
