// Which of Qt's platforms the program asks for, from the environment it starts in. The
// brainwash needs X11: the window in front and a key grab. On a Wayland session the
// program therefore runs as an X11 client through XWayland, unless the user chose a
// platform with QT_QPA_PLATFORM.
#pragma once

#include <QString>

namespace tavi {

struct DisplayEnvironment {
    QString sessionType;  // XDG_SESSION_TYPE
    QString qpaPlatform;  // QT_QPA_PLATFORM
    bool wayland = false; // WAYLAND_DISPLAY set
    bool x11 = false;     // DISPLAY set (on a Wayland session: XWayland runs)
};

struct DisplayChoice {
    bool display = true;         // false: there is nothing to show windows on
    QString platform;            // for QT_QPA_PLATFORM; empty: Qt's own choice
    QString note;                // what the user should know, for the terminal; empty: nothing
    bool waylandSession = false; // keys are the desktop's to bind, not the program's to grab
};

DisplayChoice chooseDisplayPlatform(const DisplayEnvironment& env);
// A Wayland compositor runs the desktop (the program may still be its X11 client).
bool waylandSession(const DisplayEnvironment& env);
// The environment of this process.
DisplayEnvironment currentDisplayEnvironment();

} // namespace tavi
