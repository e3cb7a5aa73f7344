#pragma once

#include "device/KbxTransport.h"

#include <QDialog>

class QLabel;

namespace zal::gui {

// Names the program, its maker and version, and asks a connected KBX for its information text.
class AboutDialog : public QDialog {
public:
    AboutDialog(KbxTransportFactory factory, KbxClock& clock, QWidget* parent = nullptr);
    QLabel* kbxLine() const { return kbxLine_; }

private:
    QLabel* kbxLine_;
};

} // namespace zal::gui
