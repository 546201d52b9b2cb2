#pragma once

#include "databaserecords.h"

#include <QByteArray>
#include <QList>

// Records as a JSON array in UTF-8, one object per line, its keys the column
// names in column order and every value a string:
//
//   [
//   {"Database": "Games", "Product": "Isles", ..., "Recorded": "12-04-2026 01:35:24"}
//   ]
QByteArray WriteJson(const QList<DatabaseRecords> &databases);
