#pragma once

#include "registrationrecord.h"

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

// The places of a plain line's separators, the first ones found.
using SeparatorPlaces = std::array<qsizetype, RegistrationRecord::FieldCount>;

// Where the fields of the plain line at lineStart lie, given the places of
// its first count separators; the fields after them are empty, at the
// line's start. Inline: the reader makes one for every line.
inline RegistrationRecord::Places PlacesBetween(qsizetype lineStart, const SeparatorPlaces &separators,
                                                std::size_t count)
{
    RegistrationRecord::Places places;
    // Every field as if all seven separators were found, which most lines
    // have; then the ones that were not.
    qsizetype start = lineStart;
    for (std::size_t field = 0; field < separators.size(); ++field) {
        places.starts[FieldsInFileOrder[field]] = quint32(start);
        places.lengths[FieldsInFileOrder[field]] = quint32(separators[field] - start);
        start = separators[field] + 1;
    }
    for (std::size_t field = count; field < separators.size(); ++field) {
        places.starts[FieldsInFileOrder[field]] = quint32(lineStart);
        places.lengths[FieldsInFileOrder[field]] = 0;
    }
    return places;
}

// Where the fields of the plain line at [start, start + length) of a buffer
// that holds many lie in it, for a record that shares the buffer.
RegistrationRecord::Places ParseRecordPlaces(QByteArrayView buffer, qsizetype start, qsizetype length);
