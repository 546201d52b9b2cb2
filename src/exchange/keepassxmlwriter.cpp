#include "keepassxmlwriter.h"

#include "platform/appinfo.h"
#include "recordcolumns.h"
#include "store/ansitext.h"
#include "store/bytelanes.h"
#include "store/databasefiles.h"
#include "store/fieldnames.h"
#include "utf8text.h"

#include <QDateTime>
#include <QHash>
#include <QUuid>

#include <algorithm>
#include <array>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

using Field = RegistrationRecord::Field;

// Name-based UUIDs in a namespace of our own, made from our address in the
// URL namespace, so that the same record always names the same entry.
const QUuid UuidNamespace =
    QUuid::createUuidV5(QUuid(u"{6ba7b811-9dad-11d1-80b4-00c04fd430c8}"_s), "https://tessaly.example/Korvane/"_ba);

QByteArray Uuid(const QByteArray &name)
{
    return QUuid::createUuidV5(UuidNamespace, name).toRfc4122().toBase64();
}

// An entry is named by what identifies its record: the database, the Product
// and which of the records of that Product it is, so that a re-export names
// the same entry even when records before it were removed.
QByteArray EntryName(int database, QByteArrayView product, int occurrence)
{
    QByteArray name = QByteArray::number(database) + '\x1F';
    name += product;
    return name + '\x1F' + QByteArray::number(occurrence);
}

// Three numbers of up to four digits between separators, as a date or a
// time is written; none when the text holds anything else.
std::optional<std::array<int, 3>> ThreeNumbers(QByteArrayView text, char separator)
{
    std::array<int, 3> numbers{};
    std::size_t index = 0;
    int digits = 0;
    for (const char c : text) {
        if (c == separator && digits > 0 && index < 2) {
            ++index;
            digits = 0;
        } else if (c >= '0' && c <= '9' && ++digits <= 4) {
            numbers[index] = numbers[index] * 10 + (c - '0');
        } else {
            return std::nullopt;
        }
    }
    if (index != 2 || digits == 0)
        return std::nullopt;
    return numbers;
}

// A local date and time without a time zone look-up.
struct LocalTime
{
    QDate date;
    QTime time;
};

// The Recorded stamp, "MM-DD-YYYY HH:MM:SS".
std::optional<LocalTime> RecordedTime(QByteArrayView recorded)
{
    if (recorded.size() != 19 || recorded[10] != ' ')
        return std::nullopt;
    const std::optional<std::array<int, 3>> date = ThreeNumbers(recorded.first(10), '-');
    const std::optional<std::array<int, 3>> time = ThreeNumbers(recorded.sliced(11), ':');
    if (!date || !time)
        return std::nullopt;
    const LocalTime local{QDate((*date)[2], (*date)[0], (*date)[1]), QTime((*time)[0], (*time)[1], (*time)[2])};
    return local.date.isValid() && local.time.isValid() ? std::optional(local) : std::nullopt;
}

// The Registration Date is free text; the common written forms of a date
// (2024-01-31, 1/31/2024, 01-31-2024, 1.31.2024) give the entry's creation
// time, the start of that day.
std::optional<LocalTime> RegistrationTime(QByteArrayView registrationDate)
{
    const QByteArrayView text = registrationDate.trimmed();
    for (const char separator : {'-', '/', '.'}) {
        const std::optional<std::array<int, 3>> numbers = ThreeNumbers(text, separator);
        if (!numbers)
            continue;
        const bool yearFirst = separator == '-' && text.indexOf(separator) == 4;
        const QDate date = yearFirst ? QDate((*numbers)[0], (*numbers)[1], (*numbers)[2])
                                     : QDate((*numbers)[2], (*numbers)[0], (*numbers)[1]);
        if (date.isValid() && (yearFirst || text.size() - text.lastIndexOf(separator) == 5))
            return LocalTime{date, QTime(0, 0)};
    }
    return std::nullopt;
}

// Writes value as count decimal digits, leading zeros included.
char *WriteDigits(char *out, int value, int count)
{
    for (int index = count - 1; index >= 0; --index, value /= 10)
        out[index] = char('0' + value % 10);
    return out + count;
}

