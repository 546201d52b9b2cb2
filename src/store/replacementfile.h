#pragma once

#include "filedescriptor.h"

#include <QByteArray>
#include <QString>

// The new content of a file, written to a temporary file beside it
// (".korvane-tmp-XXXXXX", created with mode 0600 and locked while it is
// written) until Commit puts it in place. Destroyed without a successful
// Commit, it removes the temporary file and the target keeps its old content.
class ReplacementFile
{
public:
    // The target path is taken as it is: a link there is replaced, not
    // followed.
    explicit ReplacementFile(const QString &target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;

    bool IsOpen() const { return m_file.IsValid(); }
    // The path the content goes to, in the file system's encoding.
    const QByteArray &Target() const { return m_target; }
    bool Write(QByteArrayView data);
    // Syncs the content to disk, renames it over the target and syncs the
    // folder. Any step that fails fails the write; the rename happens only
    // after a successful sync.
    bool Commit();
    // The system's reason for the first step that failed ("File too large"),
    // empty while none has.
    QString ErrorString() const;

private:
    bool Fail(const char *what);

    QByteArray m_target;
    QByteArray m_temporary;
    FileDescriptor m_file;
    bool m_created = false;
    bool m_renamed = false;
    int m_error = 0;
};
