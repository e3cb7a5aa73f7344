#pragma once

#include <QDialog>

class QLineEdit;

namespace zal::gui {

// Chooses the folder where the file dialogs start.
class SelectDirectoryDialog : public QDialog {
public:
    SelectDirectoryDialog(const QString& folder, QWidget* parent = nullptr);
    QString folder() const;

private:
    QLineEdit* edit_;
};

} // namespace zal::gui
