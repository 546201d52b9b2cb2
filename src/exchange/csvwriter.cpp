#include "csvwriter.h"

#include "recordcolumns.h"
#include "store/bytelanes.h"
#include "store/databasefiles.h"
#include "store/lineends.h"
#include "utf8text.h"

#include <algorithm>

namespace {

bool NeedsQuotes(QByteArrayView ansi)
{
    const auto special = [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; };
    const char *in = ansi.begin();
    for (; ansi.end() - in >= ByteLanes::Width; in += ByteLanes::Width) {
        const quint64 word = ByteLanes::Load(in);
        if (ByteLanes::HasByte(word, ',') || ByteLanes::HasByte(word, '"') || ByteLanes::HasByte(word, '\r')
            || ByteLanes::HasByte(word, '\n'))
            return true;
    }
    return std::any_of(in, ansi.end(), special);
}

// What a spreadsheet would take for the start of a formula, or of a cell
// split in two.
bool StartsFormula(QByteArrayView ansi)
{
    return !ansi.isEmpty() && QByteArrayView("=+-@\t\r").contains(ansi.front());
}

// A quoted field doubles its quotes: twice the characters, two quotes and a
// neutralising apostrophe.
qsizetype Room(QByteArrayView ansi)
{
    return Utf8Text::MaxBytesPerCharacter * 2 * ansi.size() + 4;
}

char *WriteField(char *out, QByteArrayView ansi, CsvCells cells)
{
    const bool neutralise = cells == CsvCells::SpreadsheetSafe && StartsFormula(ansi);
    if (!NeedsQuotes(ansi)) {
        if (neutralise)
            *out++ = '\'';
        return Utf8Text::WriteExact(out, ansi);
    }
    *out++ = '"';
    if (neutralise)
        *out++ = '\'';
    for (qsizetype quote; (quote = ansi.indexOf('"')) >= 0; ansi = ansi.sliced(quote + 1)) {
        out = Utf8Text::WriteExact(out, ansi.first(quote + 1));
        *out++ = '"';
    }
    out = Utf8Text::WriteExact(out, ansi);
    *out++ = '"';
    return out;
}

} // namespace

void CsvWriter::Begin(QByteArray &out)
{
    out += RecordColumns::Names().join(u',').toUtf8();
    out += LineEnds::CrLf;
}

void CsvWriter::BeginDatabase(int database, QByteArray &)
{
    m_databaseName = DatabaseFiles::DisplayName(database).toUtf8();
}

void CsvWriter::Add(const RegistrationRecord &record, QByteArray &out)
{
    qsizetype room = m_databaseName.size() + LineEnds::CrLf.size();
    for (int field = 0; field < RegistrationRecord::FieldCount; ++field)
        room += Room(record[RegistrationRecord::Field(field)]) + 1;
    Utf8Text::AppendWritten(out, room, [&](char *at) {
        at = std::copy(m_databaseName.begin(), m_databaseName.end(), at);
        for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
            *at++ = ',';
            at = WriteField(at, record[RegistrationRecord::Field(field)], m_cells);
        }
        return std::copy(LineEnds::CrLf.begin(), LineEnds::CrLf.end(), at);
    });
}

QByteArray WriteCsv(const QList<DatabaseRecords> &databases, CsvCells cells)
{
    return CsvWriter(cells).WriteAll(databases);
}
