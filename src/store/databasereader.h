#pragma once

#include "registrationrecord.h"

#include <QList>
#include <QString>

// Reads every record of a database file, in file order. A missing or empty
// file is an empty database; empty lines are skipped. A damaged line still
// gives a record (empty fields where nothing could be read), so one bad line
// never costs the others. Reading stops quietly at a read failure, keeping
// what was read before it.
QList<RegistrationRecord> ReadDatabaseFile(const QString &path);

// The same for the file's content already in memory.
QList<RegistrationRecord> ParseDatabase(QByteArrayView content);