// Local times in KeePass's form: UTC in ISO 8601, 2026-12-04T01:35:24Z.
// A local time's offset from UTC is a time zone look-up, which would cost
// more than the rest of an entry; records of one day share it unless the
// clocks change that day, so it is looked up once a day.
class KeePassTimes
{
public:
    QByteArray Format(const LocalTime &local)
    {
        const QDateTime utc = QDateTime(local.date, local.time, Qt::UTC).addSecs(-OffsetFromUtc(local));
        const QDate date = utc.date();
        const QTime time = utc.time();
        QByteArray text(20, Qt::Uninitialized);
        char *out = WriteDigits(text.data(), date.year(), 4);
        *out++ = '-';
        out = WriteDigits(out, date.month(), 2);
        *out++ = '-';
        out = WriteDigits(out, date.day(), 2);
        *out++ = 'T';
        out = WriteDigits(out, time.hour(), 2);
        *out++ = ':';
        out = WriteDigits(out, time.minute(), 2);
        *out++ = ':';
        out = WriteDigits(out, time.second(), 2);
        *out = 'Z';
        return text;
    }

private:
    int OffsetFromUtc(const LocalTime &local)
    {
        auto day = m_dayOffsets.constFind(local.date);
        if (day == m_dayOffsets.cend()) {
            const int start = local.date.startOfDay().offsetFromUtc();
            const bool allDay = local.date.endOfDay().offsetFromUtc() == start;
            day = m_dayOffsets.insert(local.date, allDay ? std::optional(start) : std::nullopt);
        }
        const std::optional<int> offset = *day;
        return offset ? *offset : QDateTime(local.date, local.time).offsetFromUtc();
    }

    QHash<QDate, std::optional<int>> m_dayOffsets;
};

// XML 1.0 has no way to write the C0 controls but tab, line feed and
// carriage return, not even as character references; DEL and the C1 controls
// it only discourages, but KeePassXC strips them on import.
bool IsLostInXml(char c)
{
    static const std::array<bool, 256> Lost = [] {
        std::array<bool, 256> lost{};
        for (int code = 0; code < 256; ++code) {
            const char byte = char(code);
            lost[code] = AnsiText::CharacterOf(byte).category() == QChar::Other_Control && byte != '\t' && byte != '\n'
                         && byte != '\r';
        }
        return lost;
    }();
    return Lost[static_cast<unsigned char>(c)];
}

// Each Windows-1252 byte as XML text in UTF-8. A carriage return written as
// itself would come back as a line feed, as XML readers normalise line ends;
// a character reference survives.
struct XmlChar
{
    std::array<char, 5> bytes{};
    qsizetype length = 0;
};
constexpr qsizetype MaxXmlBytesPerCharacter = 5;

const std::array<XmlChar, 256> &XmlChars()
{
    static const std::array<XmlChar, 256> Table = [] {
        std::array<XmlChar, 256> table;
        for (int code = 0; code < 256; ++code) {
            QByteArray text = QString(AnsiText::CharacterOf(char(code))).toUtf8();
            if (code == '&')
                text = "&amp;";
            else if (code == '<')
                text = "&lt;";
            else if (code == '>')
                text = "&gt;";
            else if (code == '\r')
                text = "&#13;";
            std::copy(text.begin(), text.end(), table[code].bytes.begin());
            table[code].length = text.size();
        }
        return table;
    }();
    return Table;
}

bool NeedsNoEscape(quint64 word)
{
    return ByteLanes::ArePrintableAscii(word) && !ByteLanes::HasByte(word, '&') && !ByteLanes::HasByte(word, '<')
           && !ByteLanes::HasByte(word, '>');
}

// Writes the text by hand: a general XML writer spends most of a large
// export on checks and conversions this fixed layout does not need. Each
// entry is one line and nothing is indented, which keeps the file a third
// smaller and is all the same to every reader.
class XmlOut
{
public:
    void Append(QByteArrayView markup)
    {
        MakeRoom(markup.size());
        m_at = std::copy(markup.begin(), markup.end(), m_at);
    }

    void AppendText(QByteArrayView ansi)
    {
        MakeRoom(MaxXmlBytesPerCharacter * ansi.size());
        const char *in = ansi.begin();
        const char *const end = ansi.end();
        // Plain ASCII, nearly all text, goes across eight bytes at a time.
        for (; end - in >= ByteLanes::Width && NeedsNoEscape(ByteLanes::Load(in)); in += ByteLanes::Width)
            m_at = std::copy_n(in, ByteLanes::Width, m_at);
        const std::array<XmlChar, 256> &table = XmlChars();
        for (; in != end; ++in) {
            const XmlChar &c = table[static_cast<unsigned char>(*in)];
            std::memcpy(m_at, c.bytes.data(), c.bytes.size());
            m_at += c.length;
        }
    }

    void AppendElement(QByteArrayView name, QByteArrayView ansi)
    {
        Append("<");
        Append(name);
        Append(">");
        AppendText(ansi);
        Append("</");
        Append(name);
        Append(">");
    }

