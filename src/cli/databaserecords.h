#pragma once

#include "store/registrationrecord.h"

#include <QList>
#include <QString>

#include <optional>

// The records of one database, numbered 1 to 4, in file order.
struct DatabaseRecords
{
    int database = 0;
    QList<RegistrationRecord> records;
};

// The given databases as their files hold them now, in the given order. None,
// with the reason in error, when a database file cannot be read.
std::optional<QList<DatabaseRecords>> ReadDatabaseRecords(const QString &dataFolder, const QList<int> &databases,
                                                          QString &error);

qsizetype RecordCount(const QList<DatabaseRecords> &databases);
