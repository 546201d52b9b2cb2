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

// Whether a missing file reads as empty content (a database without a file
// is an empty database) or is an error.
enum class MissingFile {
    IsEmpty,
    IsError
};

// Whether the file at path, opened as file, may be read: only a regular file
// (a named pipe or a device would never end) no larger than MaxFileBytes, or
// a missing one where that is allowed. False, with the reason in error, when
// not.
bool MayRead(const RegularFile &file, const QString &path, MissingFile missing, QString &error);

// Reads a file whole. None, with the reason in error, when it may not be read
// or reading fails.
std::optional<QByteArray> ReadWholeFile(const QString &path, MissingFile missing, QString &error);
