#pragma once

#include "exchange/exportcontainer.h"

#include <QString>

#include <optional>

// A backup holds all four databases in the export container's layout, only
// without its 32,768-byte limit: a size field may claim up to FFFFFFFF bytes.
// The window's Import refuses such a file when it passes the limit, so
// backups never take the export file's name.
namespace BackupFile {

// None when a database is too large for eight hex digits.
std::optional<QByteArray> Make(const ExportContainer::Databases &databases);

// The four databases of a backup. None, with the reason in error, unless the
// file is one whole backup: the container's magic text, valid sizes, and
// exactly as many bytes as the sizes claim.
std::optional<ExportContainer::Databases> Read(QByteArrayView backup, QString &error);

} // namespace BackupFile
