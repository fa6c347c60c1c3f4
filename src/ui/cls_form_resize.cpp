// Proportional form scaling: walks the window's controls once for the snapshot and
// afterwards only the recorded list, so a resize never searches the widget tree.
#include "ui/cls_form_resize.h"

#include "ui/line_widget.h"

#include <QLayout>
#include <QScreen>
#include <algorithm>

namespace tavi {

namespace {

Measures measuresOf(const QWidget* w)
{
    if (const auto* line = qobject_cast<const LineWidget*>(w))
        return {line->x1(), line->y1(), line->x2(), line->y2()};
    const QRect g = w->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}

void apply(QWidget* w, const Measures& m)
{
    if (auto* line = qobject_cast<LineWidget*>(w)) {
        line->setLine(m.left, m.top, m.width, m.height);
        return;
    }
    // Qt refuses negative sizes; a control scaled to nothing simply vanishes.
    w->setGeometry(m.left, m.top, std::max(m.width, 0), std::max(m.height, 0));
}

} // namespace

bool isScaledControl(const QWidget* form, const QWidget* widget)
{
    if (!widget || widget == form || widget->isWindow() || widget->objectName().isEmpty() ||
        widget->objectName().startsWith(QLatin1String("qt_")))
        return false;
    const QWidget* parent = widget->parentWidget();
    if (parent && parent->layout() && parent->layout()->indexOf(widget) >= 0)
        return false;
    // Below a separate window (a dialog owned by the form) it belongs to that window.
    for (; parent && parent != form; parent = parent->parentWidget())
        if (parent->isWindow())
            return false;
    return parent == form;
}

void clsFormResize::takeSnapshot()
{
    ControlRecords.clear();
    OrigWidth = FormRef->width();
    OrigHeight = FormRef->height();
    for (QWidget* w : FormRef->findChildren<QWidget*>()) {
        if (isScaledControl(FormRef, w))
            ControlRecords.push_back({w, measuresOf(w)});
    }
    NeedsSnapshot = false;
}

void clsFormResize::ReInitialize()
{
    if (FormRef)
        takeSnapshot();
}

void clsFormResize::ScaleControls()
{
    if (!FormRef)
        return;
    if (NeedsSnapshot) {
        takeSnapshot();
        return;
    }
    if (FormRef->isMinimized())
        return;
    const auto ratios = scaleRatios({OrigWidth, OrigHeight}, FormRef->size());
    if (!ratios)
        return;
    for (const ControlRecord& r : ControlRecords) {
        if (!r.control)
            continue; // deleted since the snapshot
        const ScaleMarker marker = scaleMarker(r.control->property("tag").toString());
        apply(r.control, scaledMeasures(r.recorded, measuresOf(r.control), marker, *ratios));
    }
}

void clsFormResize::SizeFormToScreen(qint16 percent)
{
    if (!FormRef)
        return;
    const QScreen* screen = FormRef->screen();
    if (!screen)
        return;
    const QSize outer = formSizeForScreen(percent, screen->geometry().size());
    if (outer.isEmpty())
        return;
    // resize() sets the inner size; the frame (known once the window is shown) comes on top.
    const QSize frame = FormRef->frameGeometry().size() - FormRef->geometry().size();
    FormRef->resize(outer - frame);
}

} // namespace tavi
