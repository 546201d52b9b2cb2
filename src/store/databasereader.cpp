#include "databasereader.h"

#include "databasecheck.h"
#include "linecodec.h"
#include "lineends.h"
#include "platform/logcategories.h"
#include "recordline.h"
#include "regularfile.h"
#include "regularlinedecoder.h"

#include <QLocale>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Large enough that reading costs few calls, small enough to stay in cache.
constexpr qsizetype ChunkBytes = 128 * 1024;

// Reads the file chunk by chunk into one buffer; a line that runs past the
// end of the buffer moves to its front before the next chunk is read.
// Records go to a Records: told how many a chunk may give, then given
// each one's buffer and places, then told the chunk is done. A template, so
// that loading the list puts each record in its place without a call
// through a function object.
template <typename Records>
class DatabaseStream
{
public:
    DatabaseStream(const QString &path, Records records)
        : m_path(path)
        , m_file(path)
        , m_records(records)
    {}

    DatabaseLoad Load()
    {
        DatabaseLoad load;
        if (m_file.State() == RegularFile::Status::Missing)
            return load;
        load.whole = m_file.IsOpen() ? ReadRecords() : Stop(0, u"not a regular file, or not readable"_s);
        load.stop = m_stop;
        return load;
    }

    // The most records the file can hold, each at least two digits for each
    // of its separators.
    qsizetype MostRecords() const
    {
        return qsizetype(
            std::min<qint64>(DatabaseLoad::MaxRecords, m_file.Size() / (2 * RegistrationRecord::FieldCount) + 1));
    }

private:
    bool ReadRecords()
    {
        const QByteArrayView key = CodecKey();
        QByteArray buffer(ChunkBytes, Qt::Uninitialized);
        qsizetype filled = 0;
        qint64 total = 0;
        bool atEnd = false;
        for (;;) {
            QByteArrayView rest(buffer.constData(), filled);
            if (!DecodeLines(rest, atEnd, key))
                return Stop(m_lineNumber, u"more than the %1 records a database holds"_s.arg(
                                              QLocale(QLocale::English).toString(DatabaseLoad::MaxRecords)));
            if (atEnd)
                return true;
            if (rest.size() > DatabaseLoad::MaxLineBytes)
                return Stop(m_lineNumber + 1,
                            u"a line longer than the %1 MiB any record takes"_s.arg(DatabaseLoad::MaxLineBytes >> 20));
            // The unfinished line moves to the front; the buffer grows only
            // for a line longer than it.
            std::memmove(buffer.data(), rest.data(), size_t(rest.size()));
            filled = rest.size();
            if (filled == buffer.size())
                buffer.resize(std::min(2 * buffer.size(), DatabaseLoad::MaxLineBytes + 1));
            const qint64 count = m_file.Read(buffer.data() + filled, buffer.size() - filled);
            if (count < 0)
                return Stop(m_lineNumber + 1, u"a read error"_s);
            filled += qsizetype(count);
            total += count;
            atEnd = count == 0;
            if (total > DatabaseLoad::MaxFileBytes)
                return Stop(m_lineNumber + 1,
                            u"more than the %1 MiB a database takes"_s.arg(DatabaseLoad::MaxFileBytes >> 20));
        }
    }

