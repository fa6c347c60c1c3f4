// Lines. The widget's geometry follows from the end points, never the other way round,
// so that scaling a line scales its end points and not its box.
#include "ui/line_widget.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace tavi {

LineWidget::LineWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setLine(0, 0, 0, 0);
}

void LineWidget::setLine(int x1, int y1, int x2, int y2)
{
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
    // The box includes both end points: a line from x to x is one pixel wide, not zero.
    setGeometry(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1);
    update();
}

void LineWidget::setColor(const QColor& color)
{
    m_color = color;
    update();
}

void LineWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(m_color, 1));
    const QPoint origin = pos();
    p.drawLine(QPoint(m_x1, m_y1) - origin, QPoint(m_x2, m_y2) - origin);
}

} // namespace tavi
