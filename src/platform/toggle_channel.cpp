#include "platform/toggle_channel.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace tavi {

namespace {

const QByteArray Request = "toggle-brainwash\n";
const QByteArray Done = "toggled\n";
const QByteArray Idle = "no-brainwash\n";

bool answers(const QString& path)
{
    QLocalSocket probe;
    probe.connectToServer(path);
    return probe.waitForConnected(500);
}

} // namespace

QString toggleSocketPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(QStringLiteral("tavi-toggle"));
    return QDir::temp().filePath(QStringLiteral("tavi-toggle-%1").arg(getuid()));
}

ToggleServer::ToggleServer(const QString& path, std::function<bool()> handler)
    : m_server(new QLocalServer(this)), m_handler(std::move(handler))
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
                if (!s->canReadLine())
                    return;
                const bool asked = s->readLine(64) == Request;
                s->write(asked && m_handler() ? Done : Idle);
                s->disconnectFromServer();
            });
        }
    });
}

ToggleServer::~ToggleServer() = default;

bool ToggleServer::listening() const
{
    return m_server->isListening();
}

ToggleResult sendToggle(const QString& path, int timeoutMs)
{
    QLocalSocket s;
    s.connectToServer(path);
    if (!s.waitForConnected(timeoutMs))
        return ToggleResult::NoCopy;
    s.write(Request);
    s.waitForBytesWritten(timeoutMs);
    while (!s.canReadLine() && s.waitForReadyRead(timeoutMs)) {
    }
    const QByteArray answer = s.readLine(64);
    if (answer == Done)
        return ToggleResult::Toggled;
    return answer == Idle ? ToggleResult::NoBrainwash : ToggleResult::NoCopy;
}

} // namespace tavi
