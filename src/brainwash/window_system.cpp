// The installed window system.
#include "brainwash/window_system.h"

namespace tavi {

namespace {
WindowSystem* g_system = nullptr;
}

void setWindowSystem(WindowSystem* system)
{
    g_system = system;
}

WindowSystem* windowSystem()
{
    return g_system;
}

} // namespace tavi
