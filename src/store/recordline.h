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
// fields a damaged line lacks stay empty.
RegistrationRecord ParseRecordLine(QByteArrayView plain);

// The places of a plain line's separators, the first ones found.
using SeparatorPlaces = std::array<qsizetype, RegistrationRecord::FieldCount>;

// Where the record of the plain line at lineStart lies, given the places of
// its first count separators; the fields after them are empty. Inline: the
// reader makes one for every line.
inline RegistrationRecord::Places PlacesBetween(qsizetype lineStart, const SeparatorPlaces &separators,
                                                std::size_t count)
{
    RegistrationRecord::Places places;
    places.start = quint32(lineStart);
    places.size = count > 0 ? quint32(separators[count - 1] - lineStart) : 0;
    // Nearly every line has all its separators.
    const std::size_t found = std::min(count, places.ends.size());
    for (std::size_t field = 0; field < found; ++field)
        places.ends[field] = quint16(separators[field] - lineStart);
    for (std::size_t field = found; field < places.ends.size(); ++field)
        places.ends[field] = quint16(places.size);
    return places;
}

// Where the record of the plain line at [start, start + length) of a buffer
// that holds many lies in it, for a record that shares the buffer.
RegistrationRecord::Places ParseRecordPlaces(QByteArrayView buffer, qsizetype start, qsizetype length);
