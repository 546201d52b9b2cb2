#pragma once

#include "databaserecords.h"

#include <QByteArray>
#include <QList>

// Records as CSV by RFC 4180, in UTF-8 without a byte order mark: a header
// line of the column names, one line per record, every line ending in CR LF.
// A field that holds a comma, a quote or a line break is quoted, its quotes
// doubled, so every byte comes back on reading.
QByteArray WriteCsv(const QList<DatabaseRecords> &databases);
