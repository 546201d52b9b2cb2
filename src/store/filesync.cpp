#include "filesync.h"

#include "platform/logcategories.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

FileSync::Function g_sync = ::fsync;

} // namespace

bool FileSync::SyncDescriptor(int descriptor)
{
    int result = 0;
    do {
        result = g_sync(descriptor);
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        qCWarning(lcStore) << "sync to disk failed:" << qt_error_string(errno);
    return result == 0;
}

bool FileSync::SyncFolder(const QString &folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        qCWarning(lcStore) << "could not open folder to sync" << folder << qt_error_string(errno);
        return false;
    }
    const bool synced = SyncDescriptor(descriptor);
    ::close(descriptor);
    return synced;
}

FileSync::Function FileSync::Replace(Function sync)
{
    return std::exchange(g_sync, sync);
}
