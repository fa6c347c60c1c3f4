// The floating word window: a small cyan box without border or caption that rides in
// the caption bar of the window the user works in, stays above every window and never
// takes the focus, so that typing elsewhere is never interrupted.
#pragma once

#include "brainwash/brain_scheduler.h"

#include <QWidget>
#include <optional>

namespace tavi {

class UnicodeTextBox;

class FloatWindow : public QWidget {
    Q_OBJECT
public:
    // Client area 1965 x 405 twips; lbl_lsg 1935 x 375 twips from the top left corner.
    static constexpr int WidthTwips = 1965;
    static constexpr int HeightTwips = 405;

    explicit FloatWindow(QWidget* parent = nullptr);

    // Shows what the scheduler's box holds; false when nothing changed.
    bool showBox(const BrainScheduler::Box& box);

    // Keeps the window above all others without moving or activating it.
    void SetTopmost();

    UnicodeTextBox* box() const { return lbl_lsg; }
    // While the user drags the window with the mouse, nothing else moves it.
    bool dragging() const { return m_grip.has_value(); }

Q_SIGNALS:
    // The user dropped the window here (its top left corner, in screen pixels).
    void dragged(const QPoint& where);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    UnicodeTextBox* lbl_lsg = nullptr;
    BrainScheduler::Box m_shown;
    std::optional<QPoint> m_grip; // where the window was taken, in its own pixels
    bool m_moved = false;
};

} // namespace tavi
