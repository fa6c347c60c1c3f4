// Routes every message box to the installed service.
#include "core/msgbox.h"

#include "core/app_state.h"

#include <cstdio>

namespace tavi {

namespace {
MessageBoxService* g_service = nullptr;
}

void setMessageBoxService(MessageBoxService* service)
{
    g_service = service;
}

int MsgBox(const QString& text, int flags, const QString& title)
{
    const QString t = title.isEmpty() ? AppTitle : title;
    if (g_service)
        return g_service->show(text, flags, t);
    std::fprintf(stderr, "[%s] %s\n", qPrintable(t), qPrintable(text));
    return (flags & 7) == vbYesNo ? vbYes : vbOK;
}

} // namespace tavi