    QByteArray Take()
    {
        m_out.truncate(m_at ? m_at - m_out.constData() : 0);
        m_at = m_end = nullptr;
        return std::move(m_out);
    }

private:
    // Writing goes straight to the buffer's bytes; this is the one check
    // that they are there, grown by doubling.
    void MakeRoom(qsizetype room)
    {
        if (m_end - m_at >= room)
            return;
        const qsizetype used = m_at ? m_at - m_out.constData() : 0;
        m_out.resize(std::max(2 * m_out.size(), used + room + 4096));
        m_at = m_out.data() + used;
        m_end = m_out.data() + m_out.size();
    }

    QByteArray m_out;
    char *m_at = nullptr;
    char *m_end = nullptr;
};

void WriteTimes(XmlOut &xml, KeePassTimes &times, const RegistrationRecord &record)
{
    const std::optional<LocalTime> recorded = RecordedTime(record[Field::Recorded]);
    const std::optional<LocalTime> created = RegistrationTime(record[Field::RegistrationDate]);
    if (!created && !recorded)
        return;
    xml.Append("<Times>");
    xml.AppendElement("CreationTime", times.Format(created ? *created : *recorded));
    if (recorded)
        xml.AppendElement("LastModificationTime", times.Format(*recorded));
    xml.Append("</Times>");
}

void WriteEntry(XmlOut &xml, KeePassTimes &times, const RegistrationRecord &record, const QByteArray &uuid)
{
    xml.Append("<Entry>");
    xml.AppendElement("UUID", uuid);
    WriteTimes(xml, times, record);
    static const std::array<QByteArray, RegistrationRecord::FieldCount> Starts = [] {
        std::array<QByteArray, RegistrationRecord::FieldCount> starts;
        for (std::size_t index = 0; index < starts.size(); ++index) {
            const RecordColumns::KeePassString &string = RecordColumns::KeePassStrings[index];
            starts[index] = "<String><Key>" + QByteArray(string.key.data(), string.key.size()) + "</Key><Value"
                            + (string.field == Field::Registration ? " ProtectInMemory=\"True\">" : ">");
        }
        return starts;
    }();
    for (std::size_t index = 0; index < Starts.size(); ++index) {
        xml.Append(Starts[index]);
        xml.AppendText(record[RecordColumns::KeePassStrings[index].field]);
        xml.Append("</Value></String>");
    }
    xml.Append("</Entry>\n");
}

} // namespace

QByteArray WriteKeePassXml(const QList<DatabaseRecords> &databases)
{
    XmlOut xml;
    KeePassTimes times;
    const QByteArray title(AppInfo::ApplicationTitle.data(), AppInfo::ApplicationTitle.size());
    xml.Append("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<KeePassFile><Meta>");
    xml.AppendElement("Generator", title);
    xml.AppendElement("DatabaseName", title);
    xml.Append("</Meta>\n<Root><Group>");
    xml.AppendElement("UUID", Uuid("root"_ba));
    xml.AppendElement("Name", title);
    for (const DatabaseRecords &database : databases) {
        const int number = database.database;
        xml.Append("\n<Group>");
        xml.AppendElement("UUID", Uuid("group " + QByteArray::number(number)));
        xml.AppendElement("Name", AnsiText::FromUnicode(DatabaseFiles::DisplayName(number)));
        xml.Append("\n");
        QHash<QByteArray, int> occurrences;
        for (const RegistrationRecord &record : database.records) {
            const QByteArrayView product = record[Field::Product];
            WriteEntry(xml, times, record, Uuid(EntryName(number, product, occurrences[product.toByteArray()]++)));
        }
        xml.Append("</Group>");
    }
    xml.Append("\n</Group></Root></KeePassFile>\n");
    return xml.Take();
}

QStringList KeePassXmlObstacles(const QList<DatabaseRecords> &databases)
{
    QStringList obstacles;
    for (const DatabaseRecords &database : databases) {
        for (qsizetype index = 0; index < database.records.size(); ++index) {
            const RegistrationRecord &record = database.records[index];
            for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
                const QByteArrayView text = record[Field(field)];
                // Printable ASCII, nearly all text, is passed over eight bytes at a time.
                const char *start = text.begin();
                while (text.end() - start >= ByteLanes::Width && ByteLanes::ArePrintableAscii(ByteLanes::Load(start)))
                    start += ByteLanes::Width;
                const auto lost = std::find_if(start, text.end(), IsLostInXml);
                if (lost == text.end())
                    continue;
                const QChar character = AnsiText::ToUnicode(text.sliced(lost - text.begin(), 1)).front();
                obstacles.append(u"%1, record %2 (\"%3\"), %4: the control character U+%5, which KeePass XML loses"_s
                                     .arg(DatabaseFiles::DisplayName(database.database))
                                     .arg(index + 1)
                                     .arg(Utf8Text::Visible(record[Field::Product]), FieldNames::Names[field],
                                          QString::number(character.unicode(), 16).toUpper().rightJustified(4, u'0')));
            }
        }
    }
    return obstacles;
}
