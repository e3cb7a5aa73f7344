#include "DevicesDialog.h"

#include "RecordsDialogs.h"
#include "config/ImageLayout.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zal::gui {
namespace {

constexpr int kIndexRole = Qt::UserRole;

ConfigImage ImageOf(const BackupEntry& e) {
    ConfigImage image{};
    std::copy_n(e.image.constData(), kImageSize, image.begin());
    return image;
}

} // namespace

DevicesDialog::DevicesDialog(TfrmEnterData& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setWindowTitle(QCoreApplication::translate("Window", "Geräte"));
    filter_ = new QLineEdit(this);
    filter_->setClearButtonEnabled(true);
    filter_->setMaxLength(20);
    auto* filterLabel =
        new QLabel(QCoreApplication::translate("Window", "Seriennummer oder &Funk-ID:"), this);
    filterLabel->setBuddy(filter_);
    count_ = new QLabel(this);

    devices_ = new QTreeWidget(this);
    devices_->setRootIsDecorated(false);
    devices_->setUniformRowHeights(true);
    devices_->setSelectionMode(QAbstractItemView::SingleSelection);
    devices_->setHeaderLabels({QCoreApplication::translate("Window", "Produkt"), QStringLiteral("Version"),
                               QCoreApplication::translate("Window", "Seriennummer"),
                               QCoreApplication::translate("Window", "Funk-ID"),
                               QCoreApplication::translate("Window", "Zuletzt gesehen"),
                               QStringLiteral("Station"),
                               QCoreApplication::translate("Window", "Sicherungen"),
                               QCoreApplication::translate("Window", "Codes")});
    devices_->header()->setResizeContentsPrecision(100);
    history_ = new QTreeWidget(this);
    history_->setUniformRowHeights(true);
    history_->setHeaderLabels({QCoreApplication::translate("Window", "Sicherung / Feld"),
                               QCoreApplication::translate("Window", "vorher"),
                               QCoreApplication::translate("Window", "nachher")});

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(devices_);
    split->addWidget(history_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    open_ = buttons->addButton(QCoreApplication::translate("Window", "Im &Editor öffnen"),
                               QDialogButtonBox::ActionRole);
    compare_ = buttons->addButton(QCoreApplication::translate("Window", "Mit dem Editor &vergleichen"),
                                  QDialogButtonBox::ActionRole);
    write_ = buttons->addButton(QCoreApplication::translate("Window", "In &Gerät schreiben..."),
                                QDialogButtonBox::ActionRole);
    for (QPushButton* b : buttons->findChildren<QPushButton*>())
        b->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(open_, &QPushButton::clicked, this, [this] { openSelected(); });
    connect(compare_, &QPushButton::clicked, this, [this] { compareSelected(); });
    connect(write_, &QPushButton::clicked, this, [this] { writeSelected(); });

    // The list follows the typing after a short pause, not at every key.
    auto* pause = new QTimer(this);
    pause->setSingleShot(true);
    pause->setInterval(150);
    connect(filter_, &QLineEdit::textEdited, pause, qOverload<>(&QTimer::start));
    connect(pause, &QTimer::timeout, this, [this] { applyFilter(); });
    connect(filter_, &QLineEdit::returnPressed, this, [this, pause] {
        pause->stop();
        applyFilter();
        devices_->setFocus();
    });
    connect(devices_, &QTreeWidget::currentItemChanged, this, [this] { showHistory(); });
    connect(history_, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    connect(history_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { showChanges(item); });
    // Enter or a double click on a backup opens it, as a file dialog opens a file.
    connect(history_, &QTreeWidget::itemActivated, this, [this] { openSelected(); });

    auto* layout = new QVBoxLayout(this);
    auto* search = new QHBoxLayout;
    search->addWidget(filterLabel);
    search->addWidget(filter_);
    search->addWidget(count_, 1);
    layout->addLayout(search);
    layout->addWidget(split, 1);
    layout->addWidget(buttons);
    resize(900, 600); // fits a 1024x768 screen with its panel
    RecordsDatabase records(
        RecordsDatabase::Location(editor_.folders().dataFolder, editor_.folders().settingsFile));
    records_ = records.Devices().value_or(std::vector<DeviceRecord>{});
    if (!records.error().isEmpty())
        QMessageBox::warning(
            this, QCoreApplication::translate("Window", "Geräte"),
            QCoreApplication::translate("Window", "Die Aufzeichnungen können nicht gelesen werden:\n%1")
                .arg(records.error()));
    // Made apart and added at once: a list of thousands of rows then lays itself out once.
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(records_.size()));
    const QString format = QCoreApplication::translate("Window", "dd.MM.yyyy HH:mm:ss");
    for (size_t i = 0; i < records_.size(); ++i) {
        const DeviceRecord& d = records_[i];
        auto* item = new QTreeWidgetItem(
            QStringList{QCoreApplication::translate("Radio", d.device.productName.toUtf8().constData()),
                        d.device.version, d.device.serial, d.device.radioId, d.lastSeen.toString(format),
                        d.station, QString::number(d.backups), d.codes});
        item->setData(0, kIndexRole, static_cast<qulonglong>(i));
        if (!d.replacedBy.isEmpty())
            item->setToolTip(0, QCoreApplication::translate("Window", "ersetzt durch %1 am %2")
                                    .arg(d.replacedBy, d.replaced.toString(format)));
        items.append(item);
    }
    devices_->addTopLevelItems(items);
    for (int c = 0; c < devices_->columnCount(); ++c)
        devices_->resizeColumnToContents(c);
    applyFilter();
    // Typing a serial number or radio ID narrows the list at once.
    filter_->setFocus();
}

void DevicesDialog::applyFilter() {
    const QString typed = filter_->text().trimmed();
    int shown = 0;
    QTreeWidgetItem* first = nullptr;
    for (int i = 0; i < devices_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = devices_->topLevelItem(i);
        const DeviceRecord& d = records_[item->data(0, kIndexRole).toULongLong()];
        const bool match = typed.isEmpty() || SameSerial(d.device.serial, typed) ||
                           d.device.serial.contains(typed, Qt::CaseInsensitive) ||
                           d.device.shownSerial.contains(typed, Qt::CaseInsensitive) ||
                           d.device.radioId.contains(typed, Qt::CaseInsensitive);
        item->setHidden(!match);
        shown += match;
        if (match && !first)
            first = item;
    }
    count_->setText(QCoreApplication::translate("Window", "Geräte: %1").arg(shown));
    if (!devices_->currentItem() || devices_->currentItem()->isHidden())
        devices_->setCurrentItem(first);
    if (!first)
        showHistory();
}

void DevicesDialog::showHistory() {
    history_->clear();
    backups_.clear();
    const QTreeWidgetItem* item = devices_->currentItem();
    if (item && !item->isHidden()) {
        const DeviceRecord& d = records_[item->data(0, kIndexRole).toULongLong()];
        BackupStore store = editor_.backups();
        backups_ = store.List({.deviceKey = d.device.deviceKey(), .images = true})
                       .value_or(std::vector<BackupEntry>{});
        const QString format = QCoreApplication::translate("Window", "dd.MM.yyyy HH:mm:ss");
        QList<QTreeWidgetItem*> items;
        // Newest first, each against the one before it.
        for (size_t i = backups_.size(); i-- > 0;) {
            const BackupEntry& e = backups_[i];
            auto* top = new QTreeWidgetItem(
                QStringList{QStringLiteral("%1  %2, %3  %4")
                                .arg(e.time.toString(format), BackupCommandText(e.command),
                                     BackupResultText(e.result), e.station)});
            top->setData(0, kIndexRole, static_cast<qulonglong>(i));
            top->setToolTip(0, e.file);
            // What changed is worked out when a backup is opened: a device read every day has a
            // long history, and the window comes up with the newest.
            top->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            items.append(top);
        }
        history_->addTopLevelItems(items);
        if (!items.isEmpty()) {
            items.first()->setExpanded(true);
            history_->setCurrentItem(items.first());
        }
        history_->resizeColumnToContents(0);
    }
    updateButtons();
}

void DevicesDialog::showChanges(QTreeWidgetItem* backup) {
    const size_t i = backup->data(0, kIndexRole).toULongLong();
    if (backup->parent() || backup->childCount() > 0 || i >= backups_.size())
        return;
    backup->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    if (i == 0) {
        new QTreeWidgetItem(backup,
                            {QCoreApplication::translate(
                                "Window", "(die erste Sicherung dieses Geräts in den Aufzeichnungen)")});
        return;
    }
    const BackupEntry &before = backups_[i - 1], &after = backups_[i];
    if (before.image.size() != kImageSize || after.image.size() != kImageSize)
        return;
    const std::vector<DifferenceRow> changes = editor_.ImageChanges(ImageOf(before), ImageOf(after));
    if (changes.empty())
        new QTreeWidgetItem(backup, {QCoreApplication::translate("Window", "(kein Feld geändert)")});
    for (const DifferenceRow& r : changes)
        new QTreeWidgetItem(backup, {r.page + QStringLiteral(" / ") + r.caption, r.mine, r.other});
}

const BackupEntry* DevicesDialog::selectedBackup() const {
    const QTreeWidgetItem* item = history_->currentItem();
    if (item && item->parent())
        item = item->parent();
    if (!item)
        return nullptr;
    const size_t i = item->data(0, kIndexRole).toULongLong();
    return i < backups_.size() ? &backups_[i] : nullptr;
}

void DevicesDialog::updateButtons() {
    const bool chosen = selectedBackup() != nullptr;
    open_->setEnabled(chosen);
    compare_->setEnabled(chosen);
    write_->setEnabled(chosen);
}

QString DevicesDialog::selectedPath() {
    const BackupEntry* e = selectedBackup();
    if (!e)
        return {};
    const QString path = editor_.backups().LocalFile(*e);
    if (path.isEmpty())
        QMessageBox::warning(
            this, QCoreApplication::translate("Window", "Geräte"),
            QCoreApplication::translate(
                "Window", "Die Sicherung %1 ist weder als Datei noch in den Aufzeichnungen vorhanden.")
                .arg(e->file));
    return path;
}

bool DevicesDialog::openSelected() {
    const QString path = selectedPath();
    if (path.isEmpty() || !editor_.CloseRequested() || !editor_.OpenPath(path))
        return false;
    accept();
    return true;
}

bool DevicesDialog::compareSelected() {
    const QString path = selectedPath();
    if (path.isEmpty())
        return false;
    const std::optional<std::vector<DifferenceRow>> rows = editor_.CompareWith(path);
    if (!rows)
        return false;
    CompareDialog(editor_, path, *rows, this).exec();
    return true;
}

bool DevicesDialog::writeSelected(bool ask) {
    const BackupEntry* e = selectedBackup();
    const QString path = selectedPath();
    if (!e || path.isEmpty())
        return false;
    const BackupEntry entry = *e; // the history is listed again below
    const bool written = WriteBackupIntoDevice(editor_, path, entry, ask, this);
    showHistory(); // the write may have kept the device's image first
    return written;
}

} // namespace zal::gui
