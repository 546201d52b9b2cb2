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

QByteArray WriteCsv(const QList<DatabaseRecords> &databases, CsvCells cells)
{
    QByteArray csv = RecordColumns::Names().join(u',').toUtf8();
    csv += LineEnds::CrLf;
    for (const DatabaseRecords &database : databases) {
        const QByteArray name = DatabaseFiles::DisplayName(database.database).toUtf8();
        for (const RegistrationRecord &record : database.records) {
            qsizetype room = name.size() + LineEnds::CrLf.size();
            for (int field = 0; field < RegistrationRecord::FieldCount; ++field)
                room += Room(record[RegistrationRecord::Field(field)]) + 1;
            Utf8Text::AppendWritten(csv, room, [&](char *out) {
                out = std::copy(name.begin(), name.end(), out);
                for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
                    *out++ = ',';
                    out = WriteField(out, record[RegistrationRecord::Field(field)], cells);
                }
                return std::copy(LineEnds::CrLf.begin(), LineEnds::CrLf.end(), out);
            });
        }
    }
    return csv;
}
