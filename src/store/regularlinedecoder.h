#pragma once

#include "registrationrecord.h"

#include <QByteArrayView>

#include <array>
#include <vector>

// Decodes and parses the lines of a database file that have the form every
// writer gives them: an even number of hex digits, ended by CR LF. Such
// lines keep their digit pairs in step from one line to the next, so a whole
// run of them decodes in one pass of 64 digits a step, the key starting over
// at each line, and the separators are found in the same pass: what loading
// a database costs is mostly this.
class RegularLineDecoder
{
public:
    // One line, decoded and parsed, as the reader keeps it until its record
    // is made.
    struct Line
    {
        // The line's hex text, without its line end.
        QByteArrayView text;
        // Where its record lies in the buffer the line was decoded into.
        RegistrationRecord::Places places;
    };

    // The plain bytes of one step, from twice as many digits.
    static constexpr qsizetype StepBytes = 32;

    explicit RegularLineDecoder(QByteArrayView key);

    // Decodes lines from the start of hex for as long as they have that form,
    // appending one Line each, and returns the bytes of hex they took, line
    // ends included. Each line's plain bytes go to plain at half its place in
    // hex, as the exact decoding of that line would put them: plain has room
    // for half of hex, and plainStart is where hex starts in it. It stops at
    // the first line not in that form and at a line the steps in hex do not
    // reach to the end, and reads nothing on a processor without AVX2 or for
    // a key longer than 64 bytes: the caller decodes that line the exact way.
    qsizetype Decode(QByteArrayView hex, char *plain, qsizetype plainStart, std::vector<Line> &lines) const;

private:
    static constexpr qsizetype MaxKeyLength = 64;

#if defined(__SSE2__)
    __attribute__((target("avx2"))) qsizetype DecodeAvx2(const char *hex, qsizetype size, unsigned char *out,
                                                         qsizetype plainStart, std::vector<Line> &lines) const;
#endif
    const unsigned char *KeyFrom(qsizetype position) const
    {
        return m_key.data() + StepBytes + position;
    }

    bool m_usable = false;
    // The key repeated from StepBytes on, so that the 32 bytes from
    // StepBytes - i hold the key from a step's index i on, and those from
    // StepBytes + p a step whose first byte is at key position p.
    std::array<unsigned char, 2 * StepBytes + MaxKeyLength + StepBytes> m_key{};
    // The key position of the next step after one that starts at position p
    // with no line starting in it.
    std::array<qsizetype, MaxKeyLength> m_afterStep{};
    // The same after one whose last line starts at index i.
    std::array<qsizetype, StepBytes + 1> m_afterStart{};
};
