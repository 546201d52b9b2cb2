#include "filedescriptor.h"

#include <cerrno>
#include <unistd.h>

qint64 FileDescriptor::Read(char *data, qint64 maxLength) const
{
    for (;;) {
        const ssize_t count = ::read(m_descriptor, data, size_t(maxLength));
        if (count >= 0 || errno != EINTR)
            return count;
    }
}

bool FileDescriptor::WriteAll(QByteArrayView data) const
{
    while (!data.isEmpty()) {
        const ssize_t written = ::write(m_descriptor, data.data(), size_t(data.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data = data.sliced(written);
    }
    return true;
}

bool FileDescriptor::Close()
{
    if (m_descriptor < 0)
        return true;
    // Retrying close after EINTR could close a descriptor opened meanwhile.
    return ::close(std::exchange(m_descriptor, -1)) == 0;
}
