#include "backupfile.h"

using namespace Qt::StringLiterals;

std::optional<QByteArray> BackupFile::Make(const ExportContainer::Databases &databases)
{
    for (const QByteArray &database : databases) {
        if (database.size() > ExportContainer::MaxSizeField)
            return std::nullopt;
    }
    return ExportContainer(databases).ToBytes();
}

std::optional<ExportContainer::Databases> BackupFile::Read(QByteArrayView backup, QString &error)
{
    if (!backup.startsWith(ExportContainer::Magic)) {
        error = u"not a Korvane backup: it does not start as one"_s;
        return std::nullopt;
    }
    const std::optional<ExportContainer::Sizes> sizes =
        ExportContainer::ReadSizes(backup, ExportContainer::MaxSizeField);
    if (!sizes) {
        error = u"not a Korvane backup: its four sizes are not eight hexadecimal digits each"_s;
        return std::nullopt;
    }
    qsizetype length = ExportContainer::ContentOffset;
    for (const qsizetype size : *sizes)
        length += size;
    if (backup.size() != length) {
        error = u"a damaged backup: its sizes claim %1 bytes, the file has %2"_s.arg(length).arg(backup.size());
        return std::nullopt;
    }
    ExportContainer::Databases databases;
    qsizetype position = ExportContainer::ContentOffset;
    for (qsizetype index = 0; index < DatabaseFiles::Count; ++index) {
        databases[index] = backup.sliced(position, (*sizes)[index]).toByteArray();
        position += (*sizes)[index];
    }
    return databases;
}
