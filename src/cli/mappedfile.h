#pragma once

#include "store/regularfile.h"

#include <QByteArrayView>
#include <QFile>
#include <QString>

// A database file's content as the system maps it into memory, read without
// a copy: four full databases are 34 MB, and a fresh copy of them costs more
// than decoding them. A missing file is empty content.
class MappedFile
{
public:
    explicit MappedFile(const QString &path);
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    // False when the path is not a regular file or cannot be read; Error()
    // then says why.
    bool IsReadable() const { return m_error.isEmpty(); }
    QString Error() const { return m_error; }
    QByteArrayView Content() const { return m_content; }

private:
    RegularFile m_regular;
    // The regular file's descriptor, for mapping.
    QFile m_file;
    uchar *m_mapped = nullptr;
    // Where the system cannot map the file, it is read instead.
    QByteArray m_read;
    QByteArrayView m_content;
    QString m_error;
};
