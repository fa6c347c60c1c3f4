// X11 services of the brainwash. Every call is a few round trips on Qt's connection;
// the grabs are checked requests, so a key that another client holds comes back here as
// BadAccess instead of landing in Qt's error handler.
#include "platform/x11_window_system.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>

namespace tavi {

namespace {

constexpr std::uint32_t XK_Num_Lock = 0xff7f;
constexpr std::uint16_t HotkeyModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

std::uint32_t internAtom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(qstrlen(name)), name), nullptr);
    const std::uint32_t atom = reply ? reply->atom : std::uint32_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

std::uint16_t modifierMask(WindowSystem::Modifier modifier)
{
    switch (modifier) {
    case WindowSystem::Modifier::Alt:
        return XCB_MOD_MASK_1;
    case WindowSystem::Modifier::Ctrl:
        return XCB_MOD_MASK_CONTROL;
    case WindowSystem::Modifier::Shift:
        return XCB_MOD_MASK_SHIFT;
    case WindowSystem::Modifier::Win:
        return XCB_MOD_MASK_4;
    }
    return XCB_MOD_MASK_SHIFT;
}

} // namespace

void endStartupNotification(const QByteArray& startupId)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (startupId.isEmpty() || !x11 || !x11->connection())
        return;
    xcb_connection_t* c = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // The messages come from a window of the sender's own; the text goes in pieces of 20
    // bytes, the first one as _NET_STARTUP_INFO_BEGIN, and ends with a NUL byte.
    const xcb_window_t sender = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, sender, root, -100, -100, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    const std::uint32_t begin = internAtom(c, "_NET_STARTUP_INFO_BEGIN");
    const std::uint32_t more = internAtom(c, "_NET_STARTUP_INFO");
    const QByteArray message = "remove: ID=" + startupId + '\0';
    for (qsizetype at = 0; at < message.size(); at += 20) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = sender;
        event.type = at == 0 ? begin : more;
        std::memcpy(event.data.data8, message.constData() + at,
                    std::size_t(std::min<qsizetype>(20, message.size() - at)));
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char*>(&event));
    }
    xcb_destroy_window(c, sender);
    xcb_flush(c);
}

X11WindowSystem::X11WindowSystem(QObject* parent) : QObject(parent)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    m_connection = x11->connection();
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    m_activeWindowAtom = internAtom(m_connection, "_NET_ACTIVE_WINDOW");
    m_frameExtentsAtom = internAtom(m_connection, "_NET_FRAME_EXTENTS");
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11WindowSystem::~X11WindowSystem()
{
    if (!m_connection)
        return;
    ungrabHotkey();
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

std::optional<WindowSystem::Foreground> X11WindowSystem::foreground()
{
    if (!m_connection)
        return std::nullopt;
    xcb_connection_t* c = m_connection;
    xcb_get_property_reply_t* active = xcb_get_property_reply(
        c, xcb_get_property(c, 0, m_root, m_activeWindowAtom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    xcb_window_t window = XCB_WINDOW_NONE;
    if (active && active->type == XCB_ATOM_WINDOW && xcb_get_property_value_length(active) >= 4)
        window = *static_cast<xcb_window_t*>(xcb_get_property_value(active));
    std::free(active);
    if (window == XCB_WINDOW_NONE)
        return std::nullopt;

    // Three requests in flight at once: one wait instead of three.
    const auto geometryCookie = xcb_get_geometry(c, window);
    const auto originCookie = xcb_translate_coordinates(c, window, m_root, 0, 0);
    const auto extentsCookie = xcb_get_property(c, 0, window, m_frameExtentsAtom, XCB_ATOM_CARDINAL, 0, 4);
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, geometryCookie, nullptr);
    xcb_translate_coordinates_reply_t* origin = xcb_translate_coordinates_reply(c, originCookie, nullptr);
    xcb_get_property_reply_t* extents = xcb_get_property_reply(c, extentsCookie, nullptr);

    std::optional<Foreground> result;
    if (geometry && origin) {
        QRect frame(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
        if (extents && extents->type == XCB_ATOM_CARDINAL && xcb_get_property_value_length(extents) >= 16) {
            const auto* e = static_cast<const std::uint32_t*>(xcb_get_property_value(extents));
            frame.adjust(-int(e[0]), -int(e[2]), int(e[1]), int(e[3])); // left, right, top, bottom
        }
        result = Foreground{window, frame};
    }
    std::free(geometry);
    std::free(origin);
    std::free(extents);
    return result;
}

std::uint8_t X11WindowSystem::keycodeFor(std::uint32_t keysym) const
{
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* mapping = xcb_get_keyboard_mapping_reply(
        m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, std::uint8_t(count)),
        nullptr);
    std::uint8_t found = 0;
    if (mapping) {
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping);
        const int perCode = mapping->keysyms_per_keycode;
        for (int i = 0; i < count && !found; ++i)
            for (int j = 0; j < perCode && !found; ++j)
                if (syms[i * perCode + j] == keysym)
                    found = std::uint8_t(setup->min_keycode + i);
    }
    std::free(mapping);
    return found;
}

std::uint16_t X11WindowSystem::numLockMask() const
{
    // NumLock sits on whichever modifier the keyboard map gives it (usually Mod2).
    const std::uint8_t numLock = keycodeFor(XK_Num_Lock);
    xcb_get_modifier_mapping_reply_t* mapping =
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
    std::uint16_t mask = 0;
    if (mapping && numLock) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping);
        const int perModifier = mapping->keycodes_per_modifier;
        for (int m = 0; m < 8 && !mask; ++m)
            for (int k = 0; k < perModifier; ++k)
                if (codes[m * perModifier + k] == numLock)
                    mask = std::uint16_t(1u << m);
    }
    std::free(mapping);
    return mask;
}

