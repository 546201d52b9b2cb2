#pragma once

#include <QtGlobal>

#include <cstring>

// Eight bytes tested at once in a 64-bit word, for the inner loops that look
// at every byte of a listing: most fields need nothing done to them, and
// finding that out a byte at a time costs more than writing them.
namespace ByteLanes {

inline constexpr qsizetype Width = 8;
inline constexpr quint64 Ones = 0x0101010101010101;
inline constexpr quint64 TopBits = 0x8080808080808080;

inline quint64 Load(const char *bytes)
{
    quint64 word;
    std::memcpy(&word, bytes, Width);
    return word;
}

// Whether any byte is zero: only a zero byte borrows into its own top bit
// without having had it set.
constexpr bool HasZero(quint64 word)
{
    return ((word - Ones) & ~word & TopBits) != 0;
}

constexpr quint64 Spread(char byte)
{
    return Ones * static_cast<unsigned char>(byte);
}

constexpr bool HasByte(quint64 word, char byte)
{
    return HasZero(word ^ Spread(byte));
}

// Whether every byte is printable ASCII: a byte below 0x20 borrows into its
// top bit, and one above 0x7E has it set or carries into it.
constexpr bool ArePrintableAscii(quint64 word)
{
    return ((((word - 0x20 * Ones) & ~word) | word | (word + Ones)) & TopBits) == 0;
}

} // namespace ByteLanes
