#include "core/display_platform.h"

#include <QtGlobal>

namespace tavi {

DisplayChoice chooseDisplayPlatform(const DisplayEnvironment& env)
{
    DisplayChoice choice;
    choice.waylandSession = waylandSession(env);
    if (!env.qpaPlatform.isEmpty())
        return choice; // the user's own choice always wins
    if (!env.wayland && !env.x11) {
        choice.display = false;
        return choice;
    }
    if (choice.waylandSession && env.x11)
        choice.platform = QStringLiteral("xcb");
    else if (choice.waylandSession)
        choice.note = QStringLiteral("tavi: this Wayland session has no XWayland (DISPLAY is not set): the "
                                     "brainwash words cannot follow the window in front, and they are hidden "
                                     "and shown only by a desktop shortcut or tavi --toggle-brainwash.");
    return choice;
}

bool waylandSession(const DisplayEnvironment& env)
{
    return env.sessionType.compare(u"wayland", Qt::CaseInsensitive) == 0 ||
           (env.sessionType.isEmpty() && env.wayland);
}

DisplayEnvironment currentDisplayEnvironment()
{
    return {.sessionType = qEnvironmentVariable("XDG_SESSION_TYPE"),
            .qpaPlatform = qEnvironmentVariable("QT_QPA_PLATFORM"),
            .wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"),
            .x11 = !qEnvironmentVariableIsEmpty("DISPLAY")};
}

} // namespace tavi
