#pragma once

#include "exchange/recordwriter.h"

#include <QList>

// Records as a table for people to read, in UTF-8, every field in its
// visible form (see Utf8Text::WriteVisible): a header line of the column
// names, a line of dashes, and one line per record, each column as wide as
// its widest text, columns two blanks apart. No record: no output at all.
// The widths need every record, so the table is written at the end.
class TableWriter : public RecordWriter
{
public:
    void Begin(QByteArray &) override {}
    void BeginDatabase(int database, QByteArray &out) override;
    void Add(const RegistrationRecord &record, QByteArray &out) override;
    bool TakeDatabase(DatabaseRecords &database) override;
    void End(QByteArray &out, const TextSink &flush) override;

private:
    QList<DatabaseRecords> m_databases;
};
