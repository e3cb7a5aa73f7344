#include "DevicesDialog.h"

#include "RecordsDialogs.h"
#include "config/ImageLayout.h"
#include "radio/DeviceIdentity.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
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

// The devices as a table: only the rows on screen are turned into text, so 5,000 devices list as fast
// as 50. Typing narrows it to the matching rows.
class DevicesDialog::DeviceList : public QAbstractTableModel {
public:
    DeviceList(RecordsDatabase& records, QObject* parent) : QAbstractTableModel(parent), records_(records) {}

    void setDevices(std::vector<DeviceRecord> devices) {
        beginResetModel();
        devices_ = std::move(devices);
        shown_.resize(devices_.size());
        for (size_t i = 0; i < shown_.size(); ++i)
            shown_[i] = i;
        endResetModel();
    }
    void narrow(const QString& typed) {
        beginResetModel();
        shown_.clear();
        for (size_t i = 0; i < devices_.size(); ++i) {
            const DeviceIdentity& d = devices_[i].device;
            if (typed.isEmpty() || SameSerial(d.serial, typed) ||
                d.serial.contains(typed, Qt::CaseInsensitive) ||
                d.shownSerial.contains(typed, Qt::CaseInsensitive) ||
                d.radioId.contains(typed, Qt::CaseInsensitive))
                shown_.push_back(i);
        }
        endResetModel();
        resort();
    }
    const DeviceRecord& at(int row) const { return devices_[shown_[static_cast<size_t>(row)]]; }
    // The row of a device, or -1 when it is not shown.
    int rowOf(const QString& deviceKey) const {
        for (size_t row = 0; row < shown_.size(); ++row) {
            if (devices_[shown_[row]].device.deviceKey() == deviceKey)
                return static_cast<int>(row);
        }
        return -1;
    }

    // By a column: serial numbers as numbers (a shorter one first), times as times, the counts as counts.
    void sort(int column, Qt::SortOrder order) override {
        sortColumn_ = column;
        sortOrder_ = order;
        emit layoutAboutToBeChanged();
        const QModelIndexList before = persistentIndexList();
        std::vector<size_t> rowsBefore = shown_;
        const auto key = [this, column](size_t i) -> std::pair<QString, qint64> {
            DeviceRecord& d = devices_[i];
            switch (column) {
            case 1:
                return {d.device.version, 0};
            case 2:
                return {SerialKey(d.device.serial).rightJustified(12, u'0'), 0};
            case 3:
                return {d.device.radioId, 0};
            case 4:
                return {QString(), d.lastSeen.toMSecsSinceEpoch()};
            case 5:
                return {d.station, 0};
            case 6:
                if (d.backups < 0)
                    d.backups = records_.BackupCount(d.device).value_or(0);
                return {QString(), d.backups};
            case 7:
                return {d.codes, 0};
            default:
                return {d.device.productName, 0};
            }
        };
        std::stable_sort(shown_.begin(), shown_.end(), [&](size_t a, size_t b) {
            return order == Qt::AscendingOrder ? key(a) < key(b) : key(b) < key(a);
        });
        QModelIndexList after;
        for (const QModelIndex& index : before) {
            const size_t device = rowsBefore[static_cast<size_t>(index.row())];
            const auto row = std::find(shown_.begin(), shown_.end(), device) - shown_.begin();
            after << this->index(static_cast<int>(row), index.column());
        }
        changePersistentIndexList(before, after);
        emit layoutChanged();
    }
    void resort() {
        if (sortColumn_ >= 0)
            sort(sortColumn_, sortOrder_);
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(shown_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 8; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        DeviceRecord& d = devices_[shown_[static_cast<size_t>(index.row())]];
        const QString format = QCoreApplication::translate("Window", "dd.MM.yyyy HH:mm:ss");
        if (role == Qt::ToolTipRole && index.column() == 0 && !d.replacedBy.isEmpty())
            return QCoreApplication::translate("Window", "ersetzt durch %1 am %2")
                .arg(d.replacedBy, d.replaced.toLocalTime().toString(format));
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
        case 0: {
            const QString product =
                QCoreApplication::translate("Radio", d.device.productName.toUtf8().constData());
            // A replaced device says so in its row, where the eye goes down the list.
            return d.replacedBy.isEmpty() ? product
                                          : QCoreApplication::translate("Window", "%1 (ersetzt durch %2)")
                                                .arg(product, d.replacedBy);
        }
        case 1:
            return d.device.version;
        case 2:
            return d.device.serial;
        case 3:
            return d.device.radioId;
        case 4:
            return d.lastSeen.toLocalTime().toString(format);
        case 5:
            return d.station;
        case 6:
            // Counted when first shown: one indexed look-up a row instead of a pass over every backup.
            if (d.backups < 0)
                d.backups = records_.BackupCount(d.device).value_or(0);
            return d.backups;
        default:
            return d.codes;
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        switch (section) {
        case 0:
            return QCoreApplication::translate("Window", "Produkt");
        case 1:
            return QStringLiteral("Version");
        case 2:
            return QCoreApplication::translate("Window", "Seriennummer");
        case 3:
            return QCoreApplication::translate("Window", "Funk-ID");
        case 4:
            return QCoreApplication::translate("Window", "Zuletzt gesehen");
        case 5:
            return QStringLiteral("Station");
        case 6:
            return QCoreApplication::translate("Window", "Sicherungen");
        default:
            return QCoreApplication::translate("Window", "Codes");
        }
    }

private:
    RecordsDatabase& records_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    mutable std::vector<DeviceRecord> devices_; // a device's backups are counted once shown
    std::vector<size_t> shown_;                 // indices into devices_, in its order
};

DevicesDialog::DevicesDialog(TfrmEnterData& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setWindowTitle(QCoreApplication::translate("Window", "Geräte"));
    filter_ = new QLineEdit(this);
    filter_->setClearButtonEnabled(true);
    filter_->setMaxLength(20);
    auto* filterLabel =
        new QLabel(QCoreApplication::translate("Window", "Seriennummer oder &Funk-ID:"), this);
    filterLabel->setBuddy(filter_);
    count_ = new QLabel(this);

    records_ = std::make_unique<RecordsDatabase>(
        RecordsDatabase::Location(editor_.folders().dataFolder, editor_.folders().settings()));
    list_ = new DeviceList(*records_, this);
    devices_ = new QTreeView(this);
    devices_->setRootIsDecorated(false);
    devices_->setUniformRowHeights(true);
    devices_->setSelectionMode(QAbstractItemView::SingleSelection);
    devices_->setModel(list_);
    // A click on a column header sorts by it, with the header's indicator; until then, the records' order.
    devices_->header()->setSortIndicatorShown(true);
    devices_->header()->setSortIndicator(-1, Qt::AscendingOrder);
    devices_->setSortingEnabled(true);
    // The columns fit the rows a screen shows first.
    devices_->header()->setResizeContentsPrecision(50);
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

    // The list follows the typing after a short pause, not at every key; Enter goes on to the list.
    FollowTyping(filter_, 150, this, [this] { applyFilter(); });
    connect(filter_, &QLineEdit::returnPressed, devices_, qOverload<>(&QWidget::setFocus));
    connect(devices_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showHistory(); });
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
    list_->setDevices(records_->Devices(false).value_or(std::vector<DeviceRecord>{}));
    if (const QString error = records_->error(); !error.isEmpty())
        QMessageBox::warning(
            this, QCoreApplication::translate("Window", "Geräte"),
            QCoreApplication::translate("Window", "Die Aufzeichnungen können nicht gelesen werden:\n%1")
                .arg(error));
    for (int c = 0; c < list_->columnCount(); ++c)
        devices_->resizeColumnToContents(c);
    applyFilter();
    // Typing a serial number or radio ID narrows the list at once.
    filter_->setFocus();
}

