#pragma once

#include <QDialog>

class QTimer;

namespace zal {
class TfrmEnterData;
}

namespace zal::gui {

// Waits for a transmitter: polls the KBX every 500 ms and closes with OK when a code arrived, or with
// Abort when the technician gives up.
class ReceiveRadioDialog : public QDialog {
public:
    ReceiveRadioDialog(TfrmEnterData& editor, QWidget* parent = nullptr);
    QTimer* timer() const { return timer_; }

private:
    QTimer* timer_;
};

} // namespace zal::gui
