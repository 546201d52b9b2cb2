#include "filesync.h"

#include "logcategories.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileSync::Function g_sync = ::fsync;

bool CreateFolderWithMode(const QString &folder, mode_t mode)
{
    if (QFileInfo(folder).isDir())
        return true;
    const QString parent = QFileInfo(folder).path();
    if (parent == folder || !CreateFolderWithMode(parent, S_IRWXU | S_IRWXG | S_IRWXO))
        return false;
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), mode) != 0) {
        if (errno == EEXIST && QFileInfo(folder).isDir())
            return true;
        const int error = errno;
        qCWarning(lcPlatform) << "could not create" << folder << qt_error_string(error);
        errno = error;
        return false;
    }
    // The umask may have taken bits away that the owner needs.
    if (mode == S_IRWXU)
        ::chmod(path.constData(), mode);
    return FileSync::SyncFolder(parent);
}

} // namespace

bool FileSync::SyncDescriptor(int descriptor)
{
    int result = 0;
    do {
        result = g_sync(descriptor);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        qCWarning(lcPlatform) << "sync to disk failed:" << qt_error_string(error);
        errno = error;
    }
    return result == 0;
}

bool FileSync::SyncFolder(const QString &folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        qCWarning(lcPlatform) << "could not open folder to sync" << folder << qt_error_string(error);
        errno = error;
        return false;
    }
    const bool synced = SyncDescriptor(descriptor);
    const int error = errno;
    ::close(descriptor);
    errno = error;
    return synced;
}

bool FileSync::CreateFolder(const QString &folder)
{
    return CreateFolderWithMode(QDir(folder).absolutePath(), S_IRWXU);
}

QString FileSync::TemporaryPrefix()
{
    return QStringLiteral(".korvane-tmp-");
}

void FileSync::RemoveLeftovers(const QString &folder)
{
    const QDir directory(folder);
    const uid_t user = ::geteuid();
    const QStringList candidates =
        directory.entryList({TemporaryPrefix() + u'*'}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &fileName : candidates) {
        const QByteArray path = QFile::encodeName(directory.filePath(fileName));
        const int descriptor = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0)
            continue;
        struct stat info = {};
        if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == user
            && ::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            qCDebug(lcPlatform) << "removing what an interrupted write left:" << fileName;
            ::unlink(path.constData());
        }
        ::close(descriptor);
    }
}

FileSync::Function FileSync::Replace(Function sync)
{
    return std::exchange(g_sync, sync);
}
