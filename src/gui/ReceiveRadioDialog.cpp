#include "ReceiveRadioDialog.h"

#include "Artwork.h"

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

ReceiveRadioDialog::ReceiveRadioDialog(TfrmEnterData& editor, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Receive radio code"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* box = new QGroupBox(Str(10634), this);
    auto* picture = new QLabel(box);
    picture->setPixmap(Artwork(QStringLiteral("transmitter"), QSize(112, 160), devicePixelRatioF()));
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
        switch (editor.LearnPoll()) {
        case TfrmEnterData::LearnState::Received:
            accept();
            break;
        case TfrmEnterData::LearnState::LineLost:
            reject(); // Finish says why
            break;
        case TfrmEnterData::LearnState::Waiting:
            break;
        }
    });
    timer_->start();
}

} // namespace zal::gui
