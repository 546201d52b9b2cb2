#include "lineends.h"

#include <cstring>

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
    // The C library's own search: it runs once a line, at every start.
    if (const void *found = rest.isEmpty() ? nullptr : std::memchr(rest.data(), Lf, size_t(rest.size()))) {
        const qsizetype lf = static_cast<const char *>(found) - rest.data();
        return Line{WithoutFinalCr(rest.first(lf)), lf + 1};
    }
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
