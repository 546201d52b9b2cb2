#pragma once

#include "registrationrecord.h"

#include <QList>
#include <QString>

#include <functional>

// Reads the records of a database file, in file order. A missing or empty
// file is an empty database; empty lines are skipped. A damaged line still
// gives a record (empty fields where nothing could be read), so one bad line
// never costs the others.
//
// Whatever lies at the path, reading ends in bounded time and memory:
//   - only a regular file is read, and opening never waits (a FIFO is
//     unreadable, not a start-up that hangs);
//   - at most MaxRecords records, the most the record list holds;
//   - at most MaxFileBytes of the file, eight times a full database of
//     typical records (about 8 MB), so the records' text stays below 32 MiB;
//   - no line longer than MaxLineBytes, more than twice the longest line the
//     window can write (six fields of 32,767 characters), so the read buffer
//     stays small.
// Reading stops early at the first of these bounds it meets, at a read error
// or at anything that is not a regular file; the load then says so, and its
// records are only part of the database.
struct DatabaseLoad
{
    static constexpr qsizetype MaxRecords = 32767;
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
    static constexpr qsizetype MaxLineBytes = 1024 * 1024;

    QList<RegistrationRecord> records;
    // False when reading stopped before the end of the file. Such a partial
    // list must never be written back over the file.
    bool whole = true;
    // Why and where reading stopped early, for a message: "line 32,768: more
    // than the 32,767 records a database holds".
    QString stop;
};

DatabaseLoad LoadDatabaseFile(const QString &path);

// The same read, with each record handed to visit as it is decoded instead of
// kept: a command that writes records as it reads them holds only the ones it
// is working on. The load's record list stays empty.
using RecordVisitor = std::function<void(RegistrationRecord record)>;
DatabaseLoad VisitDatabaseFile(const QString &path, const RecordVisitor &visit);

// The records only, for callers that never write the list back.
QList<RegistrationRecord> ReadDatabaseFile(const QString &path);
