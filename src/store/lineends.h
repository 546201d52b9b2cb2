#pragma once

#include <QByteArrayView>

#include <optional>

// Where the lines of a database file end, for the reader and the appender
// alike. A line ends at CR LF, and also at a bare LF, so a file whose line
// ends were converted on another system loads whole; a CR at the very end of
// the file ends the last line. Encoded text never holds CR or LF, so nothing
// else ends a line: a CR anywhere else is damage inside its line.
namespace LineEnds {

// The line end the window writes.
inline constexpr QByteArrayView CrLf = "\r\n";

struct Line
{
    // The line without its line end.
    QByteArrayView text;
    // The bytes it takes up in the file, line end included.
    qsizetype length = 0;
};

// The first line of rest. None when rest is empty, or when the line may go on
// in bytes not read yet (restEndsFile false and no LF in rest).
std::optional<Line> FirstLine(QByteArrayView rest, bool restEndsFile);

// What a new line must follow in a file that ends in tail (its last byte is
// enough), so that it starts a line of its own and every line before it reads
// as before: nothing after LF or in an empty file, LF after a lone CR (which
// would otherwise turn into damage inside the last line), CR LF after
// anything else.
QByteArrayView Completion(QByteArrayView tail);

} // namespace LineEnds
