#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace zal::gui {

// The program's pictures, drawn from their SVG at the screen's scale so that they stay crisp on a
// high-density screen: name is one of "product", "about", "transmitter", "icon".
QPixmap Artwork(const QString& name, QSize size, qreal devicePixelRatio);
QIcon ApplicationIcon();

} // namespace zal::gui
