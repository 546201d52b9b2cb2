#pragma once

#include <QByteArray>

// The line codec of the database files: every byte of a plain line is
// exclusive-ored with the byte of a repeating key and written as two
// upper-case hexadecimal digits.
//
//   EncodeLine("abc|me|", "Korvane") == "2A0D110A0C0B19"   ('a' ^ 'K' == 0x2A)
//
// A plain line shorter than the key is first lengthened to the key's length
// with "." and the start of the key; readers ignore that filler because it
// follows the line's last separator.

// 0-9, A-F and a-f: what the codec writes and reads, and what the export
// container's size fields hold.
constexpr bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The key of every database file: the application title.
QByteArrayView CodecKey();

QByteArray EncodeLine(QByteArrayView plain, QByteArrayView key);
// The same into out, which has room for 2 * max(plain.size(), key.size())
// bytes, so that many lines can share one buffer. Returns the end.
char *EncodeLineInto(QByteArrayView plain, QByteArrayView key, char *out);

// Upper- and lower-case digits are both read, and an odd last digit stands
// alone. Any pair that is not hexadecimal makes the whole result empty.
QByteArray DecodeLine(QByteArrayView hex, QByteArrayView key);

// The same into out, which has room for (hex.size() + 1) / 2 bytes, so that
// many lines can share one buffer. Returns the number of bytes decoded, or
// -1 when a pair is not hexadecimal.
qsizetype DecodeLineInto(QByteArrayView hex, QByteArrayView key, char *out);
