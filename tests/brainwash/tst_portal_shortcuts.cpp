// The program's side of the desktop's shortcuts portal, against a stand-in portal on a
// private bus of the test's own: the shortcut is bound with the preferred trigger and each
// press arrives; a portal that says no, or none at all, gives an answer that says why.
#include "platform/portal_shortcuts.h"

#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tavi;

namespace {

// A session bus of its own, and on it, when asked for, the stand-in portal.
struct Bus {
    QTemporaryDir folder; // the bus's socket, gone with the test
    QProcess daemon;
    QProcess portal;
    QDBusConnection connection{QStringLiteral("none")};

    Bus()
    {
        // No service directories: a desktop portal installed on this machine must not be
        // started on this bus in place of the stand-in.
        QFile config(folder.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly) ||
            !config.write(
                "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n"))
            qFatal("cannot write the bus configuration");
        config.close();
        daemon.start(QStringLiteral("dbus-daemon"),
                     {"--config-file=" + config.fileName(), "--nofork", "--print-address",
                      "--address=unix:dir=" + folder.path()});
        if (!daemon.waitForReadyRead(5000))
            qFatal("dbus-daemon did not start (Debian package dbus-daemon)");
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        connection = QDBusConnection::connectToBus(address, QStringLiteral("test"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        portal.setProcessEnvironment(env);
    }
    ~Bus()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("test"));
        portal.closeWriteChannel();
        portal.waitForFinished(3000);
        daemon.terminate();
        daemon.waitForFinished();
    }
    void startPortal(const QStringList& args)
    {
        portal.start(QStringLiteral(FAKE_PORTAL), args);
        QVERIFY(portal.waitForReadyRead(5000));
        QCOMPARE(portal.readLine(), QByteArray("ready\n"));
    }
    QByteArray portalSaid()
    {
        for (int i = 0; i < 50 && !portal.canReadLine(); ++i)
            portal.waitForReadyRead(100);
        return portal.readLine().trimmed();
    }
};

} // namespace

class TstPortalShortcuts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boundThenEachPressArrives();
    void noShortcut_data();
    void noShortcut();
};

void TstPortalShortcuts::boundThenEachPressArrives()
{
    Bus bus;
    bus.startPortal({"--trigger", "Alt+Q"});
    PortalShortcuts shortcuts(bus.connection);
    int presses = 0;
    shortcuts.onActivated = [&presses] { ++presses; };
    QList<DesktopShortcut::Answer> answers;
    const auto done = [&answers](const DesktopShortcut::Answer& a) { answers << a; };
    shortcuts.bind(DesktopShortcut::preferredTrigger(WindowSystem::Modifier::Alt, u'Q'), done);
    QTRY_COMPARE(answers.size(), 1);
    QVERIFY2(answers[0].bound, qPrintable(answers[0].error));
    QCOMPARE(bus.portalSaid(), QByteArray("bound ALT+q in the session"));
    QCOMPARE(answers[0].trigger, QString("Alt+Q")); // what the desktop reports, shown to the user

    bus.portal.write("activate\nactivate\n");
    QTRY_COMPARE(presses, 2);

    // Another key asked for later is bound in the same session.
    shortcuts.bind(DesktopShortcut::preferredTrigger(WindowSystem::Modifier::Win, u'b'), done);
    QTRY_COMPARE(answers.size(), 2);
    QCOMPARE(bus.portalSaid(), QByteArray("bound LOGO+b in the session"));
}

void TstPortalShortcuts::noShortcut_data()
{
    QTest::addColumn<QString>("answer"); // the portal's Response code; empty: no portal
    QTest::addColumn<QString>("error");
    // clang-format off
    QTest::newRow("cancelled by the user") << "1" << "cancelled in the desktop's dialog";
    QTest::newRow("refused")               << "2" << "refused by the desktop";
    QTest::newRow("no portal")             << ""  << "org.freedesktop.portal.Desktop";
    // clang-format on
}

void TstPortalShortcuts::noShortcut()
{
    QFETCH(QString, answer);
    QFETCH(QString, error);
    Bus bus;
    if (!answer.isEmpty())
        bus.startPortal({"--answer", answer});
    PortalShortcuts shortcuts(bus.connection);
    shortcuts.onActivated = [] { QFAIL("a press without a shortcut"); };
    QList<DesktopShortcut::Answer> answers;
    shortcuts.bind(QStringLiteral("ALT+q"), [&answers](const DesktopShortcut::Answer& a) { answers << a; });
    QTRY_COMPARE(answers.size(), 1);
    QVERIFY(!answers[0].bound);
    QVERIFY2(answers[0].error.contains(error), qPrintable(answers[0].error));
    if (!answer.isEmpty()) {
        bus.portal.write("activate\n");
        QTest::qWait(200);
    }
}

QTEST_GUILESS_MAIN(TstPortalShortcuts)
#include "tst_portal_shortcuts.moc"
