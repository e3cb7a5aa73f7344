#include "MainWindow.h"

#include "Artwork.h"
#include "EnterDataWindow.h"
#include "config/Products.h"
#include "editor/EnterData.h"
#include "shell/StringTable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace zal::gui {

MainWindow::MainWindow(TfrmEnterData& editor, EnterDataWindow& editorWindow)
    : MainWindow(editor, EditorWindowFactory()) {
    editorWindow_ = &editorWindow;
}

MainWindow::~MainWindow() = default;

EnterDataWindow& MainWindow::editorWindow() {
    if (!editorWindow_) {
        ownEditorWindow_ = makeEditorWindow_();
        editorWindow_ = ownEditorWindow_.get();
    }
    return *editorWindow_;
}

MainWindow::MainWindow(TfrmEnterData& editor, EditorWindowFactory makeEditorWindow)
    : editor_(editor), makeEditorWindow_(std::move(makeEditorWindow)) {
    setWindowTitle(Str(10703));
    setWindowIcon(ApplicationIcon());
    setFixedSize(778, 426);
    auto* picture = new QLabel(this);
    picture->setPixmap(Artwork(QStringLiteral("product"), QSize(369, 369), devicePixelRatioF()));
    picture->setFixedSize(369, 369);

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
    // The buttons stand in the products' order, top to bottom and in tab order.
    std::vector<const ProductInfo*> order;
    for (const ProductInfo& p : Products())
        order.push_back(&p);
    std::sort(order.begin(), order.end(),
              [](const ProductInfo* a, const ProductInfo* b) { return a->buttonOrder < b->buttonOrder; });
    for (int row = 0; row < static_cast<int>(order.size()); ++row) {
        const ProductInfo* info = order[static_cast<size_t>(row)];
        auto* button = new QPushButton(QString::fromUtf8(info->buttonCaption.get()), panel);
        button->setObjectName(QStringLiteral("btnSelect_%1").arg(info->code));
        button->setFixedSize(97, 33);
        auto* label = new QLabel(ProductText(info->infoText), panel);
        label->setWordWrap(true);
        buttons->addWidget(button, row, 0);
        buttons->addWidget(label, row, 1);
        const int product = info->code;
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, product] { select(product); });
    }
    text->addLayout(buttons);
    text->addStretch(1);

    auto* exit = new QPushButton(Str(10638), this);
    exit->installEventFilter(this);
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
    editorWindow().onClosed = [this] { editorClosed(); };
    editorWindow().open();
}

void MainWindow::openFile(const QString& path) {
    if (!editor_.OpenPath(path)) {
        show();
        return;
    }
    hide();
    editorWindow().onClosed = [this] { editorClosed(); };
    editorWindow().open();
}

void MainWindow::editorClosed() {
    editor_.ResetOnClose();
    show();
}

// Enter on a focused button presses it, as Space does.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (auto* button = qobject_cast<QPushButton*>(watched);
            button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    QWidget::showEvent(event);
    if (!editorWindow_)
        QTimer::singleShot(100, this, [this] { editorWindow(); });
}

// "Beenden" and the close box end the program; the editor's window closing does not.
void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::quit();
}

} // namespace zal::gui
