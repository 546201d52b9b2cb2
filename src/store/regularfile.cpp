#include "regularfile.h"

#include "platform/logcategories.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

RegularFile::RegularFile(const QString &path)
    : m_file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC))
{
    if (!m_file.IsValid()) {
        m_status = errno == ENOENT ? Status::Missing : Status::Unreadable;
        if (m_status == Status::Unreadable)
            qCDebug(lcStore) << "could not open" << path << qt_error_string(errno);
        return;
    }
    struct stat info = {};
    if (::fstat(m_file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        qCWarning(lcStore) << "not a regular file, not read:" << path;
        m_status = Status::Unreadable;
        return;
    }
    m_status = Status::Open;
    m_size = info.st_size;
}

qint64 RegularFile::Read(char *data, qint64 maxLength) const
{
    return IsOpen() ? m_file.Read(data, maxLength) : -1;
}

std::optional<QByteArray> RegularFile::ReadUpTo(qint64 maxLength) const
{
    constexpr qint64 Chunk = 64 * 1024;
    QByteArray content;
    while (content.size() < maxLength) {
        const qsizetype start = content.size();
        content.resize(start + qsizetype(std::min(Chunk, maxLength - start)));
        const qint64 count = Read(content.data() + start, content.size() - start);
        if (count < 0)
            return std::nullopt;
        content.resize(start + qsizetype(count));
        if (count == 0)
            break;
    }
    return content;
}
