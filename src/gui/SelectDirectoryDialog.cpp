#include "SelectDirectoryDialog.h"

#include "shell/FileSystem.h"
#include "shell/StringTable.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace zal::gui {

SelectDirectoryDialog::SelectDirectoryDialog(const QString& folder, QWidget* parent) : QDialog(parent) {
    setWindowTitle(Str(10151));
    auto* box = new QGroupBox(Str(10152), this);
    // A product name stays whole on its line: its hyphen does not break.
    auto* info = new QLabel(Str(10153).replace(QStringLiteral("K-ORBA"), QStringLiteral("K\u2011ORBA")), box);
    info->setWordWrap(true);
    edit_ = new QLineEdit(WithoutTrailingSeparator(folder), box);
    edit_->setMinimumWidth(417);
    auto* browse = new QPushButton(Str(10154), box);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString start = QFileInfo(edit_->text()).isDir() ? edit_->text() : QString();
        const QString chosen = QFileDialog::getExistingDirectory(this, Str(10155), start);
        if (!chosen.isEmpty())
            edit_->setText(WithoutTrailingSeparator(chosen));
    });
    auto* row = new QHBoxLayout;
    row->addWidget(edit_, 1);
    row->addWidget(browse);
    auto* inner = new QVBoxLayout(box);
    inner->addWidget(info);
    inner->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QCoreApplication::translate("Window", "&Abbruch"));
    // A folder that does not exist would only make every later file dialog start somewhere else.
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (QFileInfo(this->folder()).isDir()) {
            accept();
            return;
        }
        QMessageBox::warning(
            this, Str(10151),
            QCoreApplication::translate("Window", "Den Ordner „%1“ gibt es nicht. Bitte wählen Sie einen "
                                                  "vorhandenen Ordner.")
                .arg(this->folder()));
        edit_->setFocus();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(buttons);
}

QString SelectDirectoryDialog::folder() const {
    return WithoutTrailingSeparator(edit_->text());
}

} // namespace zal::gui