    // Decodes the whole lines at the start of rest into one buffer that
    // their records share: one allocation for some hundreds of records
    // instead of one each. Each line's plain bytes lie at half its place in
    // rest. Rest moves on past them; false when the records would be more
    // than a database holds.
    bool DecodeLines(QByteArrayView &rest, bool atEnd, QByteArrayView key)
    {
        const qsizetype plainSize = (rest.size() + 1) / 2;
        const std::shared_ptr<char[]> plain = std::make_shared_for_overwrite<char[]>(std::size_t(plainSize));
        char *const out = plain.get();
        const char *const begin = rest.data();
        m_lines.clear();
        for (;;) {
            // Runs of lines as the writers write them go fast; any other
            // line, one at a time, the exact way.
            rest = rest.sliced(m_decoder.Decode(rest, out, (rest.data() - begin) / 2, m_lines));
            const std::optional<LineEnds::Line> line = LineEnds::FirstLine(rest, atEnd);
            if (!line)
                break;
            const qsizetype start = (line->text.data() - begin) / 2;
            rest = rest.sliced(line->length);
            // A damaged line gives a record of empty fields.
            const qsizetype length = std::max<qsizetype>(DecodeLineInto(line->text, key, out + start), 0);
            m_lines.push_back({line->text, ParseRecordPlaces(QByteArrayView(out, plainSize), start, length)});
        }
        const bool logDamage = lcStore().isDebugEnabled();
        m_records.Expect(qsizetype(m_lines.size()));
        bool full = false;
        for (const RegularLineDecoder::Line &line : m_lines) {
            ++m_lineNumber;
            if (line.text.isEmpty())
                continue;
            if (logDamage)
                LogDamage(line.text);
            if (m_recordCount == DatabaseLoad::MaxRecords) {
                full = true;
                break;
            }
            ++m_recordCount;
            m_records.Add(plain, line.places);
        }
        m_records.Done();
        return !full;
    }

    // Line 0 stands for the file as a whole.
    bool Stop(qsizetype lineNumber, const QString &reason)
    {
        m_stop = lineNumber > 0 ? u"line %1: %2"_s.arg(lineNumber).arg(reason) : reason;
        qCWarning(lcStore).noquote() << u"stopped reading %1 early at %2"_s.arg(m_path, m_stop);
        return false;
    }

    // Each damaged line still loads as well as it can; a developer who turns
    // the store's debug log on learns where and why. The check costs a second
    // decode, so it runs only then.
    void LogDamage(QByteArrayView line) const
    {
        if (const std::optional<QString> reason = LineDamageOf(line))
            qCDebug(lcStore).noquote() << u"%1:%2: damaged line: %3"_s.arg(m_path).arg(m_lineNumber).arg(*reason);
    }

    QString m_path;
    RegularFile m_file;
    Records m_records;
    qsizetype m_lineNumber = 0;
    qsizetype m_recordCount = 0;
    QString m_stop;
    RegularLineDecoder m_decoder{CodecKey()};
    std::vector<RegularLineDecoder::Line> m_lines;
};

// Makes room in the list for a chunk's records at once and puts each in its
// place: less work than appending them one by one.
class ListAppender
{
public:
    explicit ListAppender(QList<RegistrationRecord> &list)
        : m_list(list)
    {}

    void Expect(qsizetype count)
    {
        const qsizetype used = m_list.size();
        m_list.resize(used + count);
        m_next = m_list.data() + used;
    }
    void Add(const std::shared_ptr<char[]> &buffer, const RegistrationRecord::Places &places)
    {
        *m_next++ = RegistrationRecord(buffer, places);
    }
    // Drops the room that empty lines and lines past the last record left.
    void Done() { m_list.resize(m_next - m_list.constData()); }

private:
    QList<RegistrationRecord> &m_list;
    RegistrationRecord *m_next = nullptr;
};

class VisitorCaller
{
public:
    explicit VisitorCaller(const RecordVisitor &visit)
        : m_visit(visit)
    {}

    void Expect(qsizetype) {}
    void Add(const std::shared_ptr<char[]> &buffer, const RegistrationRecord::Places &places)
    {
        m_visit(RegistrationRecord(buffer, places));
    }
    void Done() {}

private:
    const RecordVisitor &m_visit;
};

} // namespace

DatabaseLoad LoadDatabaseFile(const QString &path)
{
    QList<RegistrationRecord> records;
    DatabaseStream stream(path, ListAppender(records));
    // Room for every record the file can hold: the list never grows by copying.
    records.reserve(stream.MostRecords());
    DatabaseLoad load = stream.Load();
    load.records = std::move(records);
    return load;
}

DatabaseLoad VisitDatabaseFile(const QString &path, const RecordVisitor &visit)
{
    return DatabaseStream(path, VisitorCaller(visit)).Load();
}

QList<RegistrationRecord> ReadDatabaseFile(const QString &path)
{
    return LoadDatabaseFile(path).records;
}
