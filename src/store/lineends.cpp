#include "lineends.h"

namespace {

constexpr char Cr = '\r';
constexpr char Lf = '\n';

QByteArrayView WithoutFinalCr(QByteArrayView line)
{
    return line.endsWith(Cr) ? line.chopped(1) : line;
}

} // namespace

std::optional<LineEnds::Line> LineEnds::FirstLine(QByteArrayView rest, bool restEndsFile)
{
    const qsizetype lf = rest.indexOf(Lf);
    if (lf >= 0)
        return Line{WithoutFinalCr(rest.first(lf)), lf + 1};
    if (!restEndsFile || rest.isEmpty())
        return std::nullopt;
    return Line{WithoutFinalCr(rest), rest.size()};
}

QByteArrayView LineEnds::Completion(QByteArrayView tail)
{
    if (tail.isEmpty() || tail.endsWith(Lf))
        return {};
    if (tail.endsWith(Cr))
        return "\n";
    return CrLf;
}
