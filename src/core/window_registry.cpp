// The single-instance window registry.
#include "core/window_registry.h"

#include "core/main_hub.h"

#include <QScreen>
#include <algorithm>
#include <cassert>

namespace tavi {

namespace {

WindowRegistry* g_current = nullptr;

// A window opens centred over the main window (or its screen), not wherever the window
// manager finds room, so that it appears where the user is looking.
void placeOverMainWindow(QWidget* w)
{
    QRect host;
    if (const MainHub* main = mainHub())
        host = main->mainFrame();
    if (const QScreen* screen = w->screen(); host.isEmpty() && screen)
        host = screen->availableGeometry();
    if (host.isEmpty())
        return;
    const QSize size = w->testAttribute(Qt::WA_Resized) ? w->size() : w->sizeHint();
    QPoint topLeft = host.center() - QPoint(size.width() / 2, size.height() / 2);
    if (const QScreen* screen = w->screen()) {
        const QRect area = screen->availableGeometry();
        topLeft.setX(
            std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() - size.width())));
        topLeft.setY(
            std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    }
    w->move(topLeft);
}

} // namespace

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

QStringList WindowRegistry::names() const
{
    QStringList out = m_factories.keys();
    out.sort();
    return out;
}

bool WindowRegistry::open(const QString& name)
{
    const bool fresh = !find(name);
    QWidget* w = get(name);
    if (!w)
        return false;
    if (fresh)
        placeOverMainWindow(w);
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
