#pragma once

#include "filedescriptor.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A file opened for reading only when it is a regular file. Anything else at
// the path (a FIFO, a device, a folder) is unreadable, and opening never
// waits: a plain open of a FIFO without a writer would block for ever.
class RegularFile
{
public:
    enum class Status {
        Open,
        Missing,
        Unreadable,
    };

    explicit RegularFile(const QString &path);

    Status State() const { return m_status; }
    bool IsOpen() const { return m_status == Status::Open; }
    // Of an open file, as it was when opened.
    qint64 Size() const { return m_size; }
    int Descriptor() const { return m_file.Get(); }

    // Up to maxLength bytes from the current position; 0 at the end of the
    // file, -1 on a read error.
    qint64 Read(char *data, qint64 maxLength) const;

    // The file from the current position on, but never more than maxLength
    // bytes; none on a read error.
    std::optional<QByteArray> ReadUpTo(qint64 maxLength) const;

private:
    FileDescriptor m_file;
    Status m_status = Status::Missing;
    qint64 m_size = 0;
};
