// The window system on X11, over Qt's own connection to the X server: the active window
// from _NET_ACTIVE_WINDOW with its frame from _NET_FRAME_EXTENTS, and the hotkey as a
// passive key grab on the root window.
#pragma once

#include "core/services.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QObject>
#include <cstdint>
#include <vector>

struct xcb_connection_t;

namespace tavi {

// Ends the desktop's start-up feedback (a launcher's busy cursor) for the startup id that
// the program was started with, for a run that ends without a window: the startup
// notification's "remove" message to the root window. Nothing without X11 or without an id.
void endStartupNotification(const QByteArray& startupId);

class X11WindowSystem final : public QObject, public WindowSystem, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // Unavailable unless the application runs on the xcb platform.
    explicit X11WindowSystem(QObject* parent = nullptr);
    ~X11WindowSystem() override;

    bool available() const override { return m_connection != nullptr; }
    std::optional<Foreground> foreground() override;
    GrabResult grabHotkey(Modifier modifier, QChar key) override;
    void ungrabHotkey() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::uint8_t keycodeFor(std::uint32_t keysym) const;
    std::uint16_t numLockMask() const;
    // The lock states the key must work in: none, CapsLock, NumLock, both.
    std::vector<std::uint16_t> lockVariants() const;

    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_root = 0;
    std::uint32_t m_activeWindowAtom = 0;
    std::uint32_t m_frameExtentsAtom = 0;
    std::uint8_t m_keycode = 0; // 0: nothing grabbed
    std::uint16_t m_modifiers = 0;
    std::uint16_t m_numLock = 0;
    bool m_keyDown = false;
    std::uint32_t m_lastReleaseTime = 0;
};

} // namespace tavi
