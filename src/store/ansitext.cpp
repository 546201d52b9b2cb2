#include "ansitext.h"

#include <array>
#include <cstring>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. Its five unassigned
// codes there map to the C1 control of the same number, as Windows itself
// converts them, so every byte survives a round trip.
constexpr std::array<char16_t, 32> HighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

int AnsiCodeOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == u)
            return int(0x80 + i);
    }
    return -1;
}

bool FourAscii(const char16_t *characters)
{
    quint64 four = 0;
    std::memcpy(&four, characters, sizeof four);
    return (four & 0xFF80FF80FF80FF80) == 0;
}

void Convert(QByteArrayView ansi, QChar *out)
{
    for (const char byte : ansi)
        *out++ = AnsiText::CharacterOf(byte);
}

} // namespace

QChar AnsiText::CharacterOf(char byte)
{
    const auto code = static_cast<unsigned char>(byte);
    return (code >= 0x80 && code < 0xA0) ? QChar(HighControls[code - 0x80]) : QChar(char16_t(code));
}

QString AnsiText::ToUnicode(QByteArrayView ansi)
{
    QString text(ansi.size(), Qt::Uninitialized);
    Convert(ansi, text.data());
    return text;
}

void AnsiText::AppendUnicode(QString &text, QByteArrayView ansi)
{
    const qsizetype start = text.size();
    text.resize(start + ansi.size());
    Convert(ansi, text.data() + start);
}

QByteArray AnsiText::FromUnicode(QStringView text)
{
    QByteArray ansi;
    AssignFromUnicode(ansi, text);
    return ansi;
}

void AnsiText::AssignFromUnicode(QByteArray &ansi, QStringView text)
{
    ansi.resize(text.size());
    char *out = ansi.data();
    const char16_t *in = text.utf16();
    const char16_t *const end = in + text.size();
    while (in != end) {
        // ASCII, nearly all text, four characters at a time.
        if (end - in >= 4 && FourAscii(in)) {
            for (int index = 0; index < 4; ++index)
                *out++ = char(in[index]);
            in += 4;
            continue;
        }
        const int code = AnsiCodeOf(QChar(*in++));
        if (code >= 0)
            *out++ = char(code);
    }
    ansi.truncate(out - ansi.constData());
}

bool AnsiText::IsRepresentable(QChar c)
{
    return AnsiCodeOf(c) >= 0;
}
