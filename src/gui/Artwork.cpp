#include "Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

// The pictures are compiled into the GUI library; a static library's resources must be registered.
static void RegisterArtwork() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(artwork);
        return true;
    }();
    (void)registered;
}

namespace zal::gui {

QPixmap Artwork(const QString& name, QSize size, qreal devicePixelRatio) {
    RegisterArtwork();
    QSvgRenderer renderer(QStringLiteral(":/artwork/%1.svg").arg(name));
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(Artwork(QStringLiteral("icon"), QSize(side, side), 1.0));
    return icon;
}

} // namespace zal::gui
