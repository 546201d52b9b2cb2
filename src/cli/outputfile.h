#pragma once

#include "exitcode.h"

#include <QByteArray>
#include <QString>

class CliContext;

// Writes a command's data to the standard output (no file, or "-"), or, when
// a file is named, whole and owner-only to that file (it holds registration
// codes). A pipe, FIFO or device at the name, or a link to one, is written in
// place. A file
// name that is one of the database files or their backups is refused, so a
// slip of the hand cannot overwrite the data the command reads. An existing
// file, or a link to one, is replaced only when asked.
enum class Existing {
    Keep,
    Replace,
};
ExitCode WriteOutput(const CliContext &context, const QString &file, const QByteArray &content, Existing existing);

// Whether the path names a database file or its backup in the data folder,
// also through a link or another spelling of the path.
bool IsDatabaseFile(const QString &dataFolder, const QString &path);
