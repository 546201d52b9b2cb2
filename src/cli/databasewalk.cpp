#include "databasewalk.h"

#include "mappedfile.h"
#include "store/databasefiles.h"
#include "store/databasescan.h"
#include "store/linecodec.h"
#include "store/recordline.h"

#include <memory>

namespace {

// A database file's plain lines, decoded on the first walk. The buffers are
// sized for the largest content the file can hold before anything is
// decoded: growing them would copy and touch more memory than decoding again.
class DecodedDatabase
{
public:
    explicit DecodedDatabase(std::shared_ptr<const MappedFile> file)
        : m_file(std::move(file))
    {}

    void Walk(const RecordVisitor &visit)
    {
        if (!m_decoded)
            Decode();
        qsizetype start = 0;
        for (const qsizetype end : m_lineEnds) {
            visit(ParseRecordLine(QByteArray::fromRawData(m_plain.constData() + start, end - start)));
            start = end;
        }
    }

private:
    void Decode()
    {
        const QByteArrayView content = m_file->Content();
        // Two hex digits a plain character, and at least the seven
        // separators on every line that is a record.
        m_plain.reserve(content.size() / 2 + 1);
        m_lineEnds.reserve(content.size() / (2 * RegistrationRecord::FieldCount) + 1);
        const QByteArrayView key = CodecKey();
        ForEachLine(content, [this, key](qsizetype, QByteArrayView line) {
            if (line.isEmpty())
                return;
            m_plain += DecodeLine(line, key);
            m_lineEnds.append(m_plain.size());
        });
        m_decoded = true;
    }

    std::shared_ptr<const MappedFile> m_file;
    bool m_decoded = false;
    QByteArray m_plain;
    QList<qsizetype> m_lineEnds;
};

} // namespace

std::optional<QList<DatabaseWalk>> OpenDatabaseWalks(const QString &dataFolder, const QList<int> &databases,
                                                     QString &error, Walks walks)
{
    QList<DatabaseWalk> opened;
    for (const int database : databases) {
        const QString path = DatabaseFiles::DatabaseFilePath(dataFolder, database);
        auto file = std::make_shared<const MappedFile>(path);
        if (!file->IsReadable()) {
            error = file->Error();
            return std::nullopt;
        }
        if (walks == Walks::Twice) {
            auto decoded = std::make_shared<DecodedDatabase>(file);
            opened.append({database, [decoded](const RecordVisitor &visit) { decoded->Walk(visit); }});
        } else {
            opened.append({database, [file](const RecordVisitor &visit) { ForEachRecord(file->Content(), visit); }});
        }
    }
    return opened;
}

QList<DatabaseWalk> WalksOver(const QList<DatabaseRecords> &databases)
{
    QList<DatabaseWalk> walks;
    for (const DatabaseRecords &database : databases) {
        walks.append({database.database, [&database](const RecordVisitor &visit) {
                          for (const RegistrationRecord &record : database.records)
                              visit(record);
                      }});
    }
    return walks;
}