WindowSystem::GrabResult X11WindowSystem::grabHotkey(Modifier modifier, QChar key)
{
    if (!m_connection)
        return GrabResult::Unavailable;
    ungrabHotkey();
    const char16_t letter = key.toLower().unicode();
    if (letter < u'a' || letter > u'z')
        return GrabResult::Taken;                    // no key of that name to grab
    const std::uint8_t keycode = keycodeFor(letter); // the keysyms of a to z are their codes
    if (!keycode)
        return GrabResult::Taken;

    m_keycode = keycode;
    m_modifiers = modifierMask(modifier);
    m_numLock = numLockMask();
    const auto variants = lockVariants();
    xcb_void_cookie_t cookies[4];
    for (std::size_t i = 0; i < variants.size(); ++i)
        cookies[i] = xcb_grab_key_checked(m_connection, 1, m_root, std::uint16_t(m_modifiers | variants[i]),
                                          keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    bool taken = false;
    for (std::size_t i = 0; i < variants.size(); ++i) {
        if (xcb_generic_error_t* error = xcb_request_check(m_connection, cookies[i])) {
            taken = true;
            std::free(error);
        }
    }
    if (taken) {
        // Half a hotkey is none: give back the variants that were had.
        ungrabHotkey();
        return GrabResult::Taken;
    }
    return GrabResult::Grabbed;
}

std::vector<std::uint16_t> X11WindowSystem::lockVariants() const
{
    if (!m_numLock)
        return {0, XCB_MOD_MASK_LOCK};
    return {0, XCB_MOD_MASK_LOCK, m_numLock, std::uint16_t(XCB_MOD_MASK_LOCK | m_numLock)};
}

void X11WindowSystem::ungrabHotkey()
{
    if (!m_connection || !m_keycode)
        return;
    for (const std::uint16_t variant : lockVariants())
        xcb_ungrab_key(m_connection, m_keycode, m_root, std::uint16_t(m_modifiers | variant));
    xcb_flush(m_connection);
    m_keycode = 0;
}

bool X11WindowSystem::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (!m_keycode || eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
    if (key->detail != m_keycode || key->root != m_root)
        return false;
    if (type == XCB_KEY_RELEASE) {
        // Whatever modifiers are still held: the letter may outlive the Alt.
        if (!m_keyDown)
            return false;
        m_keyDown = false;
        m_lastReleaseTime = key->time;
        return true;
    }
    if ((key->state & HotkeyModifiers) != m_modifiers)
        return false;
    // A held key repeats, as presses alone (detectable auto-repeat) or as release and
    // press with the same time: one toggle per press.
    const bool repeat = m_keyDown || key->time == m_lastReleaseTime;
    m_keyDown = true;
    if (repeat)
        return true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (onHotkey)
                onHotkey();
        },
        Qt::QueuedConnection);
    return true;
}

} // namespace tavi
