#pragma once

#include "exchange/exportcontainer.h"

#include <QString>

#include <optional>

// A backup holds all four databases in the export container's layout, only
// without its 32,768-byte limit: a size field may claim up to FFFFFFFF bytes.
// The window's Import refuses such a file when it passes the limit, so
// backups never take the export file's name.
//
// A backup is written and read as a stream, the head first and then each
// database's bytes, so neither side ever holds a whole database.
namespace BackupFile {

using Sizes = ExportContainer::Sizes;

// The head's length: the container header and the four size fields.
inline constexpr qsizetype HeadLength = ExportContainer::ContentOffset;

// The head of a backup of four databases of these sizes. None when one is
// too large for eight hex digits.
std::optional<QByteArray> Head(const Sizes &sizes);

// The four sizes from a backup's first HeadLength bytes (all of them, should
// the file be shorter). None, with the reason in error, unless the bytes
// start as a backup and hold four valid sizes.
std::optional<Sizes> ReadHead(QByteArrayView head, QString &error);

// How long a whole backup with these sizes is.
qint64 Length(const Sizes &sizes);

// Why a backup is refused whose sizes claim one length while the file has
// another.
QString LengthMismatch(qint64 claimed, qint64 actual);

} // namespace BackupFile
