#pragma once

#include "editor/FixedCodeWindows.h"

#include <QDialog>
#include <QLineEdit>

#include <vector>

class QPushButton;

namespace zal::gui {

// The windows of the fixed radio ID code change, over the logic in radio/.
class ChangeFixedDialog : public QDialog {
public:
    ChangeFixedDialog(TfrmChangeFixed& window, QWidget* parent = nullptr);
    QLineEdit* newField(int row) const { return newEdits_[static_cast<size_t>(row)]; }
    QPushButton* writeButton() const { return write_; }

private:
    void refresh();

    TfrmChangeFixed& window_;
    std::vector<QLineEdit*> newEdits_;
    QPushButton* write_;
};

class ChangeFixedPlusDialog : public QDialog {
public:
    ChangeFixedPlusDialog(TfrmChangeFixedPlus& window, QWidget* parent = nullptr);
    QLineEdit* newField(int row) const { return newEdits_[static_cast<size_t>(row)]; }
    QPushButton* writeButton() const { return write_; }

private:
    void refresh();

    TfrmChangeFixedPlus& window_;
    std::vector<QLineEdit*> newEdits_;
    QPushButton* write_;
};

} // namespace zal::gui
