#pragma once

#include "exchange/databaserecords.h"

#include <QList>

#include <optional>

class CliContext;

// The records of the given databases as the store reads them for the window,
// within the same bounds. None, after telling the user why, when a database
// could not be read whole: a command never works on part of a database.
std::optional<QList<DatabaseRecords>> ReadStoredRecords(const CliContext &context, const QList<int> &databases);
