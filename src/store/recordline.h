#pragma once

#include "registrationrecord.h"

// The plain (decoded) form of one database line: the seven fields in file
// order, each followed by "|". File order differs from the record's order in
// one place: Registration Date comes before Web Contact.
//
//   Product|Registrant|Customer ID|Registration|Registration Date|Web Contact|Recorded|

inline constexpr char FieldSeparator = '|';

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

// The same for the plain line at [start, start + length) of a buffer that
// holds many; the record shares the buffer.
RegistrationRecord ParseRecordLine(const QByteArray &buffer, qsizetype start, qsizetype length);
