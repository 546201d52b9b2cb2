#include "singleinstance.h"

#include "platform/logcategories.h"
#include "windowactivation.h"

#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>

#include <poll.h>
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
// A later start writes its token at once and leaves; one that does not is
// not waited for.
constexpr int TokenWaitMs = 250;
// Activation tokens are short; a longer request is no token.
constexpr qsizetype MaxTokenBytes = 4096;

// The hand-over listens in the user's runtime folder, read from the
// environment without Qt's fallback (which warns and makes a folder of its
// own). Without one (cron, su) there is no hand-over; the lock is unaffected.
QByteArray HandOverPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime).isDir()
               ? QFile::encodeName(QDir(runtime).filePath(u"korvane.socket"_s))
               : QByteArray();
}

// The socket's address; none without a runtime folder or when the path is
// too long for one.
std::optional<sockaddr_un> AddressOf(const QByteArray &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || path.size() >= qsizetype(sizeof address.sun_path))
        return std::nullopt;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return address;
}

// What a later start wrote before it closed its end: its activation token.
QString ReadToken(int connection)
{
    QByteArray token;
    char buffer[512];
    pollfd ready{connection, POLLIN, 0};
    while (token.size() <= MaxTokenBytes && ::poll(&ready, 1, TokenWaitMs) > 0) {
        const ssize_t got = ::read(connection, buffer, sizeof buffer);
        if (got <= 0)
            break;
        token.append(buffer, got);
    }
    return token.size() <= MaxTokenBytes ? QString::fromUtf8(token) : QString();
}

} // namespace

SingleInstance::SingleInstance(const QString &lockPath, QObject *parent)
    : QObject(parent)
    , m_lock(lockPath)
    , m_socketPath(HandOverPath())
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
    if (m_socketPath.isEmpty())
        return true;
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
    if (!address) {
        qCWarning(lcPlatform) << "Korvane already runs; without a runtime folder its window cannot be raised";
        return false;
    }
    // The launcher's permission to raise a window, which only the running
    // Korvane can use on Wayland.
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    for (int attempt = 0; attempt < ConnectAttempts; ++attempt) {
        // Non-blocking, so a listener whose queue is full costs a retry, not
        // a wait without end.
        const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        const bool connected =
            socket >= 0 && ::connect(socket, reinterpret_cast<const sockaddr *>(&*address), sizeof *address) == 0;
        if (connected && !token.isEmpty())
            (void)::send(socket, token.constData(), size_t(token.size()), MSG_NOSIGNAL);
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
    connect(this, &SingleInstance::showRequested, window,
            [window](const QString &activationToken) { BringToFront(window, activationToken); });
}

void SingleInstance::AcceptRequests()
{
    for (;;) {
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            return;
        const QString activationToken = ReadToken(connection);
        ::close(connection);
        qCDebug(lcPlatform) << "a later start asked for the window";
        emit showRequested(activationToken);
    }
}
