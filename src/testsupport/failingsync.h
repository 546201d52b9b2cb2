#pragma once

#include "platform/filesync.h"

#include <cerrno>

// Makes every sync to disk after the first `succeeding` ones fail with an I/O
// error, as a failing disk would, for as long as it lives.
class FailingSync
{
public:
    explicit FailingSync(int succeeding = 0)
    {
        s_succeeding = succeeding;
        s_calls = 0;
        m_previous = FileSync::Replace(&Sync);
    }
    ~FailingSync() { FileSync::Replace(m_previous); }
    FailingSync(const FailingSync &) = delete;
    FailingSync &operator=(const FailingSync &) = delete;

    static int Calls() { return s_calls; }

private:
    static int Sync(int)
    {
        if (++s_calls <= s_succeeding)
            return 0;
        errno = EIO;
        return -1;
    }

    static inline int s_succeeding = 0;
    static inline int s_calls = 0;
    FileSync::Function m_previous = nullptr;
};
