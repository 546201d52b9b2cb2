#pragma once

#include "store/regularfile.h"
#include "wholefile.h"

#include <QString>

#include <memory>
#include <optional>

// A file, or the standard input, read once from front to back in pieces, and
// never past a limit: a pipe without end or a huge file costs neither memory
// nor unbounded time. Only a regular file is read, as ReadWholeFile reads.
class ByteSource
{
public:
    ByteSource(const QString &path, MissingFile missing, qint64 limit = MaxFileBytes);

    // Whether it may be read; else Error says why.
    bool IsOpen() const { return m_error.isEmpty(); }
    // A regular file's size when it was opened (0 when missing); none for
    // the standard input.
    std::optional<qint64> Size() const;
    // Up to maxLength bytes; 0 at the end, -1 on a read error or past the
    // limit, with Error saying which.
    qint64 Read(char *data, qint64 maxLength);
    // How many bytes were read so far.
    qint64 Position() const { return m_position; }
    QString Error() const { return m_error; }

private:
    QString m_path;
    std::unique_ptr<RegularFile> m_file;
    qint64 m_limit;
    qint64 m_position = 0;
    QString m_error;
};
