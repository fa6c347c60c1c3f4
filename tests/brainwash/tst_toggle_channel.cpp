// The commands' socket: the running copy answers the toggle and takes files whatever
// their names hold, garbage gets no file opened, a killed copy's socket file is taken
// over, a second copy leaves the first one serving, each user has a socket of their own.
#include "platform/toggle_channel.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace tavi;

namespace {

// The command runs in a thread of its own while this one serves.
template <typename F> auto inThread(F command)
{
    std::atomic<bool> done = false;
    decltype(command()) result{};
    std::thread t([&] { result = command(), done = true; });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    t.join();
    return result;
}

ToggleResult ask(const QString& path)
{
    return inThread([&] { return sendToggle(path); });
}

bool hand(const QString& path, const QString& file)
{
    return inThread([&] { return sendOpenFile(path, file); });
}

// The answer to a request written as it stands.
QByteArray raw(const QString& path, const QByteArray& request)
{
    return inThread([&] {
        QLocalSocket s;
        s.connectToServer(path);
        s.waitForConnected(2000);
        s.write(request);
        s.waitForBytesWritten(2000);
        while (s.state() == QLocalSocket::ConnectedState && !s.canReadLine() && s.waitForReadyRead(2000)) {
        }
        return s.readLine();
    });
}

} // namespace

class TstToggleChannel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answers();
    void openFiles();
    void staleSocketAndSecondCopy();
    void socketOfTheUser();
};

void TstToggleChannel::answers()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("toggle");
    QCOMPARE(ask(path), ToggleResult::NoCopy);
    int calls = 0;
    bool running = true;
    CommandServer server(path, [&] { return ++calls, running; });
    QVERIFY(server.listening());
    QCOMPARE(ask(path), ToggleResult::Toggled);
    running = false;
    QCOMPARE(ask(path), ToggleResult::NoBrainwash);
    QCOMPARE(calls, 2);
}

void TstToggleChannel::openFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("commands");
    const QString file = QStringLiteral("/home/l\u00e9a/my words\n%41+%\u4f60\u597d.txt");
    QVERIFY(!hand(path, file));
    QStringList opened;
    bool toggled = false;
    CommandServer server(
        path, [&] { return toggled = true; }, [&](const QString& f) { opened << f; });
    QVERIFY(hand(path, file));
    QTRY_COMPARE(opened, QStringList{file});

    // Garbage opens nothing and leaves the server serving.
    for (const QByteArray& request :
         {QByteArray("open relative/path\n"), QByteArray("open /a%00b\n"), QByteArray("open\n"),
          QByteArray("\xff\xfe\n"), QByteArray("open /" + QByteArray(40000, 'x')),
          QByteArray("toggle-brainwash now\n")})
        QVERIFY2(raw(path, request) != "opened\n", request.left(20));
    QTest::qWait(50);
    QCOMPARE(opened.size(), 1);
    QVERIFY(!toggled);
    QCOMPARE(ask(path), ToggleResult::Toggled);

    // A copy that takes no files says so, and the command starts a copy of its own.
    QTemporaryDir other;
    CommandServer toggleOnly(other.filePath("commands"), [] { return false; });
    QVERIFY(!hand(other.filePath("commands"), file));
}

void TstToggleChannel::staleSocketAndSecondCopy()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("toggle");
    // A socket file that nobody serves, as a killed copy leaves it.
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
    QCOMPARE(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
    QVERIFY(QFile::exists(path));

    CommandServer first(path, [] { return true; });
    QVERIFY(first.listening());
    CommandServer second(path, [] { return false; });
    QVERIFY(!second.listening());
    QCOMPARE(ask(path), ToggleResult::Toggled);
}

void TstToggleChannel::socketOfTheUser()
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QCOMPARE(commandSocketPath(), runtime.filePath("tavi-commands"));
    qunsetenv("XDG_RUNTIME_DIR");
    QVERIFY(commandSocketPath().endsWith(QStringLiteral("tavi-commands-%1").arg(getuid())));
}

QTEST_GUILESS_MAIN(TstToggleChannel)
#include "tst_toggle_channel.moc"
