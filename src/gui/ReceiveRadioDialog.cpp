#include "ReceiveRadioDialog.h"

#include "editor/EnterData.h"
#include "shell/StringTable.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace zal::gui {
namespace {

// A hand-held transmitter, drawn: the window's picture.
QPixmap TransmitterPicture() {
    QPixmap pixmap(112, 160);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(60, 70, 90));
    p.drawRoundedRect(20, 10, 72, 140, 18, 18);
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(36, 60, 40, 40);
    p.setBrush(QColor(120, 220, 120));
    p.drawEllipse(52, 24, 8, 8);
    return pixmap;
}

} // namespace

ReceiveRadioDialog::ReceiveRadioDialog(TfrmEnterData& editor, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Receive radio code"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* box = new QGroupBox(Str(10634), this);
    auto* picture = new QLabel(box);
    picture->setPixmap(TransmitterPicture());
    auto* action = new QLabel(editor.learnActionText(), box);
    action->setAlignment(Qt::AlignCenter);
    action->setWordWrap(true);
    auto* note = new QLabel(Str(10616), box);
    note->setWordWrap(true);
    auto* abort = new QPushButton(Str(10637), box);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
    auto* text = new QVBoxLayout;
    text->addWidget(action);
    text->addWidget(note);
    text->addWidget(abort, 0, Qt::AlignRight);
    auto* row = new QHBoxLayout(box);
    row->addWidget(picture);
    row->addLayout(text, 1);
    (new QVBoxLayout(this))->addWidget(box);

    timer_ = new QTimer(this);
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, [this, &editor] {
        if (editor.LearnPoll())
            accept();
    });
    timer_->start();
}

} // namespace zal::gui