void DevicesDialog::applyFilter() {
    list_->narrow(filter_->text().trimmed());
    count_->setText(QCoreApplication::translate("Window", "Geräte: %1").arg(list_->rowCount()));
    chooseDevice(0);
}

int DevicesDialog::shownDevices() const {
    return list_->rowCount();
}

const DeviceRecord& DevicesDialog::shownDevice(int row) const {
    return list_->at(row);
}

void DevicesDialog::chooseDevice(int row) {
    const QModelIndex target = row >= 0 && row < list_->rowCount() ? list_->index(row, 0) : QModelIndex();
    if (target == devices_->currentIndex())
        showHistory(); // the same row (or none): the history is made again all the same
    else
        devices_->setCurrentIndex(target); // which shows its history
}

void DevicesDialog::showHistory() {
    history_->clear();
    backups_.clear();
    const QModelIndex current = devices_->currentIndex();
    if (current.isValid()) {
        const DeviceRecord& d = list_->at(current.row());
        BackupStore store = editor_.backups();
        // The backups read before each change and the events after each transfer, each against the
        // one before it.
        backups_ = store.History({.deviceKey = d.device.deviceKey()}).value_or(std::vector<BackupEntry>{});
        const QString format = QCoreApplication::translate("Window", "dd.MM.yyyy HH:mm:ss");
        QList<QTreeWidgetItem*> items;
        // Newest first, each against the one before it.
        for (size_t i = backups_.size(); i-- > 0;) {
            const BackupEntry& e = backups_[i];
            auto* top = new QTreeWidgetItem(QStringList{
                e.file.isEmpty() ? QStringLiteral("%1  %2  %3")
                                       .arg(e.time.toString(format), HistoryEventText(e.command), e.station)
                                 : QStringLiteral("%1  %2, %3  %4")
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
    // An event has no file of its own to open or write back: the backups do.
    const BackupEntry* e = selectedBackup();
    const bool chosen = e && !e->file.isEmpty();
    open_->setEnabled(chosen);
    compare_->setEnabled(chosen);
    write_->setEnabled(chosen);
}

QString DevicesDialog::selectedPath() {
    const BackupEntry* e = selectedBackup();
    return e ? BackupFile(editor_, *e, QCoreApplication::translate("Window", "Geräte"), this) : QString();
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
    const QModelIndex current = devices_->currentIndex();
    const QString shown = current.isValid() ? list_->at(current.row()).device.deviceKey() : QString();
    const bool written = WriteBackupIntoDevice(editor_, path, entry, ask, this);
    // The rows and the history follow what the device now holds: its radio ID, when it was last seen,
    // the backup kept before and the event after; the same device stays chosen.
    list_->setDevices(records_->Devices(false).value_or(std::vector<DeviceRecord>{}));
    list_->narrow(filter_->text().trimmed());
    count_->setText(QCoreApplication::translate("Window", "Geräte: %1").arg(list_->rowCount()));
    chooseDevice(std::max(0, list_->rowOf(shown)));
    showHistory();
    return written;
}

} // namespace zal::gui
