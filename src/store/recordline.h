#pragma once

#include "registrationrecord.h"

// The plain (decoded) form of one database line: the seven fields in file
// order, each followed by "|". File order differs from the record's order in
// one place: Registration Date comes before Web Contact.
//
//   Product|Registrant|Customer ID|Registration|Registration Date|Web Contact|Recorded|

inline constexpr char FieldSeparator = '|';

// A record keeps its fields in its buffer in the order of the line.
inline constexpr std::array<RegistrationRecord::Field, RegistrationRecord::FieldCount> FieldsInFileOrder =
    RegistrationRecord::BufferOrder;

enum class LineBreak {
    Omit,
    Append
};

// Lines written by a whole-file rewrite carry CR LF inside the plain text;
// appended lines do not. Readers accept both.
QByteArray FormatRecordLine(const RegistrationRecord &record, LineBreak lineBreak);
// The same at the end of line, which may be kept from record to record.
void AppendRecordLine(QByteArray &line, const RegistrationRecord &record, LineBreak lineBreak);

// Whatever follows the seventh "|" (CR LF, the encoder's filler) is ignored;
// fields a damaged line lacks stay empty. The record keeps the line as its
// buffer, so parsing copies nothing.
RegistrationRecord ParseRecordLine(QByteArray plain);

// The places of a plain line's separators, the first ones found.
using SeparatorPlaces = std::array<qsizetype, RegistrationRecord::FieldCount>;

// Where the fields of the plain line at lineStart lie, given the places of
// its first count separators; the fields after them are empty. Inline: the
// reader makes one for every line.
inline RegistrationRecord::Bounds BoundsBetween(qsizetype lineStart, const SeparatorPlaces &separators,
                                                std::size_t count)
{
    RegistrationRecord::Bounds bounds;
    bounds[0] = quint32(lineStart - 1);
    for (std::size_t field = 0; field < separators.size(); ++field)
        bounds[field + 1] = quint32(separators[field]);
    // Bounds that are not after the one before make empty fields.
    const quint32 last = count > 0 ? bounds[count] : quint32(lineStart);
    for (std::size_t field = count; field < separators.size(); ++field)
        bounds[field + 1] = last;
    return bounds;
}

// Where the fields of the plain line at [start, start + length) of a buffer
// that holds many lie in it, for a record that shares the buffer.
RegistrationRecord::Bounds ParseRecordBounds(QByteArrayView buffer, qsizetype start, qsizetype length);
