// The platform the program asks Qt for, from the environment it starts in.
#include "core/display_platform.h"

#include <QTest>

using namespace tavi;

class TstDisplayPlatform : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choice_data();
    void choice();
};

void TstDisplayPlatform::choice_data()
{
    QTest::addColumn<QString>("session");
    QTest::addColumn<QString>("qpa");
    QTest::addColumn<bool>("wayland");
    QTest::addColumn<bool>("x11");
    QTest::addColumn<QString>("platform"); // "none": no display; "!": Qt's choice and a note
    QTest::addColumn<bool>("desktopKeys");
    // clang-format off
    QTest::newRow("X11 session")                   << "x11"     << ""        << false << true  << "" << false;
    QTest::newRow("Wayland with XWayland")         << "wayland" << ""        << true  << true  << "xcb" << true;
    QTest::newRow("Wayland, any case")             << "Wayland" << ""        << true  << true  << "xcb" << true;
    QTest::newRow("no session type, both servers") << ""        << ""        << true  << true  << "xcb" << true;
    QTest::newRow("Wayland without XWayland")      << "wayland" << ""        << true  << false << "!" << true;
    QTest::newRow("the user's own platform wins")  << "wayland" << "wayland" << true  << true  << "" << true;
    QTest::newRow("offscreen without any server")  << "tty"     << "offscreen" << false << false << "" << false;
    QTest::newRow("no server at all")              << "wayland" << ""        << false << false << "none" << true;
    // clang-format on
}

void TstDisplayPlatform::choice()
{
    QFETCH(QString, session);
    QFETCH(QString, qpa);
    QFETCH(bool, wayland);
    QFETCH(bool, x11);
    QFETCH(QString, platform);
    QFETCH(bool, desktopKeys);
    const DisplayChoice c = chooseDisplayPlatform({session, qpa, wayland, x11});
    QCOMPARE(c.display, platform != "none");
    QCOMPARE(c.platform, platform == "xcb" ? platform : QString());
    QCOMPARE(!c.note.isEmpty(), platform == "!");
    QCOMPARE(c.waylandSession, desktopKeys);
}

QTEST_APPLESS_MAIN(TstDisplayPlatform)
#include "tst_display_platform.moc"
