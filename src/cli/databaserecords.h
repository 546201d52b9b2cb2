#pragma once

#include "store/registrationrecord.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The records of one database, numbered 1 to 4, in file order.
struct DatabaseRecords
{
    int database = 0;
    QList<RegistrationRecord> records;
};

// The records the selection takes from the given databases as their files
// hold them now, all of them without a selection. None, with the reason in
// error, when a database file cannot be read.
std::optional<QList<DatabaseRecords>>
ReadDatabaseRecords(const QString &dataFolder, const QList<int> &databases, QString &error,
                    const std::function<bool(const RegistrationRecord &record)> &selection = {});

qsizetype RecordCount(const QList<DatabaseRecords> &databases);
