// The charts' shared drawing.
#include "vocabulary/chart_drawing.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace tavi::chart {

void usePaper(QWidget* widget)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, kPaper);
    widget->setPalette(pal);
}

QFont titleFont(const QFont& base)
{
    QFont f = base;
    f.setPointSize(11);
    f.setBold(true);
    return f;
}

QFont smallFont(const QFont& base)
{
    return QFont(base.family(), 8);
}

int axisStep(int top)
{
    for (int step : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000})
        if (top / step <= 5)
            return step;
    return 100000;
}

double drawAxis(QPainter& p, const QRect& area, int top, const QFont& small, const QString& suffix)
{
    const int step = axisStep(std::max(top, 1));
    const int roof = ((std::max(top, 1) + step - 1) / step) * step;
    const double perUnit = area.height() / double(roof);
    p.setFont(small);
    for (int v = 0; v <= roof; v += step) {
        const int y = area.bottom() - int(v * perUnit);
        p.setPen(kGrid);
        p.drawLine(area.left(), y, area.right(), y);
        p.setPen(kInk);
        p.drawText(QRect(area.left() - 48, y - 8, 44, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(v) + suffix);
    }
    return perUnit;
}

void drawTitle(QPainter& p, const QRect& r, const QString& text, const QFont& title)
{
    p.setFont(title);
    p.setPen(kSeal);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
}

} // namespace tavi::chart
