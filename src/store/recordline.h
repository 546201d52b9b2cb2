#pragma once

#include "registrationrecord.h"

#include <span>

// The plain (decoded) form of one database line: the seven fields in file
// order, each followed by "|". File order differs from the record's order in
// one place: Registration Date comes before Web Contact.
//
//   Product|Registrant|Customer ID|Registration|Registration Date|Web Contact|Recorded|

inline constexpr char FieldSeparator = '|';

inline constexpr std::array<RegistrationRecord::Field, RegistrationRecord::FieldCount> FieldsInFileOrder = {
    RegistrationRecord::Product,      RegistrationRecord::Registrant,       RegistrationRecord::CustomerId,
    RegistrationRecord::Registration, RegistrationRecord::RegistrationDate, RegistrationRecord::WebContact,
    RegistrationRecord::Recorded,
};

enum class LineBreak {
    Omit,
    Append
};

// Lines written by a whole-file rewrite carry CR LF inside the plain text;
// appended lines do not. Readers accept both.
QByteArray FormatRecordLine(const RegistrationRecord &record, LineBreak lineBreak);

// Whatever follows the seventh "|" (CR LF, the encoder's filler) is ignored;
// fields a damaged line lacks stay empty. The record keeps the line as its
// buffer, so parsing copies nothing.
RegistrationRecord ParseRecordLine(QByteArray plain);

// Where the fields of the plain line at lineStart lie, given the places of
// its separators, at most seven; the fields after the last one given are
// empty, at the line's start.
RegistrationRecord::Spans SpansBetween(qsizetype lineStart, std::span<const qsizetype> separators);

// Where the fields of the plain line at [start, start + length) of a buffer
// that holds many lie in it, for a record that shares the buffer.
RegistrationRecord::Spans ParseRecordSpans(QByteArrayView buffer, qsizetype start, qsizetype length);
