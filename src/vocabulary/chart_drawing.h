// The look of the progress view's charts: the seals' red and ink on cream paper, with
// light grid lines; the titles and the value axis that every chart draws alike.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;
class QRect;
class QWidget;

namespace tavi::chart {

inline const QColor kSeal(178, 34, 34);
inline const QColor kInk(60, 40, 40);
inline const QColor kGrid(225, 215, 210);
inline const QColor kPaper(255, 252, 246);

// The widget's background becomes the paper.
void usePaper(QWidget* widget);

// The fonts of the charts, made once per widget: a bold title, and small type for
// numbers and labels, both of the widget's family.
QFont titleFont(const QFont& base);
QFont smallFont(const QFont& base);

// A round step for the axis of a chart whose tallest bar is top.
int axisStep(int top);

// Grid lines and their numbers (with suffix, such as " %") left of area, from 0 up to a
// round value at or above top; returns the pixels per unit.
double drawAxis(QPainter& p, const QRect& area, int top, const QFont& small, const QString& suffix = {});

void drawTitle(QPainter& p, const QRect& r, const QString& text, const QFont& title);

} // namespace tavi::chart
