// Routes every message box to the installed service.
#include "core/msgbox.h"

#include "core/services.h"

#include "core/app_state.h"

#include <cstdio>

namespace tavi {

int MsgBox(const QString& text, int flags, const QString& title)
{
    const QString t = title.isEmpty() ? AppTitle : title;
    if (MessageBoxService* boxes = services().boxes)
        return boxes->show(text, flags, t);
    std::fprintf(stderr, "[%s] %s\n", qPrintable(t), qPrintable(text));
    return (flags & 7) == vbYesNo ? vbYes : vbOK;
}

} // namespace tavi
