#include "csvwriter.h"

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

QByteArray WriteCsv(const QList<DatabaseRecords> &databases)
{
    QByteArray out = RecordColumns::Names().join(u',').toUtf8();
    out += LineEnd;
    for (const DatabaseRecords &database : databases) {
        const QByteArray name = DatabaseFiles::DisplayName(database.database).toUtf8();
        for (const RegistrationRecord &record : database.records) {
            out += name;
            for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
                out += ',';
                AppendField(out, record[RegistrationRecord::Field(field)]);
            }
            out += LineEnd;
        }
    }
    return out;
}
