#include "storedrecords.h"

#include "clicontext.h"
#include "store/databasefiles.h"
#include "store/databasereader.h"

#include <array>
#include <deque>
#include <future>

using namespace Qt::StringLiterals;

namespace {

DatabaseLoad ReadWanted(const QString &path, const RecordFilter &wanted)
{
    if (!wanted)
        return LoadDatabaseFile(path);
    QList<RegistrationRecord> records;
    DatabaseLoad load = VisitDatabaseFile(path, [&](const RegistrationRecord &record) {
        if (!wanted(record))
            return;
        // A copy of its own, so that the buffer the record shares with the
        // others read with it goes, and the next lines reuse its pages.
        std::array<QByteArrayView, RegistrationRecord::FieldCount> fields;
        for (int field = 0; field < RegistrationRecord::FieldCount; ++field)
            fields[std::size_t(field)] = record[RegistrationRecord::Field(field)];
        records.append(RegistrationRecord(fields));
    });
    load.records = std::move(records);
    return load;
}

// The databases' records in turn. Reading a database is mostly decoding it,
// and a machine has at least two cores: two databases are read at once, on
// threads of their own, while the caller works on the one before them.
class DatabaseReads
{
public:
    DatabaseReads(const CliContext &context, const QList<int> &databases, const RecordFilter &wanted)
        : m_context(context)
        , m_databases(databases)
        , m_wanted(wanted)
    {
        for (const int database : databases)
            m_paths.append(DatabaseFiles::DatabaseFilePath(context.DataFolder(), database));
        while (m_reads.size() < ReadsAtOnce && ReadAhead()) {
        }
    }

    // None, after telling the user, when the database could not be read whole.
    std::optional<DatabaseRecords> Next()
    {
        const qsizetype index = m_taken++;
        DatabaseLoad load = m_reads.front().get();
        m_reads.pop_front();
        ReadAhead();
        if (!load.whole) {
            m_context.Message(u"could not read %1 whole: %2"_s.arg(m_paths[index], load.stop));
            return std::nullopt;
        }
        return DatabaseRecords{m_databases[index], std::move(load.records)};
    }

private:
    static constexpr std::size_t ReadsAtOnce = 2;

    bool ReadAhead()
    {
        if (m_started == m_paths.size())
            return false;
        m_reads.push_back(std::async(std::launch::async, ReadWanted, m_paths[m_started++], m_wanted));
        return true;
    }

    const CliContext &m_context;
    QList<int> m_databases;
    RecordFilter m_wanted;
    QStringList m_paths;
    qsizetype m_started = 0;
    qsizetype m_taken = 0;
    std::deque<std::future<DatabaseLoad>> m_reads;
};

} // namespace

std::optional<qsizetype> WriteStoredRecords(const CliContext &context, const QList<int> &databases,
                                            RecordWriter &writer, const TextSink &output, const RecordFilter &wanted,
                                            const RecordApproval &approve)
{
    DatabaseReads reads(context, databases, wanted);
    // Records that need approval are all read before any text is made.
    QList<DatabaseRecords> approved;
    if (approve) {
        for (qsizetype index = 0; index < databases.size(); ++index) {
            std::optional<DatabaseRecords> read = reads.Next();
            if (!read)
                return std::nullopt;
            approved.append(std::move(*read));
        }
        if (!approve(approved))
            return std::nullopt;
    }
    // One small buffer for all the text, emptied whenever it fills: it keeps
    // its room, so its pages are paid for once and stay in the cache.
    QByteArray text;
    writer.Begin(text);
    qsizetype written = 0;
    for (qsizetype index = 0; index < databases.size(); ++index) {
        std::optional<DatabaseRecords> read = approve ? std::move(approved[index]) : reads.Next();
        if (!read)
            return std::nullopt;
        written += read->records.size();
        if (writer.TakeDatabase(*read))
            continue;
        // The database was read whole: its text may go out in pieces.
        writer.BeginDatabase(read->database, text);
        for (const RegistrationRecord &record : read->records) {
            writer.Add(record, text);
            if (text.size() >= RecordWriter::PieceBytes) {
                output(text);
                text.resize(0);
            }
        }
        output(text);
        text.resize(0);
    }
    writer.End(text, output);
    output(text);
    return written;
}
