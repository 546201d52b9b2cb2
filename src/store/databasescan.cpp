#include "databasescan.h"

#include "linecodec.h"
#include "recordline.h"

void ForEachLine(QByteArrayView content, const std::function<void(qsizetype lineNumber, QByteArrayView line)> &visit)
{
    qsizetype lineNumber = 0;
    while (!content.isEmpty()) {
        ++lineNumber;
        qsizetype end = content.indexOf('\n');
        if (end < 0)
            end = content.size();
        QByteArrayView line = content.first(end);
        content = content.sliced(qMin(end + 1, content.size()));
        if (line.endsWith('\r'))
            line.chop(1);
        visit(lineNumber, line);
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
