#pragma once

#include "replacementfile.h"

#include <memory>
#include <vector>

// Replacement files put in place as one set: when one of them cannot be,
// those put in place before it get their old files back, so the set is never
// half replaced. Destroyed without a successful CommitAll, nothing changes.
class ReplacementSet
{
public:
    ReplacementSet() = default;
    ~ReplacementSet();
    ReplacementSet(const ReplacementSet &) = delete;
    ReplacementSet &operator=(const ReplacementSet &) = delete;

    void Add(std::unique_ptr<ReplacementFile> file);
    bool CommitAll();

private:
    // A second name for each target's old file, kept until the set is in
    // place; empty where there was no old file.
    bool KeepOldFiles();
    void PutOldFilesBack(std::size_t count);
    void ForgetOldFiles();

    std::vector<std::unique_ptr<ReplacementFile>> m_files;
    std::vector<QByteArray> m_oldFiles;
};
