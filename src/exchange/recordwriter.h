#pragma once

#include "databaserecords.h"

#include <QByteArray>
#include <QList>

#include <functional>

// Where finished text goes, piece by piece.
using TextSink = std::function<void(QByteArrayView text)>;

// A file format written record by record, so that a listing of four full
// databases never needs all their records at once. Each call appends its
// text to out, which the caller may write away and empty between calls.
class RecordWriter
{
public:
    // How much text is handed on at once: large enough that writing costs
    // few calls, small enough to stay in the cache.
    static constexpr qsizetype PieceBytes = 256 * 1024;

    virtual ~RecordWriter() = default;

    // What comes before the first record: a header line, an opening bracket.
    virtual void Begin(QByteArray &out) = 0;
    // Databases come one after another, each one's records in file order.
    virtual void BeginDatabase(int database, QByteArray &out) = 0;
    virtual void Add(const RegistrationRecord &record, QByteArray &out) = 0;
    // A writer that keeps every record until End may take a database's
    // records whole instead of one by one, and says so: a table of four full
    // databases would otherwise copy 131,068 records.
    virtual bool TakeDatabase(DatabaseRecords &) { return false; }
    // What closes the file. A writer that keeps its records until the end
    // writes them here, and hands each large piece to flush on the way and
    // empties out, so that its text is never held whole.
    virtual void End(QByteArray &out, const TextSink &flush) = 0;

    // The whole file at once.
    QByteArray WriteAll(const QList<DatabaseRecords> &databases);
};
