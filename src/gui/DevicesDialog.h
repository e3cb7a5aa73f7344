#pragma once

#include "editor/EnterData.h"
#include "records/RecordsDatabase.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
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
    // The devices listed, as many as the typing leaves; row by row in the list's order.
    QTreeView* devices() const { return devices_; }
    int shownDevices() const;
    const DeviceRecord& shownDevice(int row) const;
    // Chooses a listed device: its history is shown.
    void chooseDevice(int row);
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
    class DeviceList;
    std::unique_ptr<RecordsDatabase> records_; // held open: the list counts a device's backups as shown
    DeviceList* list_;
    std::vector<BackupEntry> backups_; // the chosen device's, oldest first; each item holds its index
    QLineEdit* filter_;
    QLabel* count_;
    QTreeView* devices_;
    QTreeWidget* history_;
    QPushButton *open_, *compare_, *write_;
};

} // namespace zal::gui
