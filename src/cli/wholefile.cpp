#include "wholefile.h"

#include "bytesource.h"
#include "store/largepages.h"

std::optional<QByteArray> ReadWholeFile(const QString &path, MissingFile missing, QString &error, qint64 limit)
{
    ByteSource source(path, missing, limit);
    constexpr qint64 Chunk = 64 * 1024;
    QByteArray content;
    // A file read at the size it had when opened needs the buffer once,
    // never copied to grow; a bigger one is refused within a chunk anyway.
    if (const std::optional<qint64> size = source.Size(); size && *size <= limit) {
        content.reserve(qsizetype(*size) + Chunk);
        LargePages::Prefer(content.data(), content.capacity());
    }
    for (;;) {
        const qsizetype start = content.size();
        content.resize(start + Chunk);
        const qint64 count = source.Read(content.data() + start, Chunk);
        if (count < 0) {
            error = source.Error();
            return std::nullopt;
        }
        content.resize(start + qsizetype(count));
        if (count == 0)
            return content;
    }
}
