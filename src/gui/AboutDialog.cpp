#include "AboutDialog.h"

#include "Artwork.h"

#include "device/KbxInterface.h"
#include "shell/AppFolders.h"
#include "shell/StringTable.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace zal::gui {

AboutDialog::AboutDialog(KbxTransportFactory factory, KbxClock& clock, QWidget* parent) : QDialog(parent) {
    setWindowTitle(Str(10701));
    auto* picture = new QLabel(this);
    picture->setPixmap(Artwork(QStringLiteral("about"), QSize(125, 125), devicePixelRatioF()));
    picture->setFrameShape(QFrame::Panel);
    picture->setFrameShadow(QFrame::Sunken);

    auto* box = new QGroupBox(this);
    auto* lines = new QVBoxLayout(box);
    lines->addWidget(new QLabel(Str(10703), box));
    lines->addWidget(new QLabel(QStringLiteral("Version: ") + ProgramVersionText(), box));
    lines->addWidget(new QLabel(QStringLiteral("Vesk Electronics AB"), box));
    kbxLine_ = new QLabel(box);
    lines->addWidget(kbxLine_);

    // The KBX alone is asked, without a device handshake; no answer leaves the line empty.
    TKbxInterface kbx(std::move(factory), clock);
    kbx.Open();
    QString info;
    if (kbx.ReadInfo(info) == kbxOk)
        kbxLine_->setText(StrF(10705, {info}));
    kbx.Close();

    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(picture);
    row->addWidget(box, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(ok);
}

} // namespace zal::gui
