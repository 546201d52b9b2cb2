#include "wholefile.h"

#include "bytesource.h"

std::optional<QByteArray> ReadWholeFile(const QString &path, MissingFile missing, QString &error, qint64 limit)
{
    ByteSource source(path, missing, limit);
    constexpr qint64 Chunk = 64 * 1024;
    QByteArray content;
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
