#include "MainWindow.h"

#include "EnterDataWindow.h"
#include "config/Products.h"
#include "editor/EnterData.h"
#include "shell/StringTable.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zal::gui {
namespace {

// The product picture: any picture of the size serves.
QPixmap ProductPicture() {
    QPixmap pixmap(369, 369);
    QPainter p(&pixmap);
    QLinearGradient sky(0, 0, 0, 369);
    sky.setColorAt(0, QColor(0, 70, 140));
    sky.setColorAt(1, QColor(120, 170, 220));
    p.fillRect(pixmap.rect(), sky);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    for (int r = 40; r <= 160; r += 40)
        p.drawArc(QRect(184 - r, 200 - r, 2 * r, 2 * r), 30 * 16, 120 * 16);
    p.setBrush(Qt::white);
    p.drawRoundedRect(164, 200, 40, 90, 8, 8);
    return pixmap;
}

} // namespace

MainWindow::MainWindow(TfrmEnterData& editor, EnterDataWindow& editorWindow)
    : editor_(editor), editorWindow_(editorWindow) {
    setWindowTitle(Str(10703));
    setFixedSize(778, 426);
    auto* picture = new QLabel(this);
    picture->setPixmap(ProductPicture());
    picture->setFixedSize(369, 369);
    picture->setScaledContents(true);

    auto* panel = new QWidget(this);
    auto* text = new QVBoxLayout(panel);
    auto* welcome = new QLabel(Str(10001), panel);
    welcome->setWordWrap(true);
    QFont big = welcome->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    welcome->setFont(big);
    auto* pleaseSelect = new QLabel(Str(10002), panel);
    pleaseSelect->setWordWrap(true);
    text->addWidget(welcome);
    text->addWidget(pleaseSelect);
    auto* buttons = new QGridLayout;
    // The buttons stand in this order, top to bottom and in tab order.
    const int order[] = {kBora, kZal, kMuve, kMuvePlus, kMuvePlus2, kDorf};
    for (int row = 0; row < 6; ++row) {
        const ProductInfo* info = FindProduct(order[row]);
        auto* button = new QPushButton(QString::fromUtf8(info->buttonCaption), panel);
        button->setObjectName(QStringLiteral("btnSelect_%1").arg(info->code));
        button->setFixedSize(97, 33);
        auto* label = new QLabel(Str(info->infoTextId), panel);
        label->setWordWrap(true);
        buttons->addWidget(button, row, 0);
        buttons->addWidget(label, row, 1);
        const int product = info->code;
        connect(button, &QPushButton::clicked, this, [this, product] { select(product); });
    }
    text->addLayout(buttons);
    text->addStretch(1);

    auto* exit = new QPushButton(Str(10638), this);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    auto* right = new QVBoxLayout;
    right->addWidget(panel, 1);
    right->addWidget(exit, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addLayout(right, 1);
}

QPushButton* MainWindow::productButton(int product) const {
    return findChild<QPushButton*>(QStringLiteral("btnSelect_%1").arg(product));
}

void MainWindow::select(int product) {
    hide();
    editor_.SelectProduct(product);
    editorWindow_.exec();
    editor_.ResetOnClose();
    show();
}

} // namespace zal::gui
