// The GlobalShortcuts portal: CreateSession, then BindShortcuts with the one shortcut,
// each answered by a Response signal on a Request object whose path the program knows in
// advance (.../request/<its bus name>/<token>). The session lasts as long as the
// program's bus connection; the portal ends it when the program goes.
#include "platform/portal_shortcuts.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace tavi {

namespace {

const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString DesktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const char* const ResponseSlot = SLOT(requestResponse(uint, QVariantMap));

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

void PortalShortcuts::registerTypes()
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

PortalShortcuts::PortalShortcuts(const QDBusConnection& bus, QObject* parent) : QObject(parent), m_bus(bus)
{
    registerTypes();
    m_bus.connect(Service, DesktopPath, ShortcutsInterface, QStringLiteral("Activated"), this,
                  SLOT(shortcutActivated(QDBusMessage)));
}

void PortalShortcuts::bind(const QString& preferredTrigger, std::function<void(const Answer&)> done)
{
    m_preferred = preferredTrigger;
    m_done = std::move(done);
    if (!m_bus.isConnected()) {
        finish({.bound = false, .trigger = {}, .error = QStringLiteral("no session bus")});
        return;
    }
    if (m_step != Step::Idle) // the answer under way takes the new wish where it still can
        return;
    if (m_session.isEmpty())
        createSession();
    else
        bindShortcut();
}

void PortalShortcuts::createSession()
{
    // A program outside a sandbox says who it is before its first portal call; portals
    // older than this call answer with an error that changes nothing.
    QDBusMessage hello = QDBusMessage::createMethodCall(
        Service, DesktopPath, QStringLiteral("org.freedesktop.host.portal.Registry"),
        QStringLiteral("Register"));
    hello << QStringLiteral("org.tavitrainer.Tavi") << QVariantMap();
    m_bus.asyncCall(hello);
    request(QStringLiteral("CreateSession"),
            {QVariantMap{{QStringLiteral("session_handle_token"), nextToken()}}}, Step::Creating);
}

void PortalShortcuts::bindShortcut()
{
    const QList<PortalShortcut> shortcuts{
        {QLatin1String(ShortcutId),
         {{QStringLiteral("description"), QStringLiteral("Show or hide the brainwash words")},
          {QStringLiteral("preferred_trigger"), m_preferred}}}};
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(shortcuts), QString(),
             QVariantMap()},
            Step::Binding);
}

void PortalShortcuts::request(const QString& method, QList<QVariant> arguments, Step step)
{
    const QString token = nextToken();
    QString sender = m_bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    watchRequest(DesktopPath + QStringLiteral("/request/") + sender + u'/' + token);
    QVariantMap options = arguments.takeLast().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments << options;

    QDBusMessage call = QDBusMessage::createMethodCall(Service, DesktopPath, ShortcutsInterface, method);
    call.setArguments(arguments);
    m_step = step;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, step](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (m_step != step)
            return;
        if (reply.isError())
            finish({.bound = false, .trigger = {}, .error = reply.error().message()});
        else if (reply.value().path() != m_requestPath) // a portal that chose its own path
            watchRequest(reply.value().path());
    });
}

void PortalShortcuts::watchRequest(const QString& path)
{
    if (!m_requestPath.isEmpty())
        m_bus.disconnect(Service, m_requestPath, RequestInterface, QStringLiteral("Response"), this,
                         ResponseSlot);
    m_requestPath = path;
    if (!path.isEmpty())
        m_bus.connect(Service, path, RequestInterface, QStringLiteral("Response"), this, ResponseSlot);
}

void PortalShortcuts::requestResponse(uint response, const QVariantMap& results)
{
    if (m_step == Step::Idle)
        return;
    if (response != 0) {
        // 1: the user said no in the desktop's dialog; 2: the desktop ended it.
        finish({.bound = false,
                .trigger = {},
                .error = response == 1 ? QStringLiteral("cancelled in the desktop's dialog")
                                       : QStringLiteral("refused by the desktop")});
        return;
    }
    if (m_step == Step::Creating) {
        const QVariant handle = results.value(QStringLiteral("session_handle"));
        m_session =
            handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path() : handle.toString();
        if (m_session.isEmpty())
            finish({.bound = false, .trigger = {}, .error = QStringLiteral("the desktop opened no session")});
        else
            bindShortcut();
        return;
    }
    Answer answer{.bound = true, .trigger = {}, .error = {}};
    const auto shortcuts = qdbus_cast<QList<PortalShortcut>>(results.value(QStringLiteral("shortcuts")));
    for (const PortalShortcut& s : shortcuts)
        if (s.id == QLatin1String(ShortcutId))
            answer.trigger = s.properties.value(QStringLiteral("trigger_description")).toString();
    finish(answer);
}

void PortalShortcuts::shortcutActivated(const QDBusMessage& message)
{
    // Activated(o session_handle, s shortcut_id, t timestamp, a{sv} options)
    const QList<QVariant> args = message.arguments();
    if (args.size() >= 2 && args[0].value<QDBusObjectPath>().path() == m_session && !m_session.isEmpty() &&
        args[1].toString() == QLatin1String(ShortcutId) && onActivated)
        onActivated();
}

void PortalShortcuts::finish(const Answer& answer)
{
    m_step = Step::Idle;
    watchRequest({});
    if (auto done = std::exchange(m_done, {}))
        done(answer);
}

QString PortalShortcuts::nextToken()
{
    return QStringLiteral("tavi%1").arg(++m_tokens);
}

} // namespace tavi
