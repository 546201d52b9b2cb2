#include "bytesource.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

using namespace Qt::StringLiterals;

ByteSource::ByteSource(const QString &path, MissingFile missing, qint64 limit)
    : m_path(path)
    , m_limit(limit)
{
    if (path == StandardStream)
        return;
    m_file = std::make_unique<RegularFile>(path);
    switch (m_file->State()) {
    case RegularFile::Status::Missing:
        if (missing == MissingFile::IsError)
            m_error = u"%1 does not exist"_s.arg(path);
        return;
    case RegularFile::Status::Unreadable:
        m_error = u"cannot read %1: it is not a regular file, or you may not read it"_s.arg(path);
        return;
    case RegularFile::Status::Open:
        break;
    }
    if (m_file->Size() > limit)
        m_error = u"%1 is larger than the %2 MiB korvane-cli reads of such a file"_s.arg(path).arg(limit >> 20);
}

std::optional<qint64> ByteSource::Size() const
{
    if (!m_file)
        return std::nullopt;
    return m_file->IsOpen() ? m_file->Size() : 0;
}

qint64 ByteSource::Read(char *data, qint64 maxLength)
{
    if (!IsOpen())
        return -1;
    if (m_file && !m_file->IsOpen())
        return 0;
    // One byte past the limit is asked for, to tell a source that ends at
    // the limit from one that goes on.
    const qint64 wanted = std::min(maxLength, m_limit + 1 - m_position);
    qint64 count = 0;
    if (m_file) {
        count = m_file->Read(data, wanted);
    } else {
        do {
            count = ::read(STDIN_FILENO, data, size_t(wanted));
        } while (count < 0 && errno == EINTR);
    }
    if (count < 0) {
        m_error =
            m_file ? u"cannot read %1"_s.arg(m_path) : u"cannot read the standard input: "_s + qt_error_string(errno);
        return -1;
    }
    m_position += count;
    if (m_position > m_limit) {
        m_error =
            m_file ? u"%1 is larger than the %2 MiB korvane-cli reads of such a file"_s.arg(m_path).arg(m_limit >> 20)
                   : u"the standard input holds more than the %1 MiB korvane-cli reads of such a file"_s.arg(m_limit
                                                                                                             >> 20);
        return -1;
    }
    return count;
}
