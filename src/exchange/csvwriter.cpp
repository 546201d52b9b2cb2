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

// A quoted field doubles its quotes: twice the characters and two quotes.
qsizetype Room(QByteArrayView ansi)
{
    return Utf8Text::MaxBytesPerCharacter * 2 * ansi.size() + 3;
}

char *WriteField(char *out, QByteArrayView ansi)
{
    if (!NeedsQuotes(ansi))
        return Utf8Text::WriteExact(out, ansi);
    *out++ = '"';
    for (qsizetype quote; (quote = ansi.indexOf('"')) >= 0; ansi = ansi.sliced(quote + 1)) {
        out = Utf8Text::WriteExact(out, ansi.first(quote + 1));
        *out++ = '"';
    }
    out = Utf8Text::WriteExact(out, ansi);
    *out++ = '"';
    return out;
}

} // namespace

QByteArray WriteCsv(const QList<DatabaseRecords> &databases)
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
                    out = WriteField(out, record[RegistrationRecord::Field(field)]);
                }
                return std::copy(LineEnds::CrLf.begin(), LineEnds::CrLf.end(), out);
            });
        }
    }
    return csv;
}
