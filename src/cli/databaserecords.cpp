#include "databaserecords.h"

#include "parallelmap.h"
#include "store/databasefiles.h"
#include "store/databasereader.h"
#include "wholefile.h"

namespace {

struct DatabaseRead
{
    DatabaseRecords records;
    bool read = false;
    QString error;
};

DatabaseRead ReadDatabase(const QString &dataFolder, int database)
{
    DatabaseRead result{{database, {}}, false, {}};
    const QString path = DatabaseFiles::DatabaseFilePath(dataFolder, database);
    if (IsReadableDatabase(path, result.error)) {
        result.records.records = ReadDatabaseFile(path);
        result.read = true;
    }
    return result;
}

} // namespace

std::optional<QList<DatabaseRecords>> ReadDatabaseRecords(const QString &dataFolder, const QList<int> &databases,
                                                          QString &error)
{
    QList<DatabaseRead> reads =
        ParallelMap(databases, [&dataFolder](int database) { return ReadDatabase(dataFolder, database); });
    QList<DatabaseRecords> result;
    std::optional<QString> firstError;
    for (DatabaseRead &read : reads) {
        if (!read.read && !firstError)
            firstError = read.error;
        result.append(std::move(read.records));
    }
    if (firstError) {
        error = *firstError;
        return std::nullopt;
    }
    return result;
}

qsizetype RecordCount(const QList<DatabaseRecords> &databases)
{
    qsizetype count = 0;
    for (const DatabaseRecords &database : databases)
        count += database.records.size();
    return count;
}
