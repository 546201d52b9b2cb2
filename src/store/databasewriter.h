#pragma once

#include "registrationrecord.h"

#include <QList>
#include <QString>

// The two ways a database file changes. Both report success for tests and
// logs only: the user is never told of a failed write. A write that reports
// success is on the disk; one that fails leaves the file's old content.
// Either leaves the data folder and the file owner-only.

// Appends one encoded line (without the plain line break) and CR LF in a
// single write; a missing file and folder are created. When the file does
// not end in a line end, the line is completed first, so every line that
// read before reads the same afterwards.
bool AppendRecord(const QString &path, const RegistrationRecord &record);

// Appends several records, each line exactly as AppendRecord writes it, in
// one write: either all of them land or none. On failure, errorString gets
// the system's reason.
bool AppendRecords(const QString &path, const QList<RegistrationRecord> &records, QString *errorString = nullptr);

// Rewrites the whole file from the records, in their order, each plain line
// ending in CR LF before it is encoded. The old content is copied to the
// backup path first; the backup is removed only once the new content is
// safely on disk. A missing database file is left missing.
bool RewriteDatabase(const QString &path, const QString &backupPath, const QList<RegistrationRecord> &records);

// The file content a rewrite writes.
QByteArray FormatDatabase(const QList<RegistrationRecord> &records);
