#include "recordwriter.h"

QByteArray RecordWriter::WriteAll(const QList<DatabaseRecords> &databases)
{
    QByteArray out;
    Begin(out);
    for (const DatabaseRecords &database : databases) {
        BeginDatabase(database.database, out);
        for (const RegistrationRecord &record : database.records)
            Add(record, out);
    }
    QByteArray flushed;
    End(out, [&flushed](QByteArrayView text) { flushed += text; });
    return flushed + out;
}
