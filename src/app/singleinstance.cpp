#include "singleinstance.h"

#include "platform/logcategories.h"

#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int ConnectAttempts = 20;
// The running Korvane starts listening just after it takes the lock; a start
// that lands in between tries again.
constexpr unsigned long RetryPauseMs = 50;

// The socket's address; none when the path is too long for one.
std::optional<sockaddr_un> AddressOf(const QByteArray &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return std::nullopt;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return address;
}

} // namespace

SingleInstance::SingleInstance(const QString &lockPath, QObject *parent)
    : QObject(parent)
    , m_lock(lockPath)
    , m_socketPath(QFile::encodeName(QFileInfo(lockPath).dir().filePath(u"korvane.socket"_s)))
{}

SingleInstance::~SingleInstance()
{
    if (m_listener < 0)
        return;
    m_requests.reset();
    ::close(m_listener);
    ::unlink(m_socketPath.constData());
}

bool SingleInstance::Claim()
{
    if (!m_lock.TryLock()) {
        if (m_lock.IsHeldElsewhere())
            return false;
        qCWarning(lcPlatform) << "no instance lock could be taken; starting without one";
        return true;
    }
    if (!Listen())
        qCWarning(lcPlatform) << "later starts cannot reach this one:" << std::strerror(errno);
    return true;
}

bool SingleInstance::Listen()
{
    const std::optional<sockaddr_un> address = AddressOf(m_socketPath);
    if (!address) {
        errno = ENAMETOOLONG;
        return false;
    }
    // Only the lock holder listens, so a socket file left here belongs to a
    // Korvane that is gone.
    ::unlink(m_socketPath.constData());
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener < 0)
        return false;
    // Only the user may ask this Korvane for its window.
    if (::bind(listener, reinterpret_cast<const sockaddr *>(&*address), sizeof *address) != 0
        || ::chmod(m_socketPath.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(listener, SOMAXCONN) != 0) {
        const int error = errno;
        ::close(listener);
        ::unlink(m_socketPath.constData());
        errno = error;
        return false;
    }
    m_listener = listener;
    m_requests = std::make_unique<QSocketNotifier>(m_listener, QSocketNotifier::Read);
    connect(m_requests.get(), &QSocketNotifier::activated, this, &SingleInstance::AcceptRequests);
    return true;
}

bool SingleInstance::HandOver()
{
    const std::optional<sockaddr_un> address = AddressOf(m_socketPath);
    for (int attempt = 0; address && attempt < ConnectAttempts; ++attempt) {
        // Non-blocking, so a listener whose queue is full costs a retry, not
        // a wait without end.
        const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        const bool connected =
            socket >= 0 && ::connect(socket, reinterpret_cast<const sockaddr *>(&*address), sizeof *address) == 0;
        if (socket >= 0)
            ::close(socket);
        if (connected)
            return true;
        QThread::msleep(RetryPauseMs);
    }
    qCWarning(lcPlatform) << "the running Korvane could not be reached";
    return false;
}

void SingleInstance::ShowOnRequest(QWidget *window)
{
    connect(this, &SingleInstance::showRequested, window, [window] {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
    });
}

void SingleInstance::AcceptRequests()
{
    // A connection is the whole request; nothing is read from it.
    for (;;) {
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            return;
        ::close(connection);
        qCDebug(lcPlatform) << "a later start asked for the window";
        emit showRequested();
    }
}
