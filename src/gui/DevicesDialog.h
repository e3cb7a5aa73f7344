#pragma once

#include "editor/EnterData.h"
#include "records/RecordsDatabase.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zal::gui {

// "Geräte": every device the records know, found by typing a serial number or radio ID; beside it the
// chosen device's history, each backup with the fields that changed since the one before. A backup
// can be opened in the editor, compared with it, or written back into the device.
class DevicesDialog : public QDialog {
public:
    DevicesDialog(TfrmEnterData& editor, QWidget* parent = nullptr);

    QLineEdit* filter() const { return filter_; }
    QTreeWidget* devices() const { return devices_; }
    QTreeWidget* history() const { return history_; }
    // Narrows the list to what is typed now (at once rather than after the pause while typing).
    void refresh() { applyFilter(); }
    // The backup chosen in the history (or the one a change row belongs to); nullptr with none.
    const BackupEntry* selectedBackup() const;
    bool openSelected();
    bool compareSelected();
    bool writeSelected(bool ask = true);

private:
    void applyFilter();
    void showHistory();
    // The fields a backup changed since the one before it, under its row.
    void showChanges(QTreeWidgetItem* backup);
    void updateButtons();
    // A file holding the chosen backup; empty (after saying so) when there is none.
    QString selectedPath();

    TfrmEnterData& editor_;
    std::vector<DeviceRecord> records_;
    std::vector<BackupEntry> backups_; // the chosen device's, oldest first; each item holds its index
    QLineEdit* filter_;
    QLabel* count_;
    QTreeWidget* devices_;
    QTreeWidget* history_;
    QPushButton *open_, *compare_, *write_;
};

} // namespace zal::gui
