#include "databaserecords.h"

#include "databasewalk.h"
#include "parallelmap.h"

std::optional<QList<DatabaseRecords>>
ReadDatabaseRecords(const QString &dataFolder, const QList<int> &databases, QString &error,
                    const std::function<bool(const RegistrationRecord &record)> &selection)
{
    const std::optional<QList<DatabaseWalk>> walks = OpenDatabaseWalks(dataFolder, databases, error);
    if (!walks)
        return std::nullopt;
    return ParallelMap(*walks, [&selection](const DatabaseWalk &walk) {
        DatabaseRecords taken{walk.database, {}};
        walk.walk([&](const RegistrationRecord &record) {
            if (!selection || selection(record))
                taken.records.append(record);
        });
        return taken;
    });
}

qsizetype RecordCount(const QList<DatabaseRecords> &databases)
{
    qsizetype count = 0;
    for (const DatabaseRecords &database : databases)
        count += database.records.size();
    return count;
}
