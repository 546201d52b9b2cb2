#pragma once

#include <QString>

// Flushing written data to the disk. A write is done only once its sync has
// succeeded: a sync that fails (an I/O error) is a failed write. A call that
// fails leaves errno saying why, so that the caller can tell the user.
namespace FileSync {

bool SyncDescriptor(int descriptor);
// Makes a rename or a new file in the folder durable.
bool SyncFolder(const QString &folder);

// Creates the folder and whatever parents it lacks, each synced into its
// parent so that a file written there next survives a power loss. The folder
// itself is created owner-only (0700); parents get the usual mode.
bool CreateFolder(const QString &folder);

// What the name of every temporary file Korvane writes starts with
// (".korvane-tmp-"): no user file looks like one, so a clean-up can never
// take a user's file for its own.
QString TemporaryPrefix();

// Removes what interrupted writes left in the folder: regular files of the
// current user named with TemporaryPrefix whose writer is gone (a write in
// progress holds its temporary file locked with flock), nothing else.
void RemoveLeftovers(const QString &folder);

// The call that does the flushing (fsync); tests swap in one that fails.
// Returns the one it replaces.
using Function = int (*)(int descriptor);
Function Replace(Function sync);

} // namespace FileSync
