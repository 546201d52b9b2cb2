#include "databasebackup.h"

#include <algorithm>

using namespace Qt::StringLiterals;

DatabaseBackup::DatabaseBackup(const QString &dataFolder)
{
    for (int index = 0; index < DatabaseFiles::Count; ++index) {
        m_paths[index] = DatabaseFiles::DatabaseFilePath(dataFolder, index + 1);
        m_files[index] = std::make_unique<ByteSource>(m_paths[index], MissingFile::IsEmpty);
        if (!m_files[index]->IsOpen()) {
            m_error = m_files[index]->Error();
            return;
        }
        m_sizes[index] = m_files[index]->Size().value_or(0);
    }
    const std::optional<QByteArray> head = BackupFile::Head(m_sizes);
    if (!head) {
        m_error = u"a database is larger than a backup can hold (4 GiB)"_s;
        return;
    }
    m_head = *head;
    m_buffer.resize(PieceLength);
}

qint64 DatabaseBackup::ContentLength() const
{
    return BackupFile::Length(m_sizes) - BackupFile::HeadLength;
}

std::optional<QByteArrayView> DatabaseBackup::NextPiece(int index)
{
    ByteSource &file = *m_files[index];
    const qint64 left = m_sizes[index] - file.Position();
    // At the end one more byte is asked for: a file that grew gives it.
    const qint64 count = file.Read(m_buffer.data(), std::max<qint64>(1, std::min(left, PieceLength)));
    if (count < 0) {
        m_error = file.Error();
        return std::nullopt;
    }
    if (count == 0 && left == 0)
        return QByteArrayView();
    if (count == 0 || left == 0) {
        m_error = u"%1 changed size while it was backed up (it had %2 bytes); try again"_s.arg(m_paths[index])
                      .arg(m_sizes[index]);
        return std::nullopt;
    }
    return QByteArrayView(m_buffer).first(count);
}
