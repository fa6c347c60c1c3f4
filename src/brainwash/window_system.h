// What the brainwash needs of the window system, behind a hook so that tests can stand
// in for it: the window the user works in, with its frame, and a system-wide hotkey.
#pragma once

#include <QRect>
#include <functional>
#include <optional>

namespace tavi {

class WindowSystem {
public:
    enum class Modifier { Alt, Ctrl, Shift, Win };
    enum class GrabResult {
        Grabbed,
        Taken,       // another program holds that key
        Unavailable, // no window system that offers hotkeys
    };
    struct Foreground {
        quintptr window = 0; // the same kind of id as QWidget::winId()
        QRect frame;         // with the window manager's frame, in root pixels
    };

    virtual ~WindowSystem() = default;

    // False without X11 (the offscreen platform, Wayland without XWayland): nothing is
    // followed and no hotkey can be had.
    virtual bool available() const = 0;
    virtual std::optional<Foreground> foreground() = 0;

    // One hotkey at a time: a grab replaces the previous one. key is a letter A to Z.
    virtual GrabResult grabHotkey(Modifier modifier, QChar key) = 0;
    virtual void ungrabHotkey() = 0;

    // Called on the GUI thread at each press of the grabbed key.
    std::function<void()> onHotkey;
};

// Installs the window system the brainwash uses (not owned); nullptr for none.
void setWindowSystem(WindowSystem* system);
WindowSystem* windowSystem();

} // namespace tavi
