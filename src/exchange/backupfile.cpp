#include "backupfile.h"

using namespace Qt::StringLiterals;

std::optional<QByteArray> BackupFile::Head(const Sizes &sizes)
{
    for (const qsizetype size : sizes) {
        if (size < 0 || size > ExportContainer::MaxSizeField)
            return std::nullopt;
    }
    return ExportContainer::Head(sizes);
}

std::optional<BackupFile::Sizes> BackupFile::ReadHead(QByteArrayView head, QString &error)
{
    if (!head.startsWith(ExportContainer::Magic)) {
        error = u"not a Korvane backup: it does not start as one"_s;
        return std::nullopt;
    }
    const std::optional<Sizes> sizes = ExportContainer::ReadSizes(head, ExportContainer::MaxSizeField);
    if (!sizes)
        error = u"not a Korvane backup: its four sizes are not eight hexadecimal digits each"_s;
    return sizes;
}

qint64 BackupFile::Length(const Sizes &sizes)
{
    qint64 length = HeadLength;
    for (const qsizetype size : sizes)
        length += size;
    return length;
}

QString BackupFile::LengthMismatch(qint64 claimed, qint64 actual)
{
    return u"a damaged backup: its sizes claim %1 bytes, the file has %2"_s.arg(claimed).arg(actual);
}
