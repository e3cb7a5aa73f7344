#include "ChangeFixedDialogs.h"

#include "shell/StringTable.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace zal::gui {
namespace {

// Code keys only, turned into upper case.
class CodeKeys : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->text().size() != 1 || !key->text()[0].isPrint())
            return false;
        QChar typed = key->text()[0];
        if (!FixedCodeKey(typed))
            return true;
        if (typed == key->text()[0])
            return false;
        QKeyEvent upper(QEvent::KeyPress, key->key(), key->modifiers(), QString(typed));
        QCoreApplication::sendEvent(watched, &upper);
        return true;
    }
};

struct Layout {
    QGroupBox* box;
    QGridLayout* grid;
    QPushButton* write;
};

// Rows of captions with the old and the new code, and the two buttons below.
Layout Build(QDialog* dialog, const std::vector<int>& rowCaptions) {
    dialog->setWindowTitle(Str(10801));
    auto* box = new QGroupBox(dialog);
    box->setObjectName(QStringLiteral("rgInfoFromConnectedUnit"));
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(Str(10811), box), 0, 1);
    grid->addWidget(new QLabel(Str(10812), box), 0, 2);
    for (size_t row = 0; row < rowCaptions.size(); ++row)
        grid->addWidget(new QLabel(Str(rowCaptions[row]), box), static_cast<int>(row) + 1, 0);
    auto* write = new QPushButton(Str(10814), dialog);
    auto* abort = new QPushButton(Str(10813), dialog);
    // No default button: Enter in a code field must never write a half-typed code into the device.
    write->setAutoDefault(false);
    abort->setAutoDefault(false);
    QObject::connect(abort, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(write);
    buttons->addWidget(abort);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(box);
    layout->addLayout(buttons);
    return {box, grid, write};
}

// The write changes the device at once: it asks first, naming each code with the one it replaces.
bool ConfirmWrite(QWidget* parent, const QString& changes) {
    QMessageBox box(
        QMessageBox::Question, Str(10801),
        QCoreApplication::translate("Window",
                                    "Diese Funk-ID Codes jetzt in das angeschlossene Gerät schreiben?\n\n") +
            (changes.isEmpty() ? QCoreApplication::translate("Window", "(keine Änderung)") : changes),
        QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QLineEdit* CodeField(QGroupBox* box, QGridLayout* grid, int row, int column, const QString& text,
                     bool enabled) {
    auto* edit = new QLineEdit(text, box);
    edit->setMaxLength(4);
    edit->setEnabled(enabled);
    grid->addWidget(edit, row + 1, column);
    return edit;
}

} // namespace

ChangeFixedDialog::ChangeFixedDialog(TfrmChangeFixed& window, QWidget* parent)
    : QDialog(parent), window_(window) {
    const Layout l = Build(this, {10802, 10803, 10804, 10805, 10806, 10810});
    write_ = l.write;
    auto* keys = new CodeKeys(this);
    for (int row = 0; row < TfrmChangeFixed::kRows; ++row) {
        CodeField(l.box, l.grid, row, 1, window_.oldCodes[static_cast<size_t>(row)], false);
        QLineEdit* edit = CodeField(l.box, l.grid, row, 2, window_.newCodes[static_cast<size_t>(row)], true);
        edit->installEventFilter(keys);
        connect(edit, &QLineEdit::textEdited, this, [this, row](const QString& text) {
            window_.setNew(row, text);
            refresh();
        });
        newEdits_.push_back(edit);
    }
    connect(write_, &QPushButton::clicked, this, [this] {
        if (window_.writeEnabled() && ConfirmWrite(this, window_.changeList()) && window_.WriteToDevice())
            accept();
    });
    refresh();
    newEdits_.front()->setFocus();
}

void ChangeFixedDialog::refresh() {
    for (int row = 0; row < TfrmChangeFixed::kRows; ++row) {
        QLineEdit* edit = newEdits_[static_cast<size_t>(row)];
        if (edit->text() != window_.newCodes[static_cast<size_t>(row)])
            edit->setText(window_.newCodes[static_cast<size_t>(row)]);
    }
    write_->setEnabled(window_.writeEnabled());
}

ChangeFixedPlusDialog::ChangeFixedPlusDialog(TfrmChangeFixedPlus& window, QWidget* parent)
    : QDialog(parent), window_(window) {
    const Layout l = Build(this, {10535, 10802, 10803, 10804, 10805, 10806, 10807, 10808, 10809});
    write_ = l.write;
    auto* keys = new CodeKeys(this);
    for (int row = 0; row < TfrmChangeFixedPlus::kRows; ++row) {
        CodeField(l.box, l.grid, row, 1, window_.oldCodes[static_cast<size_t>(row)], false);
        newEdits_.push_back(
            CodeField(l.box, l.grid, row, 2, window_.newCodes[static_cast<size_t>(row)], row == 0));
    }
    newEdits_.front()->installEventFilter(keys);
    connect(newEdits_.front(), &QLineEdit::textEdited, this, [this](const QString& text) {
        window_.setNew1(text);
        refresh();
    });
    connect(write_, &QPushButton::clicked, this, [this] {
        if (window_.writeEnabled && ConfirmWrite(this, window_.changeList()) && window_.WriteToDevice())
            accept();
    });
    refresh();
}

void ChangeFixedPlusDialog::refresh() {
    for (int row = 1; row < TfrmChangeFixedPlus::kRows; ++row)
        newEdits_[static_cast<size_t>(row)]->setText(window_.newCodes[static_cast<size_t>(row)]);
    write_->setEnabled(window_.writeEnabled);
}

} // namespace zal::gui
