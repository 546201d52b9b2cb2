#pragma once

#include "store/databasereader.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

// Only regular files are read: a named pipe or a device would never end. Nor
// is a file larger than MaxFileBytes, so that a damaged or foreign file can
// cost neither all memory nor the time to read it: the most a backup holds,
// four databases each as large as the window reads, with room to spare.
inline constexpr qint64 MaxFileBytes = 4 * DatabaseLoad::MaxFileBytes + 1024 * 1024;
enum class FileState {
    Missing,
    Open,
    // Not a regular file, or it cannot be opened; the error says why.
    Unreadable,
};
FileState OpenRegularFile(QFile &file, QString &error);

// Reads a file whole. A missing file reads as empty content when missing
// files are allowed (a database without a file is an empty database). None,
// with the reason in error, when the file cannot be read.
enum class MissingFile {
    IsEmpty,
    IsError
};
std::optional<QByteArray> ReadWholeFile(const QString &path, MissingFile missing, QString &error);
