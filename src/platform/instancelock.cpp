#include "instancelock.h"

#include "logcategories.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

InstanceLock::InstanceLock(const QString &path)
    : m_file(path)
{
    // Never judge a lock by its age: a window may run for weeks. Whether its
    // owner still runs is what counts, and QLockFile checks that by itself.
    m_file.setStaleLockTime(0);
}

QString InstanceLock::DefaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)).filePath(u"korvane.lock"_s);
}

bool InstanceLock::TryLock()
{
    if (m_file.isLocked())
        return true;
    if (m_file.tryLock(0))
        return true;
    qCDebug(lcPlatform) << "lock held elsewhere or not writable, error" << m_file.error();
    return false;
}
