#include "RecordsDialogs.h"

#include "QtDialogs.h"
#include "config/ImageFile.h"
#include "config/Products.h"
#include "report/ConfigReport.h"
#include "report/SupportInformation.h"
#include "shell/FileSystem.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace zal::gui {
namespace {

constexpr int kEntryRole = Qt::UserRole;
// What a column sorts by where its text would sort wrongly: dates as times, serial numbers as numbers.
constexpr int kSortRole = Qt::UserRole + 1;

class SortedItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant mine = data(column, kSortRole), theirs = other.data(column, kSortRole);
        if (mine.isValid() && theirs.isValid())
            return mine.toString() < theirs.toString();
        return QTreeWidgetItem::operator<(other);
    }
};

} // namespace

QString BackupResultText(const QString& result) {
    const std::optional<CommandResult::Kind> kind = ResultKindFromWord(result);
    return kind ? ResultCaption(*kind) : QStringLiteral("?");
}

QString BackupCommandText(const QString& command) {
    if (command == QLatin1String("read"))
        return QCoreApplication::translate("Window", "Lesen");
    if (command == QLatin1String("write"))
        return QCoreApplication::translate("Window", "vor dem Schreiben");
    if (command == QLatin1String("write-default"))
        return QCoreApplication::translate("Window", "vor Standardkonfiguration");
    if (command == QLatin1String("restore"))
        return QCoreApplication::translate("Window", "vor Wiederherstellung");
    return command;
}

QString HistoryEventText(const QString& kind) {
    if (kind == QLatin1String("write"))
        return QCoreApplication::translate("Window", "geschrieben und geprüft");
    if (kind == QLatin1String("restore"))
        return QCoreApplication::translate("Window", "wiederhergestellt und geprüft");
    if (kind == QLatin1String("replacement"))
        return QCoreApplication::translate("Window", "als Ersatz geschrieben und geprüft");
    if (kind == QLatin1String("write-default"))
        return QCoreApplication::translate("Window", "Standardkonfiguration geschrieben und geprüft");
    if (kind == QLatin1String("line"))
        return QCoreApplication::translate("Window", "Fertigungslinie: Festcodes geschrieben und geprüft");
    return kind;
}

void FollowTyping(QLineEdit* field, int pauseMs, QWidget* owner, std::function<void()> follow) {
    auto* pause = new QTimer(owner);
    pause->setSingleShot(true);
    pause->setInterval(pauseMs);
    QObject::connect(field, &QLineEdit::textEdited, pause, qOverload<>(&QTimer::start));
    QObject::connect(pause, &QTimer::timeout, owner, follow);
    QObject::connect(field, &QLineEdit::returnPressed, owner, [pause, follow] {
        pause->stop();
        follow();
    });
}

QString BackupFile(TfrmEnterData& editor, const BackupEntry& entry, const QString& title, QWidget* parent) {
    const QString path = editor.backups().LocalFile(entry);
    if (path.isEmpty())
        QMessageBox::warning(parent, title,
                             QCoreApplication::translate(
                                 "Window", "Die Sicherung %1 ist weder als Datei noch in den Aufzeichnungen "
                                           "vorhanden.")
                                 .arg(entry.file));
    return path;
}

bool WriteBackupIntoDevice(TfrmEnterData& editor, const QString& path, const BackupEntry& entry, bool ask,
                           QWidget* parent) {
    if (ask &&
        QMessageBox::question(
            parent, parent->windowTitle(), // the window it was asked from: "Sicherungen" or "Geräte"
            QCoreApplication::translate("Window", "Die Sicherung von %1 %2 vom %3 in das Gerät schreiben?\n\n"
                                                  "Sie wird dazu im Editor geöffnet.")
                .arg(QCoreApplication::translate("Radio", entry.device.productName.toUtf8().constData()),
                     entry.device.serial,
                     entry.time.toString(QCoreApplication::translate("Window", "dd.MM.yyyy HH:mm:ss")))) !=
            QMessageBox::Yes)
        return false;
    ConfigImage kept{};
    if (!editor.CloseRequested() || !editor.OpenPath(path) || !LoadImageFile(path, kept))
        return false;
    // The backup's own bytes, the fixed radio IDs among them, not what the fields would write.
    return static_cast<bool>(editor.RestoreImage(kept));
}

