#include "databasecheck.h"

#include "databasereader.h"
#include "linecodec.h"
#include "lineends.h"
#include "recordline.h"

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int SeparatorCount = RegistrationRecord::FieldCount;

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
    if (rest.startsWith(LineEnds::CrLf))
        rest = rest.sliced(LineEnds::CrLf.size());
    return rest.isEmpty() || (rest.front() == '.' && CodecKey().startsWith(rest.sliced(1)));
}

} // namespace

std::optional<QString> LineDamageOf(QByteArrayView line)
{
    const auto notHex = std::find_if_not(line.begin(), line.end(), IsHexDigit);
    if (notHex != line.end())
        return u"not hexadecimal: %1 at column %2"_s.arg(Describe(*notHex)).arg(notHex - line.begin() + 1);
    if (line.size() % 2 != 0)
        return u"an odd number of hexadecimal digits"_s;

    const QByteArray plain = DecodeLine(line, CodecKey());
    qsizetype end = 0;
    for (int separator = 0; separator < SeparatorCount; ++separator) {
        end = plain.indexOf(FieldSeparator, end);
        if (end < 0)
            return u"fewer than seven fields: the line ends after field %1"_s.arg(separator);
        ++end;
    }
    const QByteArrayView rest = QByteArrayView(plain).sliced(end);
    if (rest.contains(FieldSeparator))
        return u"more than seven fields"_s;
    if (!IsLineEnd(rest))
        return u"text after the seventh field"_s;
    return std::nullopt;
}

DatabaseCheck CheckDatabase(QByteArrayView content)
{
    DatabaseCheck check;
    qsizetype lineNumber = 0;
    while (const std::optional<LineEnds::Line> line = LineEnds::FirstLine(content, true)) {
        content = content.sliced(line->length);
        ++lineNumber;
        if (line->text.isEmpty())
            continue;
        if (check.records == DatabaseLoad::MaxRecords) {
            check.overLimitLine = lineNumber;
            break;
        }
        ++check.records;
        if (const std::optional<QString> reason = LineDamageOf(line->text))
            check.damages.append({lineNumber, *reason});
    }
    return check;
}
