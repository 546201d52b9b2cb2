#include "databasecheck.h"

#include "databasescan.h"
#include "linecodec.h"

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr char Separator = '|';
constexpr int SeparatorCount = 7;

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

QString Describe(char c)
{
    const auto code = static_cast<unsigned char>(c);
    if (code > 0x20 && code < 0x7F)
        return u"\""_s + QChar(char16_t(code)) + u"\""_s;
    return u"byte 0x"_s + QString::number(code, 16).toUpper().rightJustified(2, u'0');
}

// What may follow the seventh separator: nothing (an appended line), CR LF (a
// rewritten line), and either one followed by the filler the encoder adds to
// a line shorter than its key.
bool IsLineEnd(QByteArrayView rest)
{
    if (rest.startsWith("\r\n"))
        rest = rest.sliced(2);
    return rest.isEmpty() || (rest.front() == '.' && CodecKey().startsWith(rest.sliced(1)));
}

std::optional<QString> DamageOf(QByteArrayView line)
{
    const auto notHex = std::find_if_not(line.begin(), line.end(), IsHexDigit);
    if (notHex != line.end())
        return u"not hexadecimal: %1 at column %2"_s.arg(Describe(*notHex)).arg(notHex - line.begin() + 1);
    if (line.size() % 2 != 0)
        return u"an odd number of hexadecimal digits"_s;

    const QByteArray plain = DecodeLine(line, CodecKey());
    qsizetype end = 0;
    for (int separator = 0; separator < SeparatorCount; ++separator) {
        end = plain.indexOf(Separator, end);
        if (end < 0)
            return u"fewer than seven fields: the line ends after field %1"_s.arg(separator);
        ++end;
    }
    const QByteArrayView rest = QByteArrayView(plain).sliced(end);
    if (rest.contains(Separator))
        return u"more than seven fields"_s;
    if (!IsLineEnd(rest))
        return u"text after the seventh field"_s;
    return std::nullopt;
}

} // namespace

DatabaseCheck CheckDatabase(QByteArrayView content)
{
    DatabaseCheck check;
    ForEachLine(content, [&check](qsizetype lineNumber, QByteArrayView line) {
        if (line.isEmpty())
            return;
        ++check.records;
        if (const std::optional<QString> reason = DamageOf(line))
            check.damages.append({lineNumber, *reason});
    });
    return check;
}
