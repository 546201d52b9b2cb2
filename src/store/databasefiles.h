#pragma once

#include <QString>

// The four databases and where their files lie in the data folder:
// database n is "sdb<n>.ppd", its backup during a rewrite "sdb<n>.bak".
namespace DatabaseFiles {

inline constexpr int Count = 4;

bool IsDatabaseNumber(int number);

// What the window's database buttons call database n in their tool tips:
// "Work applications", "Games", "Tools", "Miscelaneous".
QString DisplayName(int number);

// "sdb" and the number: the file name without its suffix.
QString Stem(int number);

QString DatabaseFilePath(const QString &folder, int number);
QString BackupFilePath(const QString &folder, int number);

// Makes the data folder ready for a write: creates it or makes it private,
// and removes what interrupted writes left there.
bool PrepareFolder(const QString &folder);

} // namespace DatabaseFiles
