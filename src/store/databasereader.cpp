#include "databasereader.h"

#include "linecodec.h"
#include "platform/logcategories.h"
#include "recordline.h"

#include <QFile>

QList<RegistrationRecord> ParseDatabase(QByteArrayView content)
{
    QList<RegistrationRecord> records;
    records.reserve(content.count('\n') + 1);
    const QByteArrayView key = CodecKey();
    while (!content.isEmpty()) {
        // Lines end in CR LF; a bare LF ends one too, so a file whose line
        // ends were converted still loads. Encoded text never holds either.
        qsizetype end = content.indexOf('\n');
        if (end < 0)
            end = content.size();
        QByteArrayView line = content.first(end);
        content = content.sliced(qMin(end + 1, content.size()));
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        records.append(ParseRecordLine(DecodeLine(line, key)));
    }
    return records;
}

QList<RegistrationRecord> ReadDatabaseFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcStore) << "could not open" << path << file.errorString();
        return {};
    }
    return ParseDatabase(file.readAll());
}
