// The arithmetic of proportional form scaling: which measures a control's tag lets
// follow the window, the ratios of the window's new size to the recorded one, and the
// measures that result. clsFormResize applies them to the widgets.
#pragma once

#include <QSize>
#include <QString>
#include <optional>

namespace tavi {

// Which of a control's four measures follow the window.
struct ScaleMarker {
    bool top = false;
    bool height = false;
    bool left = false;
    bool width = false;
    friend bool operator==(const ScaleMarker&, const ScaleMarker&) = default;
};

// The marker of a tag text: upper-cased; a tag that is empty or does not begin with
// "@" stands for "@T,H,L,W". Each of T, H, L, W anywhere in it switches on one measure.
ScaleMarker scaleMarker(const QString& tag);

// The four recorded measures of a control, in pixels: Left, Top, Width, Height, or for
// a line X1, Y1, X2, Y2 in the same slots (X1 goes with Left, Y1 with Top, X2 with
// Width, Y2 with Height).
struct Measures {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Measures&, const Measures&) = default;
};

struct ScaleRatios {
    double width = 1.0;
    double height = 1.0;
};

// The current inner size over the recorded one; nullopt when a recorded side is 0 (or
// less), which would leave nothing sensible to scale from.
std::optional<ScaleRatios> scaleRatios(QSize recorded, QSize current);

// The measures a control gets: those its marker names are the recorded ones times their
// ratio, rounded to whole pixels; the others stay as they are now. Always computed from
// the recorded values, so that many resizes never add up rounding.
Measures scaledMeasures(const Measures& recorded, const Measures& current, ScaleMarker marker,
                        ScaleRatios ratios);

// The outer size of a window that covers percent per cent of the screen in each
// direction, rounded down. An empty size for a percentage of 0 or less.
QSize formSizeForScreen(int percent, QSize screen);

} // namespace tavi
