#pragma once

#include "registrationrecord.h"

#include <QByteArrayView>

#include <functional>

// A database file's content line by line, for readers that look at each
// record once and keep few: a listing of four full databases costs twice as
// long when it first builds every record.

// Calls visit with every line as LineEnds ends it, without its line end, and
// its number counted from 1.
void ForEachLine(QByteArrayView content, const std::function<void(qsizetype lineNumber, QByteArrayView line)> &visit);

// Calls visit with the record of every non-empty line, in file order, decoded
// and parsed exactly as ReadDatabaseFile reads it. A record lives only during
// its call; copy it to keep it.
void ForEachRecord(QByteArrayView content, const std::function<void(const RegistrationRecord &record)> &visit);
