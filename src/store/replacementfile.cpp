#include "replacementfile.h"

#include "platform/filesync.h"
#include "platform/logcategories.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray TemporaryTemplate(const QString &target)
{
    return QFile::encodeName(QFileInfo(target).dir().filePath(FileSync::TemporaryPrefix() + u"XXXXXX"_s));
}

// Creates the temporary file and locks it for as long as it is open, so that
// the clean-up of another writer never takes it for a leftover. Should such a
// clean-up remove it before the lock is taken, a new one is made.
int CreateLockedTemporary(QByteArray &path, const QByteArray &pattern)
{
    constexpr int Attempts = 8;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        path = pattern;
        const int descriptor = ::mkostemp(path.data(), O_CLOEXEC);
        if (descriptor < 0)
            return -1;
        struct stat opened = {};
        struct stat named = {};
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && ::fstat(descriptor, &opened) == 0
            && ::lstat(path.constData(), &named) == 0 && opened.st_ino == named.st_ino && opened.st_dev == named.st_dev)
            return descriptor;
        ::close(descriptor);
    }
    errno = EEXIST;
    return -1;
}

} // namespace

ReplacementFile::ReplacementFile(const QString &target)
    : m_target(QFile::encodeName(target))
    , m_file(CreateLockedTemporary(m_temporary, TemporaryTemplate(target)))
    , m_created(m_file.IsValid())
{
    if (!m_created)
        Fail("could not create a temporary file for");
}

ReplacementFile::~ReplacementFile()
{
    m_file.Close();
    if (m_created && !m_renamed)
        ::unlink(m_temporary.constData());
}

bool ReplacementFile::Write(QByteArrayView data)
{
    if (!IsOpen())
        return false;
    return m_file.WriteAll(data) || Fail("could not write");
}

bool ReplacementFile::Commit()
{
    if (!IsOpen())
        return false;
    if (!FileSync::SyncDescriptor(m_file.Get()))
        return Fail("could not sync");
    if (!m_file.Close() || ::rename(m_temporary.constData(), m_target.constData()) != 0)
        return Fail("could not put in place");
    m_renamed = true;
    return FileSync::SyncFolder(QFileInfo(QFile::decodeName(m_target)).path()) || Fail("could not sync the folder of");
}

QString ReplacementFile::ErrorString() const
{
    return m_error == 0 ? QString() : qt_error_string(m_error);
}

// Keeps the reason of the first failure, the one the user is told.
bool ReplacementFile::Fail(const char *what)
{
    const int error = errno;
    if (m_error == 0)
        m_error = error;
    qCWarning(lcStore) << what << QFile::decodeName(m_target) << qt_error_string(error);
    return false;
}
