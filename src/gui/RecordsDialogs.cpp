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

namespace {

// Fields page by page and group by group, the two values beside each caption.
QTreeWidget* DifferenceTree(const std::vector<DifferenceRow>& rows, const QStringList& headers,
                            QWidget* parent) {
    auto* tree = new QTreeWidget(parent);
    tree->setHeaderLabels(headers);
    QTreeWidgetItem *page = nullptr, *group = nullptr;
    for (const DifferenceRow& r : rows) {
        if (!page || page->text(0) != r.page) {
            page = new QTreeWidgetItem(tree, {r.page});
            group = nullptr;
        }
        // A byte no field shows stands under no group: directly under its heading.
        if (!r.group.isEmpty() && (!group || group->text(0) != r.group))
            group = new QTreeWidgetItem(page, {r.group});
        const auto shown = [](const QString& value) {
            return value.isEmpty() ? QCoreApplication::translate("Window", "(leer)") : value;
        };
        auto* item =
            new QTreeWidgetItem(r.group.isEmpty() ? page : group, {r.caption, shown(r.mine), shown(r.other)});
        item->setToolTip(0, r.name);
    }
    tree->expandAll();
    for (int column = 0; column < headers.size(); ++column)
        tree->resizeColumnToContents(column);
    return tree;
}

} // namespace

WritePreviewDialog::WritePreviewDialog(const std::vector<DifferenceRow>& rows,
                                       const std::optional<DeviceIdentity>& target, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QCoreApplication::translate("Window", "Vorschau: In Gerät schreiben"));
    // The device behind the KBX, which the write goes into: never the file's.
    const QString device =
        target ? QCoreApplication::translate("Window", "Angeschlossen ist %1 %2, Seriennummer %3.")
                         .arg(QCoreApplication::translate("Radio", target->productName.toUtf8().constData()),
                              target->version, target->shownSerial) +
                     u' '
               : QString();
    auto* summary = new QLabel(
        device + (rows.empty()
                      ? QCoreApplication::translate(
                            "Window", "Keine Änderung: das Gerät hält diese Konfiguration bereits.")
                      : QCoreApplication::translate(
                            "Window", "Das Schreiben ändert %n Werte im Gerät:", nullptr, int(rows.size()))),
        this);
    summary->setWordWrap(true);
    tree_ = DifferenceTree(rows,
                           {QStringLiteral("Parameter"), QCoreApplication::translate("Window", "Im Gerät"),
                            QCoreApplication::translate("Window", "Wird geschrieben")},
                           this);
    tree_->setVisible(!rows.empty());
    auto* buttons = new QDialogButtonBox(this);
    write_ = buttons->addButton(QCoreApplication::translate("Window", "In Gerät &schreiben"),
                                QDialogButtonBox::AcceptRole);
    cancel_ =
        buttons->addButton(QCoreApplication::translate("Window", "&Abbrechen"), QDialogButtonBox::RejectRole);
    // With nothing to change, Enter writes nothing: the write button does not even become the default
    // when it has the focus, and the focus starts on Abbrechen.
    (rows.empty() ? cancel_ : write_)->setDefault(true);
    if (rows.empty()) {
        write_->setAutoDefault(false);
        cancel_->setFocus();
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(tree_, 1);
    layout->addWidget(buttons);
    if (!rows.empty())
        resize(760, 420);
    else // the device and "no change" on one line or two, not folded into a narrow column
        summary->setMinimumWidth(summary->fontMetrics().averageCharWidth() * 60);
}

