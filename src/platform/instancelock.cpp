#include "instancelock.h"

#include "filesync.h"
#include "logcategories.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

InstanceLock::InstanceLock(const QString &path)
    : m_path(path)
{}

InstanceLock::~InstanceLock()
{
    if (IsLocked())
        ::close(m_descriptor);
}

QString InstanceLock::DefaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).filePath(u"korvane.lock"_s);
}

bool InstanceLock::TryLock()
{
    if (IsLocked())
        return true;
    m_heldElsewhere = false;
    if (!FileSync::CreateFolder(QFileInfo(m_path).path()))
        return false;
    // Opened for reading only, and without waiting: the lock is the open
    // file's, and nothing is ever written into it.
    const int descriptor = ::open(QFile::encodeName(m_path).constData(),
                                  O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, S_IRUSR | S_IWUSR);
    struct stat info = {};
    if (descriptor < 0 || ::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        qCWarning(lcPlatform) << "could not open the lock file" << m_path << qt_error_string(errno);
        if (descriptor >= 0)
            ::close(descriptor);
        return false;
    }
    int result = 0;
    do {
        result = ::flock(descriptor, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        m_heldElsewhere = errno == EWOULDBLOCK;
        qCDebug(lcPlatform) << "lock not taken:" << qt_error_string(errno);
        ::close(descriptor);
        return false;
    }
    m_descriptor = descriptor;
    return true;
}
