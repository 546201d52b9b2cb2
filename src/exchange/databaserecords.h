#pragma once

#include "store/registrationrecord.h"

#include <QList>

// The records of one database, numbered 1 to 4, in file order: what every
// writer of an exchange format takes.
struct DatabaseRecords
{
    int database = 0;
    QList<RegistrationRecord> records;
};
