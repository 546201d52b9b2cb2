#include "csvwriter.h"

#include "parallelmap.h"
#include "rawbuffer.h"
#include "recordcolumns.h"
#include "store/bytelanes.h"
#include "store/databasefiles.h"
#include "utf8text.h"

#include <algorithm>

namespace {

constexpr QByteArrayView LineEnd = "\r\n";

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

QByteArrayList WriteCsv(const QList<DatabaseWalk> &databases)
{
    QByteArray header = RecordColumns::Names().join(u',').toUtf8();
    header += LineEnd;
    return QByteArrayList{header} + ParallelMap(databases, [](const DatabaseWalk &database) {
               const QByteArray name = DatabaseFiles::DisplayName(database.database).toUtf8();
               RawBuffer rows;
               database.walk([&](const RegistrationRecord &record) {
                   qsizetype room = name.size() + LineEnd.size();
                   for (int field = 0; field < RegistrationRecord::FieldCount; ++field)
                       room += Room(record[RegistrationRecord::Field(field)]) + 1;
                   char *out = std::copy(name.begin(), name.end(), rows.Room(room));
                   for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
                       *out++ = ',';
                       out = WriteField(out, record[RegistrationRecord::Field(field)]);
                   }
                   rows.Commit(std::copy(LineEnd.begin(), LineEnd.end(), out));
               });
               return rows.Take();
           });
}
