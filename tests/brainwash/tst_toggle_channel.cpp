// The toggle command's socket: the running copy answers, a killed copy's socket file is
// taken over, a second copy leaves the first one serving, each user has a socket of
// their own.
#include "platform/toggle_channel.h"

#include <QCoreApplication>
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
ToggleResult ask(const QString& path)
{
    std::atomic<int> result{-1};
    std::thread command([&] { result = int(sendToggle(path)); });
    while (result < 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    command.join();
    return ToggleResult(result.load());
}

} // namespace

class TstToggleChannel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answers();
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
    ToggleServer server(path, [&] { return ++calls, running; });
    QVERIFY(server.listening());
    QCOMPARE(ask(path), ToggleResult::Toggled);
    running = false;
    QCOMPARE(ask(path), ToggleResult::NoBrainwash);
    QCOMPARE(calls, 2);
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

    ToggleServer first(path, [] { return true; });
    QVERIFY(first.listening());
    ToggleServer second(path, [] { return false; });
    QVERIFY(!second.listening());
    QCOMPARE(ask(path), ToggleResult::Toggled);
}

void TstToggleChannel::socketOfTheUser()
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QCOMPARE(toggleSocketPath(), runtime.filePath("tavi-toggle"));
    qunsetenv("XDG_RUNTIME_DIR");
    QVERIFY(toggleSocketPath().endsWith(QStringLiteral("tavi-toggle-%1").arg(getuid())));
}

QTEST_GUILESS_MAIN(TstToggleChannel)
#include "tst_toggle_channel.moc"
