// A straight line drawn between two end points given in its parent's coordinates. The
// widget covers just the line's bounding box and lets clicks through to what lies below.
#pragma once

#include <QColor>
#include <QWidget>

namespace tavi {

class LineWidget : public QWidget {
    Q_OBJECT
public:
    explicit LineWidget(QWidget* parent = nullptr);

    int x1() const { return m_x1; }
    int y1() const { return m_y1; }
    int x2() const { return m_x2; }
    int y2() const { return m_y2; }
    // Moves the end points and with them the widget.
    void setLine(int x1, int y1, int x2, int y2);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_x1 = 0;
    int m_y1 = 0;
    int m_x2 = 0;
    int m_y2 = 0;
    QColor m_color{150, 150, 150};
};

} // namespace tavi
