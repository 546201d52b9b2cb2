#pragma once

#include <QString>

// The lock that keeps two writers of Korvane's data apart. The window holds
// it from start to exit, so a second start hands over instead of working on
// the same files; korvane-cli holds it while it writes. It lives in the data
// folder it protects, whoever starts the program and from where, and the
// kernel drops it the moment its holder ends, however that ends: no lock is
// ever judged by its age or by a process id.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &path = DefaultPath());
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // "korvane.lock" in the data folder.
    static QString DefaultPath();

    // Takes the lock unless another holder has it; never waits. Creates at
    // most the lock file's folder (owner-only) and the empty lock file (0600).
    bool TryLock();
    bool IsLocked() const { return m_descriptor >= 0; }
    // After a failed TryLock: whether another holder has the lock, as opposed
    // to a lock file that could not be opened at all.
    bool IsHeldElsewhere() const { return m_heldElsewhere; }

private:
    QString m_path;
    int m_descriptor = -1;
    bool m_heldElsewhere = false;
};
