#include "platform/toggle_channel.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace tavi {

namespace {

const QByteArray ToggleRequest = "toggle-brainwash\n";
const QByteArray OpenRequest = "open ";
const QByteArray Toggled = "toggled\n";
const QByteArray Idle = "no-brainwash\n";
const QByteArray Opened = "opened\n";
const QByteArray Unknown = "unknown\n";
// A path's 4096 bytes take three times as many percent-encoded; a request that grows
// beyond this without a line break is no command.
constexpr qint64 MaxRequest = 16 * 1024;

bool answers(const QString& path)
{
    QLocalSocket probe;
    probe.connectToServer(path);
    return probe.waitForConnected(500);
}

// Sends the request and returns the answer line, or nothing when no copy answers in time.
QByteArray exchange(const QString& path, const QByteArray& request, int timeoutMs)
{
    QLocalSocket s;
    s.connectToServer(path);
    if (!s.waitForConnected(timeoutMs))
        return {};
    s.write(request);
    s.waitForBytesWritten(timeoutMs);
    while (!s.canReadLine() && s.waitForReadyRead(timeoutMs)) {
    }
    return s.readLine(64);
}

} // namespace

QString commandSocketPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(QStringLiteral("tavi-commands"));
    return QDir::temp().filePath(QStringLiteral("tavi-commands-%1").arg(getuid()));
}

CommandServer::CommandServer(const QString& path, std::function<bool()> toggle,
                             std::function<void(const QString&)> open)
    : m_server(new QLocalServer(this)), m_toggle(std::move(toggle)), m_open(std::move(open))
{
    // Another copy that answers keeps serving; a socket file nobody answers at was left
    // by a copy that was killed.
    if (answers(path))
        return;
    QLocalServer::removeServer(path);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(path);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, s, [this, s] {
                if (s->state() != QLocalSocket::ConnectedState) // answered already
                    return;
                if (s->canReadLine()) {
                    s->write(answer(s->readLine(MaxRequest)));
                    s->disconnectFromServer();
                } else if (s->bytesAvailable() > MaxRequest) {
                    s->abort();
                }
            });
        }
    });
}

CommandServer::~CommandServer() = default;

bool CommandServer::listening() const
{
    return m_server->isListening();
}

QByteArray CommandServer::answer(const QByteArray& request)
{
    if (request == ToggleRequest)
        return m_toggle && m_toggle() ? Toggled : Idle;
    if (!m_open || !request.startsWith(OpenRequest) || !request.endsWith('\n'))
        return Unknown;
    const QString file =
        QString::fromUtf8(QByteArray::fromPercentEncoding(request.sliced(OpenRequest.size()).chopped(1)));
    if (!QDir::isAbsolutePath(file) || file.contains(QChar(0)))
        return Unknown;
    // The command has its answer before the file is opened: a box shown meanwhile would
    // keep it waiting, and it would start a copy of its own.
    QMetaObject::invokeMethod(
        this, [this, file] { m_open(file); }, Qt::QueuedConnection);
    return Opened;
}

ToggleResult sendToggle(const QString& path, int timeoutMs)
{
    const QByteArray answer = exchange(path, ToggleRequest, timeoutMs);
    if (answer == Toggled)
        return ToggleResult::Toggled;
    return answer == Idle ? ToggleResult::NoBrainwash : ToggleResult::NoCopy;
}

bool sendOpenFile(const QString& path, const QString& file, int timeoutMs)
{
    return exchange(path, OpenRequest + file.toUtf8().toPercentEncoding("/") + '\n', timeoutMs) == Opened;
}

} // namespace tavi
