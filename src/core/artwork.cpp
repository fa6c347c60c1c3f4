// The seals are committed PNGs compiled into the program: drawing Chinese glyphs at
// start-up would cost more than the whole rest of the main window. The icons are
// simple shapes and are drawn here.
#include "core/artwork.h"

#include <QPainter>

namespace tavi {

namespace {

const QColor kRed(178, 34, 34);
const QColor kInk(45, 45, 60);

QPixmap canvas(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

QPixmap seal(const QString& name)
{
    return QPixmap(QStringLiteral(":/pictures/") + name + QStringLiteral(".png"));
}

QIcon bookIcon()
{
    QPixmap pm = canvas(32);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(250, 246, 235));
    p.drawRect(QRectF(8, 5, 19, 23)); // pages
    p.setBrush(QColor(46, 94, 150));
    p.drawRoundedRect(QRectF(5, 3, 19, 24), 2, 2); // cover
    p.setPen(QPen(QColor(230, 200, 90), 1.5));
    p.drawLine(QPointF(9, 10), QPointF(20, 10));
    p.drawLine(QPointF(9, 14), QPointF(17, 14));
    return QIcon(pm);
}

QIcon cardsIcon()
{
    QPixmap pm = canvas(32);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(255, 236, 179));
    p.save();
    p.translate(16, 16);
    p.rotate(-12);
    p.drawRoundedRect(QRectF(-12, -9, 22, 16), 2, 2);
    p.restore();
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(7, 11, 22, 16), 2, 2);
    p.setPen(QPen(kRed, 2));
    p.drawLine(QPointF(12, 17), QPointF(24, 17));
    p.drawLine(QPointF(18, 14), QPointF(18, 24));
    return QIcon(pm);
}

} // namespace tavi
