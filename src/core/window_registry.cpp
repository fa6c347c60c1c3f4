// The single-instance window registry.
#include "core/window_registry.h"

#include <cassert>

namespace tavi {

namespace {
WindowRegistry* g_current = nullptr;
}

WindowRegistry::WindowRegistry()
{
    g_current = this;
}

WindowRegistry::~WindowRegistry()
{
    unloadAll();
    if (g_current == this)
        g_current = nullptr;
}

WindowRegistry& windows()
{
    assert(g_current && "a WindowRegistry must exist");
    return *g_current;
}

void WindowRegistry::add(const QString& name, Factory factory)
{
    m_factories.insert(name, std::move(factory));
}

QWidget* WindowRegistry::find(const QString& name) const
{
    return m_windows.value(name).data();
}

QWidget* WindowRegistry::get(const QString& name)
{
    if (QWidget* w = find(name))
        return w;
    const auto it = m_factories.constFind(name);
    if (it == m_factories.constEnd())
        return nullptr;
    QWidget* w = (*it)();
    w->setObjectName(name);
    m_windows.insert(name, w);
    return w;
}

bool WindowRegistry::open(const QString& name)
{
    QWidget* w = get(name);
    if (!w)
        return false;
    if (w->isMinimized())
        w->showNormal();
    else
        w->show();
    w->raise();
    w->activateWindow();
    return true;
}

void WindowRegistry::unload(const QString& name)
{
    QPointer<QWidget> w = m_windows.take(name);
    if (!w)
        return;
    // A window may unload itself from one of its own handlers.
    w->hide();
    w->deleteLater();
}

void WindowRegistry::unloadAll()
{
    const auto loaded = m_windows;
    m_windows.clear();
    for (const QPointer<QWidget>& w : loaded)
        delete w.data();
}

} // namespace tavi
