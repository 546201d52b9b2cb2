#pragma once

#include <QString>

// Flushing written data to the disk. A write is done only once its sync has
// succeeded: a sync that fails (an I/O error) is a failed write.
namespace FileSync {

bool SyncDescriptor(int descriptor);
// Makes a rename or a new file in the folder durable.
bool SyncFolder(const QString &folder);

// The call that does the flushing (fsync); tests swap in one that fails.
// Returns the one it replaces.
using Function = int (*)(int descriptor);
Function Replace(Function sync);

} // namespace FileSync
