#pragma once

#include "exchange/recordwriter.h"

#include <QList>

#include <functional>
#include <optional>

class CliContext;

// Which records a command wants; all of them when empty.
using RecordFilter = std::function<bool(const RegistrationRecord &record)>;

// Whether records may be written; asked with all of them before any is.
using RecordApproval = std::function<bool(const QList<DatabaseRecords> &databases)>;

// Reads the databases one after another, as the store reads them for the
// window and within the same bounds, and hands the wanted records of each to
// the writer. Each database's text goes to the output once the database was
// read whole, in pieces; no more than two databases' records are held at
// once.
// A database that cannot be read whole is named and none of its text is
// written: a command never shows part of a database as if it were all of
// it. Records that need approval are all read first, and none is written
// unless approve says so. The number of records written; none when a
// database could not be read (the user is told why) or the records were not
// approved.
std::optional<qsizetype> WriteStoredRecords(const CliContext &context, const QList<int> &databases,
                                            RecordWriter &writer, const TextSink &output,
                                            const RecordFilter &wanted = {}, const RecordApproval &approve = {});
