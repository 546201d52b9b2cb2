#pragma once

#include "databasewalk.h"

#include <QByteArrayList>
#include <QList>

// Records as a JSON array in UTF-8, one object per line, its keys the column
// names in column order and every value a string:
//
//   [
//   {"Database": "Games", "Product": "Isles", ..., "Recorded": "12-04-2026 01:35:24"}
//   ]
// The file comes in pieces, to be written one after the other.
QByteArrayList WriteJson(const QList<DatabaseWalk> &databases);
