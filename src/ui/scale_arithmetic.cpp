// Scaling arithmetic. Pixels are whole numbers, so every scaled measure is rounded to
// the nearest one here, once, from the recorded value.
#include "ui/scale_arithmetic.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tavi {

namespace {

int scaled(int recorded, double ratio)
{
    const double value = std::round(recorded * ratio);
    // A window resized to absurd sizes must not overflow a widget's coordinates.
    constexpr double limit = std::numeric_limits<int>::max() / 2;
    return static_cast<int>(qBound(-limit, value, limit));
}

} // namespace

ScaleMarker scaleMarker(const QString& tag)
{
    QString marker = tag.toUpper();
    if (!marker.startsWith(u'@'))
        marker = QStringLiteral("@T,H,L,W");
    return {marker.contains(u'T'), marker.contains(u'H'), marker.contains(u'L'), marker.contains(u'W')};
}

std::optional<ScaleRatios> scaleRatios(QSize recorded, QSize current)
{
    if (recorded.width() <= 0 || recorded.height() <= 0)
        return std::nullopt;
    return ScaleRatios{double(current.width()) / recorded.width(),
                       double(current.height()) / recorded.height()};
}

Measures scaledMeasures(const Measures& recorded, const Measures& current, ScaleMarker marker,
                        ScaleRatios ratios)
{
    Measures m = current;
    if (marker.top)
        m.top = scaled(recorded.top, ratios.height);
    if (marker.height)
        m.height = scaled(recorded.height, ratios.height);
    if (marker.left)
        m.left = scaled(recorded.left, ratios.width);
    if (marker.width)
        m.width = scaled(recorded.width, ratios.width);
    return m;
}

QSize formSizeForScreen(int percent, QSize screen)
{
    if (percent <= 0)
        return {};
    // Whole-number arithmetic: p / 100 in floating point would round 29 % of 100 down to 28.
    auto part = [percent](int side) { return static_cast<int>(qint64(percent) * std::max(side, 0) / 100); };
    return {part(screen.width()), part(screen.height())};
}

} // namespace tavi
