// What the other windows ask of the main window, without knowing it: the main window is
// one implementation, a test's fake another.
#pragma once

#include <QRect>
#include <QString>

namespace tavi {

class MainHub {
public:
    virtual ~MainHub() = default;
    // The ten training commands; the two "Edit vocabulary file" commands alone.
    virtual void set_vocbuttons(bool enabled) = 0;
    virtual void setEditEnabled(bool enabled) = 0;
    // The status line under the buttons.
    virtual void setStatus(const QString& text) = 0;
    virtual void showMain() = 0;
    virtual void minimiseMain() = 0;
    // Where the main window stands with its frame; empty while it is not shown.
    virtual QRect mainFrame() const = 0;
    // How much wider the frame is than the window inside it.
    virtual int frameWidth() const = 0;
};

// The hub of this run; nullptr while there is none.
MainHub* mainHub();
// Makes hub the hub of this run, as long as the returned value of the previous one is
// not put back (setMainHub(previous)).
MainHub* setMainHub(MainHub* hub);

} // namespace tavi
