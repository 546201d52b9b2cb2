#pragma once

#include "exchange/databaserecords.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Records in the format a command line names: "table" and "text" for people
// (below), "csv", "json" and "keepass-xml" as the exchange formats write them.
QByteArray FormatRecords(const QString &format, const QList<DatabaseRecords> &databases);

// Records for people to read, in UTF-8, every field in its visible form (see
// Utf8Text::AppendVisible).

// A table: a header line of the column names, a line of dashes, and one line
// per record, each column as wide as its widest text, columns two blanks
// apart. No record: no output at all.
QByteArray FormatTable(const QList<DatabaseRecords> &databases);

// Each record as one "Name: text" line per column, names aligned; records are
// a blank line apart.
QByteArray FormatFieldLines(const QList<DatabaseRecords> &databases);

// UTF-8 output as a terminal may show it: control characters as Unicode's
// control pictures (ESC as U+241B), the C1 controls as U+FFFD, as the
// listings show fields. Line feeds, tabs and CR LF line ends stay.
QByteArray ForTerminal(QByteArrayView utf8);
