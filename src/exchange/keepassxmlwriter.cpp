#include "keepassxmlwriter.h"

#include "bytetexts.h"
#include "platform/appinfo.h"
#include "recordcolumns.h"
#include "store/ansitext.h"
#include "store/bytelanes.h"
#include "store/databasefiles.h"
#include "utf8text.h"

#include <QUuid>

#include <algorithm>
#include <array>
#include <charconv>

using namespace Qt::StringLiterals;

namespace {

using Field = RegistrationRecord::Field;

// Name-based UUIDs in a namespace of our own, made from our address in the
// URL namespace, so that the same record always names the same entry.
const QUuid UuidNamespace =
    QUuid::createUuidV5(QUuid(u"{6ba7b811-9dad-11d1-80b4-00c04fd430c8}"_s), "https://tessaly.example/Korvane/"_ba);

// A number's decimal digits, as part of a UUID's name.
class Decimal
{
public:
    explicit Decimal(int value)
        : m_size(std::to_chars(m_digits.begin(), m_digits.end(), value).ptr - m_digits.begin())
    {}

    operator QByteArrayView() const { return QByteArrayView(m_digits.data(), m_size); }

private:
    std::array<char, 11> m_digits;
    qsizetype m_size;
};

QByteArrayView View(const NamedUuids::Base64 &uuid)
{
    return QByteArrayView(uuid.data(), uuid.size());
}

// Each Windows-1252 byte as XML text in UTF-8. A carriage return written as
// itself would come back as a line feed, as XML readers normalise line ends;
// a character reference survives.
constexpr qsizetype MaxXmlBytesPerCharacter = 5;

const ByteTexts<MaxXmlBytesPerCharacter> &XmlTexts()
{
    static const ByteTexts<MaxXmlBytesPerCharacter> Table([](char byte) -> QByteArray {
        switch (byte) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '\r':
            return "&#13;";
        default:
            return QString(AnsiText::CharacterOf(byte)).toUtf8();
        }
    });
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
// smaller and is all the same to every reader. The caller makes room: the
// markup and MaxXmlBytesPerCharacter bytes a character of text.
class XmlCursor
{
public:
    explicit XmlCursor(char *at)
        : m_at(at)
    {}

    char *At() const { return m_at; }

    void Append(QByteArrayView markup) { m_at = std::copy(markup.begin(), markup.end(), m_at); }

    void AppendText(QByteArrayView ansi)
    {
        const ByteTexts<MaxXmlBytesPerCharacter> &table = XmlTexts();
        const char *in = ansi.begin();
        const char *const end = ansi.end();
        // Plain ASCII, nearly all text, goes across eight bytes at a time;
        // the words around an accented letter still do.
        for (; end - in >= ByteLanes::Width; in += ByteLanes::Width) {
            if (NeedsNoEscape(ByteLanes::Load(in)))
                m_at = std::copy_n(in, ByteLanes::Width, m_at);
            else
                AppendEach(in, in + ByteLanes::Width, table);
        }
        AppendEach(in, end, table);
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

private:
    void AppendEach(const char *in, const char *end, const ByteTexts<MaxXmlBytesPerCharacter> &table)
    {
        for (; in != end; ++in)
            m_at = table.Write(m_at, *in);
    }

    char *m_at;
};

// More than the markup of any entry, group or file head: all but the text.
constexpr qsizetype MarkupRoom = 1024;

// Appends what write puts through a cursor, with room for the markup and the
// given text.
template <typename Write>
void AppendXml(QByteArray &out, qsizetype textBytes, Write write)
{
    Utf8Text::AppendWritten(out, MarkupRoom + MaxXmlBytesPerCharacter * textBytes, [&](char *at) {
        XmlCursor xml(at);
        write(xml);
        return xml.At();
    });
}

void WriteTimes(XmlCursor &xml, KeePassTimes &times, const RegistrationRecord &record)
{
    const KeePassTimes::EntryTimes entry = times.Of(record);
    if (!entry.creation)
        return;
    const auto text = [](const KeePassTimes::Stamp &stamp) { return QByteArrayView(stamp.data(), stamp.size()); };
    xml.Append("<Times>");
    xml.AppendElement("CreationTime", text(*entry.creation));
    if (entry.lastModification)
        xml.AppendElement("LastModificationTime", text(*entry.lastModification));
    xml.Append("</Times>");
}

void WriteEntry(XmlCursor &xml, KeePassTimes &times, const RegistrationRecord &record, QByteArrayView uuid)
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

const QByteArray &Title()
{
    static const QByteArray Text(AppInfo::ApplicationTitle.data(), AppInfo::ApplicationTitle.size());
    return Text;
}

} // namespace

KeePassXmlWriter::KeePassXmlWriter()
    : m_uuids(UuidNamespace)
{}

void KeePassXmlWriter::Begin(QByteArray &out)
{
    const NamedUuids::Base64 uuid = m_uuids.Of({"root"});
    AppendXml(out, 3 * Title().size(), [&](XmlCursor &xml) {
        xml.Append("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<KeePassFile><Meta>");
        xml.AppendElement("Generator", Title());
        xml.AppendElement("DatabaseName", Title());
        xml.Append("</Meta>\n<Root><Group>");
        xml.AppendElement("UUID", View(uuid));
        xml.AppendElement("Name", Title());
    });
}

void KeePassXmlWriter::BeginDatabase(int database, QByteArray &out)
{
    const QByteArray name = AnsiText::FromUnicode(DatabaseFiles::DisplayName(database));
    const NamedUuids::Base64 uuid = m_uuids.Of({"group ", Decimal(database)});
    AppendXml(out, name.size(), [&](XmlCursor &xml) {
        if (m_database != 0)
            xml.Append("</Group>");
        xml.Append("\n<Group>");
        xml.AppendElement("UUID", View(uuid));
        xml.AppendElement("Name", name);
        xml.Append("\n");
    });
    m_database = database;
    m_occurrences.clear();
}

void KeePassXmlWriter::Add(const RegistrationRecord &record, QByteArray &out)
{
    // An entry is named by what identifies its record: the database, the
    // Product and which of the records of that Product it is, so that a
    // re-export names the same entry even when records before it were
    // removed.
    const QByteArrayView product = record[Field::Product];
    const NamedUuids::Base64 uuid =
        m_uuids.Of({Decimal(m_database), "\x1F", product, "\x1F", Decimal(m_occurrences[Product{product}]++)});
    qsizetype textBytes = uuid.size();
    for (int field = 0; field < RegistrationRecord::FieldCount; ++field)
        textBytes += record[Field(field)].size();
    AppendXml(out, textBytes, [&](XmlCursor &xml) { WriteEntry(xml, m_times, record, View(uuid)); });
}

void KeePassXmlWriter::End(QByteArray &out, const TextSink &)
{
    AppendXml(out, 0, [this](XmlCursor &xml) {
        if (m_database != 0)
            xml.Append("</Group>");
        xml.Append("\n</Group></Root></KeePassFile>\n");
    });
}

QByteArray WriteKeePassXml(const QList<DatabaseRecords> &databases)
{
    return KeePassXmlWriter().WriteAll(databases);
}
