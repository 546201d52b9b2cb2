#include "storedrecords.h"

#include "clicontext.h"
#include "store/databasefiles.h"
#include "store/databasereader.h"

#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

std::optional<QList<DatabaseRecords>> ReadStoredRecords(const CliContext &context, const QList<int> &databases)
{
    QStringList paths;
    for (const int database : databases)
        paths.append(DatabaseFiles::DatabaseFilePath(context.DataFolder(), database));
    // Reading a database is mostly decoding it, and databases share nothing:
    // each is read on a thread of its own, which halves "all" on two cores.
    std::vector<DatabaseLoad> loads(std::size_t(paths.size()));
    {
        std::vector<std::jthread> readers;
        for (qsizetype index = 1; index < paths.size(); ++index)
            readers.emplace_back(
                [&loads, &paths, index] { loads[std::size_t(index)] = LoadDatabaseFile(paths[index]); });
        if (!paths.isEmpty())
            loads[0] = LoadDatabaseFile(paths[0]);
    }
    QList<DatabaseRecords> read;
    for (qsizetype index = 0; index < paths.size(); ++index) {
        DatabaseLoad &load = loads[std::size_t(index)];
        if (!load.whole) {
            context.Message(u"could not read %1 whole: %2"_s.arg(paths[index], load.stop));
            return std::nullopt;
        }
        read.append({databases[index], std::move(load.records)});
    }
    return read;
}
