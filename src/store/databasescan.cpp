#include "databasescan.h"

#include "linecodec.h"
#include "lineends.h"
#include "recordline.h"

void ForEachLine(QByteArrayView content, const std::function<void(qsizetype lineNumber, QByteArrayView line)> &visit)
{
    qsizetype lineNumber = 0;
    while (const std::optional<LineEnds::Line> line = LineEnds::FirstLine(content, true)) {
        visit(++lineNumber, line->text);
        content = content.sliced(line->length);
    }
}

void ForEachRecord(QByteArrayView content, const std::function<void(const RegistrationRecord &record)> &visit)
{
    const QByteArrayView key = CodecKey();
    ForEachLine(content, [&](qsizetype, QByteArrayView line) {
        if (!line.isEmpty())
            visit(ParseRecordLine(DecodeLine(line, key)));
    });
}
