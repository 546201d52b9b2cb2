#include "jsonwriter.h"

#include "parallelmap.h"
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

QByteArrayList WriteJson(const QList<DatabaseWalk> &databases)
{
    QList<QByteArray> keys;
    for (const QString &name : RecordColumns::Names())
        keys.append(Quoted(name.toUtf8()) + ": ");
    const QByteArrayList objects = ParallelMap(databases, [&keys](const DatabaseWalk &database) {
        const QByteArray name = Quoted(DatabaseFiles::DisplayName(database.database).toUtf8());
        QByteArrayList lines;
        QByteArray utf8;
        database.walk([&](const RegistrationRecord &record) {
            QByteArray line = '{' + keys[0] + name;
            for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
                utf8.clear();
                Utf8Text::AppendExact(utf8, record[RegistrationRecord::Field(field)]);
                line += ", " + keys[field + 1] + Quoted(utf8);
            }
            lines.append(line + '}');
        });
        return lines.join(",\n");
    });
    QByteArrayList pieces{"["};
    for (const QByteArray &piece : objects) {
        if (!piece.isEmpty())
            pieces << (pieces.size() == 1 ? "\n" : ",\n") << piece;
    }
    return pieces << "\n]\n";
}
