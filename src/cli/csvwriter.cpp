#include "csvwriter.h"

#include "parallelmap.h"
#include "recordcolumns.h"
#include "store/databasefiles.h"
#include "utf8text.h"

namespace {

constexpr QByteArrayView LineEnd = "\r\n";

void AppendField(QByteArray &out, QByteArrayView ansi)
{
    if (ansi.indexOf(',') < 0 && ansi.indexOf('"') < 0 && ansi.indexOf('\r') < 0 && ansi.indexOf('\n') < 0) {
        Utf8Text::AppendExact(out, ansi);
        return;
    }
    out += '"';
    Utf8Text::AppendExact(out, QByteArray(ansi.data(), ansi.size()).replace("\"", "\"\""));
    out += '"';
}

} // namespace

QByteArrayList WriteCsv(const QList<DatabaseRecords> &databases)
{
    QByteArray header = RecordColumns::Names().join(u',').toUtf8();
    header += LineEnd;
    return QByteArrayList{header} + ParallelMap(databases, [](const DatabaseRecords &database) {
               const QByteArray name = DatabaseFiles::DisplayName(database.database).toUtf8();
               QByteArray rows;
               for (const RegistrationRecord &record : database.records) {
                   rows += name;
                   for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
                       rows += ',';
                       AppendField(rows, record[RegistrationRecord::Field(field)]);
                   }
                   rows += LineEnd;
               }
               return rows;
           });
}
