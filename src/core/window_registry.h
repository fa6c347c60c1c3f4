// Every window of the program exists at most once: created (loaded) on first use,
// kept with its state while hidden, discarded when unloaded.
#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

namespace tavi {

class WindowRegistry {
public:
    using Factory = std::function<QWidget*()>;

    // Becomes the registry that windows() returns, for as long as it lives.
    WindowRegistry();
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    void add(const QString& name, Factory factory);
    bool has(const QString& name) const { return m_factories.contains(name); }
    // The names of every window it can open, sorted.
    QStringList names() const;

    // The loaded window, or nullptr.
    QWidget* find(const QString& name) const;
    // The window, loaded first when needed; nullptr for an unknown name.
    QWidget* get(const QString& name);
    // Shows the window modeless and brings it to the front; false for an unknown name.
    bool open(const QString& name);
    // Discards the window; does nothing when it is not loaded.
    void unload(const QString& name);
    void unloadAll();

    template <typename W> W* get(const QString& name) { return qobject_cast<W*>(get(name)); }

private:
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<QWidget>> m_windows;
};

// The registry of this run.
WindowRegistry& windows();

} // namespace tavi
