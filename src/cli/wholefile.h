#pragma once

#include "store/databasereader.h"
#include "store/regularfile.h"

#include <QByteArray>
#include <QString>

#include <optional>

// No file larger than this is read, so that a damaged or foreign file can
// cost neither all memory nor the time to read it: the most a backup holds,
// four databases each as large as the window reads, with room to spare.
inline constexpr qint64 MaxFileBytes = 4 * DatabaseLoad::MaxFileBytes + 1024 * 1024;
// A file to import is held in memory whole while it is read: 40 MiB leaves
// room for the KeePass XML of a full database (about 25 MB as export writes
// it) and keeps an import well within 200 MB.
inline constexpr qint64 MaxImportBytes = 40 * 1024 * 1024;

// Whether a missing file reads as empty content (a database without a file
// is an empty database) or is an error.
enum class MissingFile {
    IsEmpty,
    IsError
};

// The file name that stands for the standard input or output.
inline constexpr QStringView StandardStream = u"-";

// Reads a file whole, StandardStream the standard input: only a regular file (a named pipe or a device would
// never end) no larger than limit, or a missing one where that is allowed.
// None, with the reason in error, when it may not be read or reading fails.
std::optional<QByteArray> ReadWholeFile(const QString &path, MissingFile missing, QString &error,
                                        qint64 limit = MaxFileBytes);
