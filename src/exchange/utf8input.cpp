#include "utf8input.h"

#include <cstring>

QByteArrayView Utf8Input::WithoutByteOrderMark(QByteArrayView utf8)
{
    return utf8.startsWith("\xEF\xBB\xBF") ? utf8.sliced(3) : utf8;
}

bool Utf8Input::IsValid(QByteArrayView bytes)
{
    const auto *at = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = at + bytes.size();
    while (at < end) {
        // Runs of ASCII, nearly all of a file, 32 bytes at a time.
        while (end - at >= 32) {
            quint64 words[4];
            std::memcpy(words, at, sizeof words);
            if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080) != 0)
                break;
            at += sizeof words;
        }
        if (end - at >= 8) {
            quint64 eight = 0;
            std::memcpy(&eight, at, sizeof eight);
            if ((eight & 0x8080808080808080) == 0) {
                at += sizeof eight;
                continue;
            }
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
