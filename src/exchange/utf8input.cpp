#include "utf8input.h"

#include "store/bytelanes.h"

QByteArrayView Utf8Input::WithoutByteOrderMark(QByteArrayView utf8)
{
    return utf8.startsWith("\xEF\xBB\xBF") ? utf8.sliced(3) : utf8;
}

bool Utf8Input::IsValid(QByteArrayView bytes)
{
    const auto *at = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = at + bytes.size();
    // Whether the next words eight-byte words hold nothing but ASCII.
    const auto asciiWords = [&at, end](qsizetype words) {
        if (end - at < words * ByteLanes::Width)
            return false;
        quint64 topBits = 0;
        for (qsizetype word = 0; word < words; ++word)
            topBits |= ByteLanes::Load(reinterpret_cast<const char *>(at) + word * ByteLanes::Width);
        return (topBits & ByteLanes::TopBits) == 0;
    };
    while (at < end) {
        // Runs of ASCII, nearly all of a file, thirty-two bytes at a time,
        // then eight.
        if (asciiWords(4)) {
            at += 4 * ByteLanes::Width;
            continue;
        }
        if (asciiWords(1)) {
            at += ByteLanes::Width;
            continue;
        }
        const unsigned char lead = *at;
        if (lead < 0x80) {
            ++at;
            continue;
        }
        // The well-formed sequences: the lead byte sets the length and the
        // range of the second byte; every later byte is 80..BF.
        qsizetype length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : low;
            high = lead == 0xED ? 0x9F : high;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : low;
            high = lead == 0xF4 ? 0x8F : high;
        } else {
            return false;
        }
        if (end - at < length || at[1] < low || at[1] > high)
            return false;
        for (qsizetype next = 2; next < length; ++next) {
            if ((at[next] & 0xC0) != 0x80)
                return false;
        }
        at += length;
    }
    return true;
}
