#include "jsonreader.h"

#include "jsonelementcount.h"
#include "recordcolumns.h"
#include "store/databasereader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

using namespace Qt::StringLiterals;

ImportedFile ReadJson(QByteArrayView utf8)
{
    ImportedFile file;
    if (const std::optional<qsizetype> beyond = JsonElementBeyond(utf8, DatabaseLoad::MaxRecords)) {
        file.errors.append(u"byte %1: more than the %2 records a database holds"_s.arg(*beyond).arg(
            QLocale(QLocale::English).toString(DatabaseLoad::MaxRecords)));
        return file;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(utf8.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError) {
        file.errors.append(u"not JSON at byte %1: %2"_s.arg(error.offset).arg(error.errorString()));
        return file;
    }
    if (!document.isArray()) {
        file.errors.append(u"the file holds no array of records"_s);
        return file;
    }
    const QJsonArray array = document.array();
    for (qsizetype index = 0; index < array.size(); ++index) {
        const QString where = u"object %1"_s.arg(index + 1);
        if (!array[index].isObject()) {
            file.errors.append(where + u": not an object"_s);
            continue;
        }
        const QJsonObject object = array[index].toObject();
        ImportedRecord record{where, {}};
        for (auto member = object.begin(); member != object.end(); ++member) {
            const std::optional<RecordColumns::Column> column = RecordColumns::ColumnNamed(member.key());
            if (!column) {
                file.leftOut.append(u"%1: \"%2\" has no place in a record"_s.arg(where, member.key()));
                continue;
            }
            if (column->isDatabase)
                continue;
            if (!member.value().isString()) {
                file.errors.append(u"%1: \"%2\" is not a string"_s.arg(where, member.key()));
                continue;
            }
            record.fields[column->field] = member.value().toString();
        }
        file.records.append(std::move(record));
    }
    return file;
}
