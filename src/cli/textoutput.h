#pragma once

#include "databasewalk.h"

#include <QByteArrayList>
#include <QList>

// Records for people to read, in UTF-8, every field in its visible form (see
// Utf8Text::AppendVisible). The text comes in pieces, to be written one after
// the other.

// A table: a header line of the column names, a line of dashes, and one line
// per record, each column as wide as its widest text, columns two blanks
// apart. No record: no output at all.
QByteArrayList FormatTable(const QList<DatabaseWalk> &databases);

// Each record as one "Name: text" line per column, names aligned; records are
// a blank line apart.
QByteArrayList FormatFieldLines(const QList<DatabaseWalk> &databases);
