// Keeps a window's controls in proportion when the window is resized. The first
// ScaleControls (or ReInitialize) records the window's inner size and every control's
// position and size; each later ScaleControls sets them to the recorded values times the
// ratio of the new inner size to the recorded one. A control's "tag" property can limit
// which measures follow: "@" followed by any of T (top), H (height), L (left), W (width),
// in either case; a control without a tag, or with one not beginning with "@", follows
// in all four; "@" alone keeps it where it is. Font sizes are never scaled.
//
// The controls are the window's widget descendants that carry an objectName, in
// creation order, except:
//   - those named "qt_..." (Qt's own parts of composite widgets, e.g. scroll-area
//     viewports and spin-box editors); the unnamed inner editors of composite widgets
//     such as UnicodeTextBox are left out by having no name;
//   - those whose parent places them with a Qt layout, which owns their geometry;
//   - separate windows (dialogs, popups) that have the window as parent.
// Hidden controls are recorded like visible ones. A LineWidget is recorded and scaled by
// its end points. Timers and other objects that are not widgets have no geometry and
// are never recorded.
#pragma once

#include "ui/scale_arithmetic.h"

#include <QPointer>
#include <QWidget>
#include <vector>

namespace tavi {

class clsFormResize {
public:
    QWidget* SourceForm() const { return FormRef; }
    // Takes no snapshot: the first ScaleControls does, once the window has its layout.
    void SourceForm(QWidget* form) { FormRef = form; }

    // The first call takes the snapshot and changes nothing; later calls scale from it.
    // Does nothing while the window is minimised or when a recorded side is 0.
    void ScaleControls();
    // Sets the window's outer size to percent per cent of its screen, rounded down.
    void SizeFormToScreen(qint16 percent);
    // Takes a new snapshot at once, e.g. after code moved controls.
    void ReInitialize();

private:
    struct ControlRecord {
        QPointer<QWidget> control;
        Measures recorded;
    };
    void takeSnapshot();

    QPointer<QWidget> FormRef;
    qint32 OrigWidth = 0;
    qint32 OrigHeight = 0;
    std::vector<ControlRecord> ControlRecords;
    bool NeedsSnapshot = true;
};

// Whether the scaler treats widget as one of form's controls (see above).
bool isScaledControl(const QWidget* form, const QWidget* widget);

} // namespace tavi
