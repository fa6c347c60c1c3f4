// The services of this run.
#include "core/services.h"

namespace tavi {

namespace {

Services g_services;

// Calls f(current, mine, before) for each service.
template <typename F> void eachService(Services& current, const Services& mine, Services& before, F f)
{
    f(current.boxes, mine.boxes, before.boxes);
    f(current.opener, mine.opener, before.opener);
    f(current.fileDialog, mine.fileDialog, before.fileDialog);
    f(current.audio, mine.audio, before.audio);
    f(current.windowSystem, mine.windowSystem, before.windowSystem);
    f(current.installProbe, mine.installProbe, before.installProbe);
    f(current.desktopShortcut, mine.desktopShortcut, before.desktopShortcut);
}

} // namespace

const Services& services()
{
    return g_services;
}

QString DesktopShortcut::preferredTrigger(WindowSystem::Modifier modifier, QChar key)
{
    static const char* const names[] = {"ALT", "CTRL", "SHIFT", "LOGO"};
    return QLatin1String(names[int(modifier)]) + u'+' + key.toLower();
}

ServiceScope::ServiceScope(const Services& mine, Fill fill) : m_mine(mine), m_fill(fill)
{
    eachService(g_services, m_mine, m_before, [fill](auto& current, auto* own, auto*& before) {
        before = current;
        if (own || fill == Only)
            current = own;
    });
}

ServiceScope::~ServiceScope()
{
    eachService(g_services, m_mine, m_before, [this](auto& current, auto* own, auto*& before) {
        if (own || m_fill == Only)
            current = before;
    });
}

} // namespace tavi
