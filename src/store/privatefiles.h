#pragma once

#include "replacementfile.h"

#include <QByteArray>
#include <QString>

#include <memory>

// Files that hold registration codes: readable by their owner only, written
// whole or not at all, and on the disk once a write reports success.
//
// A write creates its file's folder when it is missing (owner-only access).
// Temporary files are named ".korvane-tmp-XXXXXX"; one left behind by an
// interrupted write is removed at the next write into the same folder.
namespace PrivateFiles {

// What a write does when its path is a symbolic link.
enum class AtLink {
    // Writes the file the link points to; the link stays. A database kept
    // elsewhere through a link keeps working.
    UpdateTarget,
    // Replaces the link itself with the new file; its target is untouched.
    Replace,
};

// Creates the folder (and its parents) if needed and gives the folder itself
// owner-only access, also when it existed with a looser one.
bool EnsureFolder(const QString &folder);

// Writes to a temporary file (mode 0600) beside the target, syncs it to disk,
// renames it over the target and syncs the folder, so the target holds
// either its old or its new content at every moment. Only a regular file (or
// a link, as atLink says) is ever replaced: a folder or FIFO at the path
// makes the write fail. On failure, errorString gets the reason.
bool WriteWhole(const QString &path, QByteArrayView content, AtLink atLink = AtLink::UpdateTarget,
                QString *errorString = nullptr);

// The temporary file that replaces whatever stands at the path once it is
// committed, for content written in pieces; none, with the reason in
// errorString, when the path may not be replaced (as for WriteWhole) or no
// temporary file could be made.
std::unique_ptr<ReplacementFile> StartReplacement(const QString &path, AtLink atLink = AtLink::UpdateTarget,
                                                  QString *errorString = nullptr);

// Gives what must precede appended content, from the file's last bytes.
using Completion = QByteArrayView (*)(QByteArrayView tail);

// Appends the completion (when given) and the content in one write to a
// regular file, created when missing, and syncs it before returning. A write
// or sync that fails cuts the file back to its old length. The file is left
// with owner-only access. On failure, errorString gets the reason.
bool Append(const QString &path, QByteArrayView content, Completion completion = nullptr,
            QString *errorString = nullptr);

// Copies a regular file as WriteWhole writes, replacing whatever file or link
// stands at the destination.
bool Copy(const QString &from, const QString &to);

} // namespace PrivateFiles
