#include "databasewalk.h"

#include "mappedfile.h"
#include "store/databasefiles.h"
#include "store/databasescan.h"

#include <memory>

std::optional<QList<DatabaseWalk>> OpenDatabaseWalks(const QString &dataFolder, const QList<int> &databases,
                                                     QString &error)
{
    QList<DatabaseWalk> opened;
    for (const int database : databases) {
        const QString path = DatabaseFiles::DatabaseFilePath(dataFolder, database);
        auto file = std::make_shared<const MappedFile>(path);
        if (!file->IsReadable()) {
            error = file->Error();
            return std::nullopt;
        }
        opened.append({database, [file](const RecordVisitor &visit) { ForEachRecord(file->Content(), visit); }});
    }
    return opened;
}

QList<DatabaseWalk> WalksOver(const QList<DatabaseRecords> &databases)
{
    QList<DatabaseWalk> walks;
    for (const DatabaseRecords &database : databases) {
        walks.append({database.database, [&database](const RecordVisitor &visit) {
                          for (const RegistrationRecord &record : database.records)
                              visit(record);
                      }});
    }
    return walks;
}
