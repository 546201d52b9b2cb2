#pragma once

#include "bytesource.h"
#include "exchange/backupfile.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <optional>

// The four database files as a backup, copied in pieces into a sink (an
// OutputFile, a ReplacementFile: anything with a bool Write(QByteArrayView)).
// The sizes in the backup's head are the files' sizes when they were opened;
// a file that then shrinks or grows fails the copy instead of giving a backup
// whose sizes disagree with its bytes.
class DatabaseBackup
{
public:
    // Large enough to copy at disk speed, small enough to stay a few MB.
    static constexpr qint64 PieceLength = 1024 * 1024;

    explicit DatabaseBackup(const QString &dataFolder);

    // Why the databases cannot be backed up; empty when they can.
    QString Error() const { return m_error; }
    // How many bytes the databases hold together.
    qint64 ContentLength() const;

    // False when the sink refused a piece (the sink tells why) or a database
    // could not be read as it was opened (Error tells why).
    template <typename Sink>
    bool WriteTo(Sink &sink)
    {
        if (!m_error.isEmpty() || !sink.Write(m_head))
            return false;
        for (int index = 0; index < DatabaseFiles::Count; ++index) {
            for (;;) {
                const std::optional<QByteArrayView> piece = NextPiece(index);
                if (!piece)
                    return false;
                if (piece->isEmpty())
                    break;
                if (!sink.Write(*piece))
                    return false;
            }
        }
        return true;
    }

private:
    // The next piece of a database's bytes; empty once they have all been
    // copied, none when the file failed to give exactly its size.
    std::optional<QByteArrayView> NextPiece(int index);

    std::array<std::unique_ptr<ByteSource>, DatabaseFiles::Count> m_files;
    std::array<QString, DatabaseFiles::Count> m_paths;
    BackupFile::Sizes m_sizes{};
    QByteArray m_head;
    QByteArray m_buffer;
    QString m_error;
};
