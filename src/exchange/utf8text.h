#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>

// Windows-1252 field text straight to UTF-8 for output, without a detour
// through QString: a full listing is some hundred thousand records.
namespace Utf8Text {

// No character takes more than three bytes in either form.
inline constexpr qsizetype MaxBytesPerCharacter = 3;

// Every character as it is. Writes at out, which has room for
// MaxBytesPerCharacter bytes per character, and returns the end.
char *WriteExact(char *out, QByteArrayView ansi);

// Control characters as the visible symbols of Unicode's control pictures
// (a line feed as U+240A), so that a field can neither break a table's rows
// nor send escape sequences to the terminal. Each character stays one
// character wide.
char *WriteVisible(char *out, QByteArrayView ansi);

// Appends what write writes through a pointer with room bytes free and
// returns the end of: the inner loops of a listing write some hundred
// thousand rows, and appending to a QByteArray piece by piece costs more
// than the rows' text itself.
template <typename Write>
void AppendWritten(QByteArray &out, qsizetype room, Write write)
{
    const qsizetype start = out.size();
    // Grown by doubling, so the next rows fit without a copy.
    if (out.capacity() < start + room)
        out.reserve(std::max(2 * out.capacity(), start + room));
    out.resize(start + room);
    out.truncate(write(out.data() + start) - out.constData());
}

void AppendExact(QByteArray &out, QByteArrayView ansi);
void AppendVisible(QByteArray &out, QByteArrayView ansi);

// The visible form as text, for naming a field's content in a message.
QString Visible(QByteArrayView ansi);

} // namespace Utf8Text
