#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reads a file whole. A missing file reads as empty content when missing
// files are allowed (a database without a file is an empty database). Only
// regular files are read: a named pipe or a device would never end. None,
// with the reason in error, when the file cannot be read.
enum class MissingFile {
    IsEmpty,
    IsError
};
std::optional<QByteArray> ReadWholeFile(const QString &path, MissingFile missing, QString &error);

// Whether the file is missing, or a regular file that can be opened: what a
// database file must be before the store reads it. When not, error says why.
bool IsReadableDatabase(const QString &path, QString &error);