BackupsDialog::BackupsDialog(TfrmEnterData& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setWindowTitle(QCoreApplication::translate("Window", "Sicherungen"));
    auto* info = new QLabel(
        QCoreApplication::translate("Window", "Jede aus einem Gerät gelesene Konfiguration wird unverändert "
                                              "gesichert, beim Lesen und vor jedem Schreiben."),
        this);
    info->setWordWrap(true);
    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    // A click on a column header sorts by it; the newest first until then.
    list_->setSortingEnabled(true);
    list_->sortByColumn(0, Qt::DescendingOrder);
    list_->setHeaderLabels(
        {QCoreApplication::translate("Window", "Datum"), QCoreApplication::translate("Window", "Produkt"),
         QStringLiteral("Version"), QCoreApplication::translate("Window", "Seriennummer"),
         QCoreApplication::translate("Window", "Funk-ID"), QCoreApplication::translate("Window", "Anlass"),
         QCoreApplication::translate("Window", "Ergebnis"), QStringLiteral("Station")});
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformRowHeights(true);
    // The columns fit the rows a screen shows first; measuring all thousand would take longer than
    // listing them.
    list_->header()->setResizeContentsPrecision(100);
    serial_ = new QLineEdit(this);
    serial_->setClearButtonEnabled(true);
    serial_->setMaxLength(20);
    auto* serialLabel = new QLabel(QCoreApplication::translate("Window", "&Seriennummer:"), this);
    serialLabel->setBuddy(serial_);
    more_ = new QLabel(this);
    more_->setVisible(false);
    // The list follows the typing after a short pause, not at every key.
    FollowTyping(serial_, 250, this, [this] { fill(); });
    beforeWrite_ =
        new QCheckBox(QCoreApplication::translate(
                          "Window", "Vor jedem Schreiben si&chern (liest das Gerät einmal ganz aus)"),
                      this);
    beforeWrite_->setChecked(editor_.backups().policy().beforeWrite);
    connect(beforeWrite_, &QCheckBox::toggled, this,
            [this](bool on) { StoreBackupBeforeWrite(editor_.folders().settingsFile, on); });
    preview_ = new QCheckBox(
        QCoreApplication::translate(
            "Window", "Vor jedem Schreiben die Änderungen &zeigen (für die Fertigung abschalten)"),
        this);
    preview_->setChecked(editor_.backups().policy().previewWrite);
    connect(preview_, &QCheckBox::toggled, this,
            [this](bool on) { StoreWritePreview(editor_.folders().settingsFile, on); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    open_ = buttons->addButton(QCoreApplication::translate("Window", "Im &Editor öffnen"),
                               QDialogButtonBox::ActionRole);
    write_ = buttons->addButton(QCoreApplication::translate("Window", "In &Gerät schreiben..."),
                                QDialogButtonBox::ActionRole);
    auto* folder = buttons->addButton(QCoreApplication::translate("Window", "&Ordner anzeigen"),
                                      QDialogButtonBox::HelpRole);
    for (QPushButton* b : buttons->findChildren<QPushButton*>())
        b->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(open_, &QPushButton::clicked, this, [this] { openSelected(); });
    connect(write_, &QPushButton::clicked, this, [this] { writeSelected(); });
    folder->setToolTip(editor_.backups().folder());
    connect(folder, &QPushButton::clicked, this, [this] {
        const QString path = editor_.backups().folder();
        QDir().mkpath(path);
        // Without a file manager nothing would open: then the technician at least learns the path.
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            QMessageBox::information(this, QCoreApplication::translate("Window", "Sicherungen"),
                                     QCoreApplication::translate(
                                         "Window", "Es ist kein Dateimanager eingerichtet. Die Sicherungen "
                                                   "liegen in:\n%1")
                                         .arg(QDir::toNativeSeparators(path)));
    });
    // Enter or a double click opens the backup, as a file dialog opens a file.
    connect(list_, &QTreeWidget::itemActivated, this, [this] { openSelected(); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
        open_->setEnabled(list_->currentItem());
        write_->setEnabled(list_->currentItem());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    auto* search = new QHBoxLayout;
    search->addWidget(serialLabel);
    search->addWidget(serial_);
    search->addWidget(more_, 1);
    layout->addLayout(search);
    layout->addWidget(list_, 1);
    layout->addWidget(beforeWrite_);
    layout->addWidget(preview_);
    layout->addWidget(buttons);
    resize(820, 420);
    fill();
    // Typing a serial number narrows the list at once.
    serial_->setFocus();
}

void BackupsDialog::fill() {
    list_->clear();
    BackupStore store = editor_.backups();
    // A station's records hold many thousands over the years: the newest, and one more to know that
    // there are older ones.
    const Result<std::vector<BackupEntry>> listed =
        store.List({.serial = serial_->text(), .newest = kListed + 1});
    entries_ = listed.value_or(std::vector<BackupEntry>{});
    const bool older = entries_.size() > kListed;
    if (older)
        entries_.erase(entries_.begin());
    more_->setText(
        !older ? QString()
        : serial_->text().isEmpty()
            ? QCoreApplication::translate("Window", "Die neuesten %1; eine Seriennummer findet auch ältere.")
                  .arg(kListed)
            : QCoreApplication::translate("Window", "Die neuesten %1.").arg(kListed));
    more_->setVisible(older);
    if (!listed)
        QMessageBox::warning(
            this, QCoreApplication::translate("Window", "Sicherungen"),
            QCoreApplication::translate("Window", "Die Aufzeichnungen können nicht gelesen werden:\n%1")
                .arg(listed.error()));
    // Made apart and added at once: a list of a thousand rows then lays itself out once.
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(entries_.size()));
    const QString format = QCoreApplication::translate("Window", "dd.MM.yyyy HH:mm:ss");
    for (size_t i = entries_.size(); i-- > 0;) {
        const BackupEntry& e = entries_[i];
        auto* item = new SortedItem(
            QStringList{e.time.toString(format),
                        QCoreApplication::translate("Radio", e.device.productName.toUtf8().constData()),
                        e.device.version, e.device.serial, e.device.radioId, BackupCommandText(e.command),
                        BackupResultText(e.result), e.station});
        item->setData(0, kEntryRole, static_cast<qulonglong>(i));
        item->setData(0, kSortRole,
                      QStringLiteral("%1").arg(e.time.toMSecsSinceEpoch(), 15, 10, QChar(u'0')));
        item->setData(3, kSortRole, SerialKey(e.device.serial).rightJustified(12, u'0'));
        item->setToolTip(0, e.file);
        items.append(item);
    }
    list_->addTopLevelItems(items);
    for (int c = 0; c < list_->columnCount(); ++c)
        list_->resizeColumnToContents(c);
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    open_->setEnabled(list_->currentItem());
    write_->setEnabled(list_->currentItem());
}

QString BackupsDialog::selectedPath() {
    const QTreeWidgetItem* item = list_->currentItem();
    if (!item)
        return {};
    const size_t i = item->data(0, kEntryRole).toULongLong();
    if (i >= entries_.size())
        return {};
    return BackupFile(editor_, entries_[i], QCoreApplication::translate("Window", "Sicherungen"), this);
}

bool BackupsDialog::openSelected() {
    const QString path = selectedPath();
    if (path.isEmpty() || !editor_.CloseRequested())
        return false;
    if (!editor_.OpenPath(path))
        return false;
    accept();
    return true;
}

bool BackupsDialog::writeSelected(bool ask) {
    const QString path = selectedPath();
    if (path.isEmpty())
        return false;
    const bool written = WriteBackupIntoDevice(
        editor_, path, entries_[list_->currentItem()->data(0, kEntryRole).toULongLong()], ask, this);
    fill(); // the write may have kept the device's image first
    return written;
}

} // namespace zal::gui
