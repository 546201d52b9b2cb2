#include "jsonwriter.h"

#include "recordcolumns.h"
#include "store/databasefiles.h"
#include "utf8text.h"

namespace {

QByteArray Quoted(QByteArrayView utf8)
{
    QByteArray quoted = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                quoted += "\\u00" + QByteArray::number(c, 16).rightJustified(2, '0');
            else
                quoted += c;
        }
    }
    return quoted + '"';
}

} // namespace

QByteArray WriteJson(const QList<DatabaseRecords> &databases)
{
    QList<QByteArray> keys;
    for (const QString &name : RecordColumns::Names())
        keys.append(Quoted(name.toUtf8()) + ": ");
    QByteArray json = "[";
    QByteArrayView separator = "\n";
    QByteArray utf8;
    for (const DatabaseRecords &database : databases) {
        const QByteArray name = Quoted(DatabaseFiles::DisplayName(database.database).toUtf8());
        for (const RegistrationRecord &record : database.records) {
            json += separator;
            separator = ",\n";
            json += '{' + keys[0] + name;
            for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
                utf8.clear();
                Utf8Text::AppendExact(utf8, record[RegistrationRecord::Field(field)]);
                json += ", " + keys[field + 1] + Quoted(utf8);
            }
            json += '}';
        }
    }
    return json + "\n]\n";
}
