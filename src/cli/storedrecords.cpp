#include "storedrecords.h"

#include "clicontext.h"
#include "store/databasefiles.h"
#include "store/databasereader.h"

using namespace Qt::StringLiterals;

std::optional<QList<DatabaseRecords>> ReadStoredRecords(const CliContext &context, const QList<int> &databases)
{
    QList<DatabaseRecords> read;
    for (const int database : databases) {
        const QString path = DatabaseFiles::DatabaseFilePath(context.DataFolder(), database);
        DatabaseLoad load = LoadDatabaseFile(path);
        if (!load.whole) {
            context.Message(u"could not read %1 whole: %2"_s.arg(path, load.stop));
            return std::nullopt;
        }
        read.append({database, std::move(load.records)});
    }
    return read;
}