CompareDialog::CompareDialog(TfrmEnterData& editor, const QString& otherPath,
                             const std::vector<TfrmEnterData::DifferenceRow>& rows, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(
        QCoreApplication::translate("Window", "Vergleich mit %1").arg(QFileInfo(otherPath).fileName()));
    // What the editor holds, as its title names it before the program's name: the file, or the device.
    const QString mine = QCoreApplication::translate("Window", "Editor: %1").arg(editor.titleSubject());
    auto* summary = new QLabel(
        rows.empty() ? QCoreApplication::translate("Window", "Keine Unterschiede.")
                     : QCoreApplication::translate("Window", "%n Unterschiede.", nullptr, int(rows.size())),
        this);
    tree_ = DifferenceTree(rows, {QStringLiteral("Parameter"), mine, QFileInfo(otherPath).fileName()}, this);
    // Each column as wide as its header says: a backup's name is long, and it is the point.
    for (int c = 0; c < tree_->columnCount(); ++c)
        tree_->resizeColumnToContents(c);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* openOther = buttons->addButton(
        QCoreApplication::translate("Window", "Andere Konfiguration öffnen"), QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(openOther, &QPushButton::clicked, this, [this, &editor, otherPath] {
        if (editor.CloseRequested() && editor.OpenPath(otherPath))
            accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(tree_, 1);
    layout->addWidget(buttons);
    resize(760, 480);
}

void CompareWithOther(TfrmEnterData& editor, QWidget* parent) {
    QFileDialog dialog(parent, QCoreApplication::translate("Window", "Vergleichen mit"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDirectory(QFileInfo(editor.folders().defaultConfigFolder).isDir()
                            ? editor.folders().defaultConfigFolder
                            : editor.folders().configFolder);
    dialog.setNameFilters(
        {QCoreApplication::translate("Window", "Konfigurationen (%1)").arg(ConfigurationPatterns()),
         QCoreApplication::translate("Window", "Sicherungen (*.bin)"),
         QCoreApplication::translate("Window", "Alle Dateien (*)")});
    QList<QUrl> places = dialog.sidebarUrls();
    places << QUrl::fromLocalFile(editor.folders().configFolder)
           << QUrl::fromLocalFile(editor.backups().folder());
    dialog.setSidebarUrls(places);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString other = dialog.selectedFiles().first();
    if (const auto rows = editor.CompareWith(other))
        CompareDialog(editor, other, *rows, parent).exec();
}

Result<> ExportReport(TfrmEnterData& editor, const QString& path) {
    const ConfigReport report = BuildReport(editor);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return WriteReportPdf(report, path);
    if (suffix == QLatin1String("csv"))
        return WriteFileAtomically(path, ReportCsv(report));
    return WriteFileAtomically(path, ReportHtml(report).toUtf8());
}

void ShowReport(TfrmEnterData& editor, QWidget* parent) {
    // The report shows what the fields hold now, typed but not yet saved included.
    const ConfigReport report = BuildReport(editor);
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(1200);
    PrepareReportPage(printer);
    printer.setDocName(QCoreApplication::translate("Report", "Konfigurationsbericht"));
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QCoreApplication::translate("Window", "Bericht drucken / exportieren"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&report](QPrinter* p) { PaintReport(report, *p); });
    if (auto* bar = preview.findChild<QToolBar*>()) {
        // What the technician came for stands first, where a narrow screen never hides it behind the
        // toolbar's overflow: print (the toolbar's last action) and export, then the view's own.
        const QList<QAction*> own = bar->actions();
        QAction* first = own.value(0);
        auto* exportAction = new QAction(QCoreApplication::translate("Window", "Exportieren..."), bar);
        exportAction->setObjectName(QStringLiteral("exportReport"));
        if (QAction* print = own.isEmpty() ? nullptr : own.last()) {
            bar->removeAction(print);
            bar->insertAction(first, print);
        }
        bar->insertAction(first, exportAction);
        bar->insertSeparator(first);
        QObject::connect(exportAction, &QAction::triggered, &preview, [&editor, &preview] {
            QString filter = QStringLiteral("PDF (*.pdf)");
            const QString base = QFileInfo(editor.fileName()).completeBaseName();
            const QString path = QFileDialog::getSaveFileName(
                &preview, QCoreApplication::translate("Window", "Bericht exportieren"),
                editor.folders().configFolder +
                    (base.isEmpty() ? QCoreApplication::translate("Window", "Bericht") : base) +
                    QStringLiteral(".pdf"),
                QStringLiteral("PDF (*.pdf);;HTML (*.html);;CSV (*.csv)"), &filter);
            if (path.isEmpty())
                return;
            QString target = path;
            if (QFileInfo(target).suffix().isEmpty())
                target += filter.startsWith(QLatin1String("HTML"))  ? QStringLiteral(".html")
                          : filter.startsWith(QLatin1String("CSV")) ? QStringLiteral(".csv")
                                                                    : QStringLiteral(".pdf");
            if (const Result<> exported = ExportReport(editor, target); !exported)
                QMessageBox::warning(
                    &preview, QCoreApplication::translate("Window", "Bericht exportieren"),
                    QCoreApplication::translate("Window", "%1 kann nicht geschrieben werden: %2")
                        .arg(target, exported.error()));
        });
    }
    preview.exec();
}

void SaveSupportInformation(TfrmEnterData& editor, QWidget* parent) {
    const QString path = QFileDialog::getSaveFileName(
        parent, QCoreApplication::translate("Window", "Supportinformationen speichern"),
        editor.folders().configFolder +
            QStringLiteral("ZAL-Support-%1.zip")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd"))),
        QStringLiteral("ZIP (*.zip)"));
    if (path.isEmpty())
        return;
    editor.setBusy(true);
    const CommandResult saved = SaveSupportBundle(editor, path);
    const QString problem = saved.detail();
    editor.setBusy(false);
    if (saved)
        QMessageBox::information(
            parent, QCoreApplication::translate("Window", "Supportinformationen speichern"),
            QCoreApplication::translate("Window", "Die Supportinformationen wurden in %1 gespeichert.\n"
                                                  "Bitte senden Sie diese Datei an den Service von VESK.")
                .arg(path));
    else
        QMessageBox::warning(
            parent, QCoreApplication::translate("Window", "Supportinformationen speichern"),
            QCoreApplication::translate("Window", "%1 kann nicht geschrieben werden: %2").arg(path, problem));
}

} // namespace zal::gui
