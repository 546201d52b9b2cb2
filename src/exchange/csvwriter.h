#pragma once

#include "recordwriter.h"

// Records as CSV by RFC 4180, in UTF-8 without a byte order mark: a header
// line of the column names, one line per record, every line ending in CR LF.
// A field that holds a comma, a quote or a line break is quoted, its quotes
// doubled, so every byte comes back on reading.
//
// SpreadsheetSafe gives up exactness for files bound for a spreadsheet: a
// cell that starts with "=", "+", "-", "@", a tab or a carriage return gets
// an apostrophe in front, so it is shown as text and never run as a formula
// (the advice of OWASP on CSV injection). Such a file no longer gives back
// every byte on import.
enum class CsvCells {
    Exact,
    SpreadsheetSafe
};
class CsvWriter : public RecordWriter
{
public:
    explicit CsvWriter(CsvCells cells = CsvCells::Exact)
        : m_cells(cells)
    {}

    void Begin(QByteArray &out) override;
    void BeginDatabase(int database, QByteArray &out) override;
    void Add(const RegistrationRecord &record, QByteArray &out) override;
    void End(QByteArray &, const TextSink &) override {}

private:
    CsvCells m_cells;
    QByteArray m_databaseName;
};

QByteArray WriteCsv(const QList<DatabaseRecords> &databases, CsvCells cells = CsvCells::Exact);
