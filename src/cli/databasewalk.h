#pragma once

#include "databaserecords.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

using RecordVisitor = std::function<void(const RegistrationRecord &record)>;

// One database's records, in file order, handed to a visitor one at a time.
// Walks over the database files decode each record as it is needed, so a
// listing of four full databases never holds all their records at once; a
// walk may be taken more than once, and on any thread.
struct DatabaseWalk
{
    int database = 0;
    std::function<void(const RecordVisitor &visit)> walk;
};

// How often a command walks each database.
enum class Walks {
    Once,
    // Each file is decoded once, into one buffer made large enough at the
    // start, and walked from there: a table walks once for its columns'
    // widths and once to write them.
    Twice,
};

// Walks over the given database files. None, with the reason in error, when a
// file cannot be read.
std::optional<QList<DatabaseWalk>> OpenDatabaseWalks(const QString &dataFolder, const QList<int> &databases,
                                                     QString &error, Walks walks = Walks::Once);

// Walks over records in memory, which must outlive the walks.
QList<DatabaseWalk> WalksOver(const QList<DatabaseRecords> &databases);
