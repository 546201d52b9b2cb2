#pragma once

#include <QByteArrayView>

// An open POSIX file descriptor, closed when it goes out of scope. The store
// works at this level where Qt offers no way to sync, to refuse a FIFO
// without blocking, or to create a file that never had a looser mode.
class FileDescriptor
{
public:
    explicit FileDescriptor(int descriptor = -1)
        : m_descriptor(descriptor)
    {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    bool IsValid() const { return m_descriptor >= 0; }
    int Get() const { return m_descriptor; }

    // Up to maxLength bytes; 0 at the end of the file, -1 on an error.
    qint64 Read(char *data, qint64 maxLength) const;
    // All of data, however many calls it takes.
    bool WriteAll(QByteArrayView data) const;
    // False when closing reported an error (data may not have been written).
    bool Close();

private:
    int m_descriptor;
};
