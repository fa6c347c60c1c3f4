// The windows this version of the program can open, by name.
#include "core/about_window.h"
#include "core/window_registry.h"

namespace tavi
{

void registerAllWindows(WindowRegistry& registry)
{
    registry.add(QStringLiteral("frm_about"), [] { return new AboutWindow; });
}

} // namespace tavi
