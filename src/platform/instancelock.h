#pragma once

#include <QLockFile>
#include <QString>

// The per-user lock of Korvane's data. The window holds it while it runs, so
// a second start hands over instead of working on the same files, and the
// command-line tool refuses to write while it is held. It lives in the
// runtime folder, never in the data folder.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &path = DefaultPath());

    // "korvane.lock" in the user's runtime folder.
    static QString DefaultPath();

    // Takes the lock unless a running process holds it. A lock left behind
    // by a process that is gone (a crash, a kill) never blocks.
    bool TryLock();
    bool IsLocked() const { return m_file.isLocked(); }
    // After a failed TryLock: whether a running process holds the lock, as
    // opposed to a lock file that could not be written at all.
    bool IsHeldElsewhere() const { return m_file.error() == QLockFile::LockFailedError; }

private:
    QLockFile m_file;
};
