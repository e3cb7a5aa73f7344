// The windows that show two images side by side, field by field: a write's preview and a comparison.

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
