// The desktop's global shortcut through the GlobalShortcuts portal on the session bus
// (KDE Plasma 5.27 and later, GNOME 48 and later, Hyprland): a session is created once,
// the shortcut bound in it, and every press comes back as the portal's Activated signal.
// Each step of the portal answers later, through a Request object's Response signal, so
// nothing here ever waits for the desktop (which may be asking the user).
#pragma once

#include "core/services.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>
#include <QVariantMap>

class QDBusArgument;
class QDBusMessage;

namespace tavi {

// One entry of the portal's shortcut lists, D-Bus type (sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

class PortalShortcuts final : public QObject, public DesktopShortcut {
    Q_OBJECT
public:
    static constexpr const char* ShortcutId = "toggle-brainwash";

    // Hears the bus at once, but asks the portal nothing before the first bind().
    explicit PortalShortcuts(const QDBusConnection& bus, QObject* parent = nullptr);

    void bind(const QString& preferredTrigger, std::function<void(const Answer&)> done) override;

    // Registers the D-Bus types (done by the constructor; for a portal's stand-in too).
    static void registerTypes();

private Q_SLOTS:
    // QtDBus connects signals by their signatures only, hence slots here.
    void requestResponse(uint response, const QVariantMap& results);
    void shortcutActivated(const QDBusMessage& message);

private:
    enum class Step { Idle, Creating, Binding };
    // Calls a portal method that answers through a Request; its Response is heard before
    // the call is made, so that a quick answer is not missed.
    void request(const QString& method, QList<QVariant> arguments, Step step);
    void watchRequest(const QString& path);
    void createSession();
    void bindShortcut();
    void finish(const Answer& answer);
    QString nextToken();

    QDBusConnection m_bus;
    Step m_step = Step::Idle;
    QString m_requestPath;
    QString m_session;
    QString m_preferred;
    std::function<void(const Answer&)> m_done;
    int m_tokens = 0;
};

} // namespace tavi

Q_DECLARE_METATYPE(tavi::PortalShortcut)
