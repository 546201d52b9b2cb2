#include "singleinstance.h"

#include "platform/logcategories.h"
#include "windowactivation.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

constexpr int ConnectAttempts = 20;
constexpr int AttemptTimeoutMs = 250;
// The running Korvane starts listening just after it takes the lock; a start
// that lands in between tries again.
constexpr unsigned long RetryPauseMs = 50;

// The hand-over listens in the user's runtime folder, read from the
// environment without Qt's fallback (which warns and makes a folder of its
// own). Without one (cron, su) there is no hand-over; the lock is unaffected.
QString HandOverPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime).isDir() ? QDir(runtime).filePath(u"korvane.socket"_s) : QString();
}

} // namespace

SingleInstance::SingleInstance(const QString &lockPath, QObject *parent)
    : QObject(parent)
    , m_lock(lockPath)
    , m_serverPath(HandOverPath())
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::AcceptRequests);
}

bool SingleInstance::Claim()
{
    if (!m_lock.TryLock()) {
        if (m_lock.IsHeldElsewhere())
            return false;
        qCWarning(lcPlatform) << "no instance lock could be taken; starting without one";
        return true;
    }
    if (m_serverPath.isEmpty())
        return true;
    // Only the lock holder listens, so a socket file left here belongs to a
    // Korvane that is gone.
    QLocalServer::removeServer(m_serverPath);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_serverPath))
        qCWarning(lcPlatform) << "later starts cannot reach this one:" << m_server.errorString();
    return true;
}

bool SingleInstance::HandOver()
{
    if (m_serverPath.isEmpty()) {
        qCWarning(lcPlatform) << "Korvane already runs; without a runtime folder its window cannot be raised";
        return false;
    }
    for (int attempt = 0; attempt < ConnectAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(m_serverPath);
        if (socket.waitForConnected(AttemptTimeoutMs)) {
            // The launcher's permission to raise a window, which only the
            // running Korvane can use on Wayland.
            socket.write(qgetenv("XDG_ACTIVATION_TOKEN"));
            socket.flush();
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(RetryPauseMs);
    }
    qCWarning(lcPlatform) << "the running Korvane could not be reached";
    return false;
}

void SingleInstance::ShowOnRequest(QWidget *window)
{
    connect(this, &SingleInstance::showRequested, window,
            [window](const QString &activationToken) { BringToFront(window, activationToken); });
}

void SingleInstance::AcceptRequests()
{
    // A connection is the request; what the later start writes before it
    // leaves is its activation token, if it has one.
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            const QString activationToken = QString::fromUtf8(socket->readAll());
            socket->deleteLater();
            qCDebug(lcPlatform) << "a later start asked for the window";
            emit showRequested(activationToken);
        });
    }
}
