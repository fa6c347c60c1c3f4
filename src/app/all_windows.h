// The windows this version of the program can open, by name.
#pragma once

#include "core/window_registry.h"

namespace tavi {

// Registers every window the main window can open.
void registerAllWindows(WindowRegistry& registry);

} // namespace tavi
