#include "replacementfile.h"

#include "filesync.h"
#include "platform/logcategories.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray TemporaryTemplate(const QByteArray &target)
{
    return target + ".XXXXXX";
}

} // namespace

ReplacementFile::ReplacementFile(const QString &target)
    : m_target(QFile::encodeName(target))
    , m_temporary(TemporaryTemplate(m_target))
    , m_file(::mkostemp(m_temporary.data(), O_CLOEXEC))
    , m_created(m_file.IsValid())
{
    if (!m_created)
        qCWarning(lcStore) << "could not create a temporary file for" << target << qt_error_string(errno);
}

ReplacementFile::~ReplacementFile()
{
    m_file.Close();
    if (m_created && !m_renamed)
        ::unlink(m_temporary.constData());
}

bool ReplacementFile::Write(QByteArrayView data)
{
    if (IsOpen() && m_file.WriteAll(data))
        return true;
    qCWarning(lcStore) << "could not write" << QFile::decodeName(m_target) << qt_error_string(errno);
    return false;
}

bool ReplacementFile::Commit()
{
    if (!IsOpen() || !FileSync::SyncDescriptor(m_file.Get()))
        return false;
    if (!m_file.Close() || ::rename(m_temporary.constData(), m_target.constData()) != 0) {
        qCWarning(lcStore) << "could not put" << QFile::decodeName(m_target) << "in place" << qt_error_string(errno);
        return false;
    }
    m_renamed = true;
    return FileSync::SyncFolder(QFileInfo(QFile::decodeName(m_target)).path());
}
