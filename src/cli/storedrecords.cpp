#include "storedrecords.h"

#include "clicontext.h"
#include "store/databasefiles.h"
#include "store/databasereader.h"

#include <future>

using namespace Qt::StringLiterals;

namespace {

DatabaseLoad ReadWanted(const QString &path, const RecordFilter &wanted)
{
    if (!wanted)
        return LoadDatabaseFile(path);
    QList<RegistrationRecord> records;
    DatabaseLoad load = VisitDatabaseFile(path, [&](RegistrationRecord record) {
        if (wanted(record))
            records.append(std::move(record));
    });
    load.records = std::move(records);
    return load;
}

} // namespace

std::optional<qsizetype> WriteStoredRecords(const CliContext &context, const QList<int> &databases,
                                            RecordWriter &writer, const TextSink &output, const RecordFilter &wanted)
{
    QStringList paths;
    for (const int database : databases)
        paths.append(DatabaseFiles::DatabaseFilePath(context.DataFolder(), database));
    const auto readAhead = [&](qsizetype index) {
        return std::async(std::launch::async, ReadWanted, paths[index], wanted);
    };
    // Reading a database is mostly decoding it: the next one is read on a
    // second thread while this one is written.
    std::future<DatabaseLoad> next = readAhead(0);
    // One small buffer for all the text, emptied whenever it fills: it keeps
    // its room, so its pages are paid for once and stay in the cache.
    QByteArray text;
    writer.Begin(text);
    qsizetype written = 0;
    for (qsizetype index = 0; index < paths.size(); ++index) {
        const DatabaseLoad load = next.get();
        if (index + 1 < paths.size())
            next = readAhead(index + 1);
        if (!load.whole) {
            context.Message(u"could not read %1 whole: %2"_s.arg(paths[index], load.stop));
            return std::nullopt;
        }
        // The database was read whole: its text may go out in pieces.
        writer.BeginDatabase(databases[index], text);
        for (const RegistrationRecord &record : load.records) {
            writer.Add(record, text);
            if (text.size() >= RecordWriter::PieceBytes) {
                output(text);
                text.resize(0);
            }
        }
        written += load.records.size();
        output(text);
        text.resize(0);
    }
    writer.End(text, output);
    output(text);
    return written;
}
