#include "databasefiles.h"

#include "platform/filesync.h"
#include "privatefiles.h"

#include <QDir>

using namespace Qt::StringLiterals;

bool DatabaseFiles::IsDatabaseNumber(int number)
{
    return number >= 1 && number <= Count;
}

QString DatabaseFiles::DisplayName(int number)
{
    static const QString Names[Count] = {u"Work applications"_s, u"Games"_s, u"Tools"_s, u"Miscelaneous"_s};
    Q_ASSERT(IsDatabaseNumber(number));
    return Names[number - 1];
}

QString DatabaseFiles::Stem(int number)
{
    return u"sdb"_s + QString::number(number);
}

namespace {

QString DatabaseFileName(int number)
{
    return DatabaseFiles::Stem(number) + u".ppd"_s;
}

QString BackupFileName(int number)
{
    return DatabaseFiles::Stem(number) + u".bak"_s;
}

} // namespace

QString DatabaseFiles::DatabaseFilePath(const QString &folder, int number)
{
    return QDir(folder).filePath(DatabaseFileName(number));
}

QString DatabaseFiles::BackupFilePath(const QString &folder, int number)
{
    return QDir(folder).filePath(BackupFileName(number));
}

bool DatabaseFiles::PrepareFolder(const QString &folder)
{
    if (!PrivateFiles::EnsureFolder(folder))
        return false;
    FileSync::RemoveLeftovers(folder);
    return true;
}
