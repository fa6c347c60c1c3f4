// A stand-in for the desktop's GlobalShortcuts portal on a private session bus, for the
// tests of the program's side. It answers CreateSession and BindShortcuts through Request
// Response signals as a desktop does, prints "bound <preferred trigger>" once bound, and
// emits Activated for each line "activate" on its input.
//   fake_portal [--answer N] [--trigger TEXT]
// --answer: the Response code of every request (0 granted, 1 cancelled, 2 refused);
// --trigger: the trigger the desktop reports (default: the one preferred).
#include "platform/portal_shortcuts.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

using namespace tavi;

namespace {

const QString Path = QStringLiteral("/org/freedesktop/portal/desktop");

class FakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
public:
    uint answer = 0;
    QString trigger;

    void activate()
    {
        if (m_session.isEmpty())
            return;
        QDBusMessage signal = QDBusMessage::createSignal(
            Path, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"));
        signal << QVariant::fromValue(QDBusObjectPath(m_session)) << QString(PortalShortcuts::ShortcutId)
               << qulonglong(0) << QVariantMap();
        QDBusConnection::sessionBus().send(signal);
    }

public Q_SLOTS:
    Q_SCRIPTABLE QDBusObjectPath CreateSession(const QVariantMap& options)
    {
        const QString session = Path + QStringLiteral("/session/") + sender() + u'/' +
                                options.value(QStringLiteral("session_handle_token")).toString();
        if (answer == 0)
            m_session = session;
        return respond(options, {{QStringLiteral("session_handle"), session}});
    }

    // Spelled with its namespace: QtDBus finds the D-Bus type by the name moc writes down.
    Q_SCRIPTABLE QDBusObjectPath BindShortcuts(const QDBusObjectPath& session,
                                               const QList<tavi::PortalShortcut>& shortcuts, const QString&,
                                               const QVariantMap& options)
    {
        QList<PortalShortcut> bound;
        for (PortalShortcut s : shortcuts) {
            const QString preferred = s.properties.value(QStringLiteral("preferred_trigger")).toString();
            std::printf("bound %s %s\n", qPrintable(preferred),
                        session.path() == m_session ? "in the session" : "elsewhere");
            std::fflush(stdout);
            s.properties = {
                {QStringLiteral("description"), s.properties.value(QStringLiteral("description"))},
                {QStringLiteral("trigger_description"), trigger.isEmpty() ? preferred : trigger}};
            bound << s;
        }
        return respond(options, {{QStringLiteral("shortcuts"), QVariant::fromValue(bound)}});
    }

private:
    QString sender() const { return message().service().mid(1).replace(u'.', u'_'); }

    // The Request's path from the caller's token; its Response follows the method's reply.
    QDBusObjectPath respond(const QVariantMap& options, const QVariantMap& results)
    {
        const QString request = Path + QStringLiteral("/request/") + sender() + u'/' +
                                options.value(QStringLiteral("handle_token")).toString();
        const uint code = answer;
        QTimer::singleShot(0, this, [request, code, results] {
            QDBusMessage signal = QDBusMessage::createSignal(
                request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            signal << code << (code == 0 ? results : QVariantMap());
            QDBusConnection::sessionBus().send(signal);
        });
        return QDBusObjectPath(request);
    }

    QString m_session;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    PortalShortcuts::registerTypes();
    FakePortal portal;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--answer")
            portal.answer = args[i + 1].toUInt();
        else if (args[i] == u"--trigger")
            portal.trigger = args[i + 1];
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(Path, &portal, QDBusConnection::ExportScriptableSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::fprintf(stderr, "fake_portal: cannot serve on the session bus: %s\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&portal, &app] {
        char line[64];
        const ssize_t n = ::read(STDIN_FILENO, line, sizeof line - 1);
        if (n <= 0) { // the test is gone
            app.quit();
            return;
        }
        for (const QByteArray& l : QByteArray(line, int(n)).split('\n'))
            if (l == "activate")
                portal.activate();
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "fake_portal.moc"
