#pragma once

#include <QByteArray>
#include <QString>

// Files that hold registration codes: readable by their owner only, written
// whole or not at all.
namespace PrivateFiles {

// Creates the folder (and its parents) if needed; the folder itself gets
// owner-only access.
bool EnsureFolder(const QString &folder);

// Writes to a temporary file beside the target, flushes it to disk and
// renames it over the target, so the target holds either its old or its new
// content at every moment.
bool WriteWhole(const QString &path, QByteArrayView content);

// Appends in one write; a write that fails half-way is cut back off.
bool Append(const QString &path, QByteArrayView content);

// A copy that replaces any older file of that name.
bool Copy(const QString &from, const QString &to);

} // namespace PrivateFiles
