// The floating word window: a small cyan box without border or caption that rides in
// the caption bar of the window the user works in, stays above every window and never
// takes the focus, so that typing elsewhere is never interrupted.
#pragma once

#include "brainwash/brain_scheduler.h"

#include <QWidget>

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

private:
    UnicodeTextBox* lbl_lsg = nullptr;
    BrainScheduler::Box m_shown;
};

} // namespace tavi
