// The hub of this run.
#include "core/main_hub.h"

#include <utility>

namespace tavi {

namespace {
MainHub* g_hub = nullptr;
} // namespace

MainHub* mainHub()
{
    return g_hub;
}

MainHub* setMainHub(MainHub* hub)
{
    return std::exchange(g_hub, hub);
}

} // namespace tavi
