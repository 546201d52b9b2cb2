#include "jsonwriter.h"

#include "bytetexts.h"
#include "recordcolumns.h"
#include "store/ansitext.h"
#include "store/bytelanes.h"
#include "store/databasefiles.h"
#include "utf8text.h"

#include <algorithm>
#include <cstring>

namespace {

// A Windows-1252 byte as JSON string text in UTF-8: "\u001f" is the longest.
constexpr qsizetype MaxJsonBytesPerCharacter = 6;

const ByteTexts<MaxJsonBytesPerCharacter> &JsonTexts()
{
    static const ByteTexts<MaxJsonBytesPerCharacter> Table([](char byte) -> QByteArray {
        switch (byte) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            return static_cast<unsigned char>(byte) < 0x20
                       ? "\\u00" + QByteArray::number(byte, 16).rightJustified(2, '0')
                       : QString(AnsiText::CharacterOf(byte)).toUtf8();
        }
    });
    return Table;
}

char *WriteString(char *out, QByteArrayView ansi)
{
    *out++ = '"';
    const char *in = ansi.begin();
    const char *const end = ansi.end();
    // Plain ASCII, nearly all text, goes across eight bytes at a time.
    for (; end - in >= ByteLanes::Width; in += ByteLanes::Width, out += ByteLanes::Width) {
        const quint64 word = ByteLanes::Load(in);
        if (!ByteLanes::ArePrintableAscii(word) || ByteLanes::HasByte(word, '"') || ByteLanes::HasByte(word, '\\'))
            break;
        std::memcpy(out, &word, ByteLanes::Width);
    }
    const ByteTexts<MaxJsonBytesPerCharacter> &table = JsonTexts();
    for (; in != end; ++in)
        out = table.Write(out, *in);
    *out++ = '"';
    return out;
}

QByteArray Quoted(const QString &text)
{
    const QByteArray ansi = AnsiText::FromUnicode(text);
    QByteArray quoted(MaxJsonBytesPerCharacter * ansi.size() + 2, Qt::Uninitialized);
    quoted.truncate(WriteString(quoted.data(), ansi) - quoted.constData());
    return quoted;
}

} // namespace

JsonWriter::JsonWriter()
{
    const QStringList names = RecordColumns::Names();
    for (std::size_t index = 0; index < m_keys.size(); ++index)
        m_keys[index] = ", " + Quoted(names[qsizetype(index) + 2]) + ": ";
}

void JsonWriter::Begin(QByteArray &out)
{
    out += '[';
}

void JsonWriter::BeginDatabase(int database, QByteArray &)
{
    const QStringList names = RecordColumns::Names();
    m_recordStart =
        '{' + Quoted(names[0]) + ": " + Quoted(DatabaseFiles::DisplayName(database)) + ", " + Quoted(names[1]) + ": ";
}

void JsonWriter::Add(const RegistrationRecord &record, QByteArray &out)
{
    // The separator, the keys, each value quoted and the closing brace.
    qsizetype room = 2 + m_recordStart.size() + 1;
    for (const QByteArray &key : m_keys)
        room += key.size();
    for (int field = 0; field < RegistrationRecord::FieldCount; ++field)
        room += MaxJsonBytesPerCharacter * record[RegistrationRecord::Field(field)].size() + 2;
    const char *separator = m_first ? "\n" : ",\n";
    m_first = false;
    Utf8Text::AppendWritten(out, room, [&](char *at) {
        at = std::copy_n(separator, std::strlen(separator), at);
        at = std::copy(m_recordStart.begin(), m_recordStart.end(), at);
        at = WriteString(at, record[RegistrationRecord::Field(0)]);
        for (int field = 1; field < RegistrationRecord::FieldCount; ++field) {
            const QByteArray &key = m_keys[std::size_t(field - 1)];
            at = std::copy(key.begin(), key.end(), at);
            at = WriteString(at, record[RegistrationRecord::Field(field)]);
        }
        *at++ = '}';
        return at;
    });
}

void JsonWriter::End(QByteArray &out, const TextSink &)
{
    out += "\n]\n";
}

QByteArray WriteJson(const QList<DatabaseRecords> &databases)
{
    return JsonWriter().WriteAll(databases);
}
