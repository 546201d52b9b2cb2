#pragma once

#include <QByteArray>

#include <algorithm>
#include <array>
#include <cstring>

// What each of the 256 Windows-1252 bytes becomes in an output format (its
// UTF-8, escaped as the format needs), looked up rather than worked out: the
// inner loops of an export write some million characters.
template <qsizetype MaxBytes>
class ByteTexts
{
public:
    // textOf gives each byte's text, at most MaxBytes long.
    template <typename TextOf>
    explicit ByteTexts(TextOf textOf)
    {
        for (int code = 0; code < 256; ++code) {
            const QByteArray text = textOf(char(code));
            std::copy(text.begin(), text.begin() + std::min(text.size(), MaxBytes), m_texts[code].bytes.begin());
            m_texts[code].length = std::min(text.size(), MaxBytes);
        }
    }

    // Writes the byte's text at out, which has room for MaxBytes bytes, and
    // returns its end.
    char *Write(char *out, char byte) const
    {
        const Text &text = m_texts[static_cast<unsigned char>(byte)];
        std::memcpy(out, text.bytes.data(), MaxBytes);
        return out + text.length;
    }

private:
    struct Text
    {
        std::array<char, MaxBytes> bytes{};
        qsizetype length = 0;
    };
    std::array<Text, 256> m_texts;
};
