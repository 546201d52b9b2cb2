#include "databasefiles.h"

#include <QDir>

using namespace Qt::StringLiterals;

bool DatabaseFiles::IsDatabaseNumber(int number)
{
    return number >= 1 && number <= Count;
}

QString DatabaseFiles::Stem(int number)
{
    return u"sdb"_s + QString::number(number);
}

QString DatabaseFiles::DatabaseFilePath(const QString &folder, int number)
{
    return QDir(folder).filePath(Stem(number) + u".ppd"_s);
}

QString DatabaseFiles::BackupFilePath(const QString &folder, int number)
{
    return QDir(folder).filePath(Stem(number) + u".bak"_s);
}
