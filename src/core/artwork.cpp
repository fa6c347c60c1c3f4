// Drawn with QPainter, so that no picture files need to travel with the program.
#include "core/artwork.h"

#include "core/app_state.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace tavi {

namespace {

const QColor kSealRed(178, 34, 34);
const QColor kInk(45, 45, 60);

QPixmap canvas(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

QPixmap sealPixmap(const QString& characters, int size)
{
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(1, 1, size - 2, size - 2);
    p.setPen(Qt::NoPen);
    p.setBrush(kSealRed);
    p.drawRoundedRect(outer, size * 0.08, size * 0.08);
    // The carved inner border of a seal.
    QPen border(QColor(255, 240, 235), qMax(1.0, size * 0.035));
    p.setPen(border);
    p.setBrush(Qt::NoBrush);
    const qreal inset = size * 0.1;
    p.drawRoundedRect(outer.adjusted(inset, inset, -inset, -inset), size * 0.04, size * 0.04);

    QFont f(ChineseFont.isEmpty() ? QStringLiteral("MS Song") : ChineseFont);
    f.setBold(true);
    const int count = qMax<qsizetype>(1, characters.size());
    f.setPixelSize(static_cast<int>(size * (count == 1 ? 0.55 : 0.36)));
    p.setFont(f);
    p.setPen(QColor(255, 248, 240));
    const QRectF inner = outer.adjusted(inset * 1.4, inset * 1.4, -inset * 1.4, -inset * 1.4);
    if (count == 1) {
        p.drawText(inner, Qt::AlignCenter, characters);
    } else {
        // Two characters read top to bottom, as on a real seal.
        const QRectF top(inner.left(), inner.top(), inner.width(), inner.height() / 2);
        const QRectF bottom(inner.left(), inner.center().y(), inner.width(), inner.height() / 2);
        p.drawText(top, Qt::AlignCenter, characters.left(1));
        p.drawText(bottom, Qt::AlignCenter, characters.mid(1, 1));
    }
    return pm;
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
    p.setPen(QPen(kSealRed, 2));
    p.drawLine(QPointF(12, 17), QPointF(24, 17));
    p.drawLine(QPointF(18, 14), QPointF(18, 24));
    return QIcon(pm);
}

} // namespace tavi
