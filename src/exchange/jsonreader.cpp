#include "jsonreader.h"

#include "jsonelementcount.h"
#include "recordcolumns.h"
#include "store/databasereader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

// A key's text, its escapes undone, to compare it with the object's others.
QByteArray KeyText(QByteArrayView quoted)
{
    if (!quoted.contains('\\'))
        return quoted.sliced(1, quoted.size() - 2).toByteArray();
    return QJsonDocument::fromJson("[" + quoted.toByteArray() + "]").array().first().toString().toUtf8();
}

QString Place(QByteArrayView json, qsizetype offset)
{
    const QByteArrayView before = json.first(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return u"line %1, column %2"_s.arg(before.count('\n') + 1)
        .arg(QString::fromUtf8(before.sliced(lineStart)).size() + 1);
}

// JSON leaves a key given twice in one object to the reader, and Qt keeps
// the last without a word. Looks through JSON that has parsed for the first
// such key; iterative, as the parser has already bounded the nesting.
std::optional<QString> DuplicateKey(QByteArrayView json)
{
    // The keys of each open object; arrays have none.
    QList<QSet<QByteArray>> open;
    for (qsizetype at = 0; at < json.size(); ++at) {
        const char c = json[at];
        if (c == '{' || c == '[') {
            open.append(QSet<QByteArray>());
        } else if (c == '}' || c == ']') {
            open.removeLast();
        } else if (c == '"') {
            const qsizetype start = at;
            for (++at; json[at] != '"'; ++at)
                at += json[at] == '\\' ? 1 : 0;
            qsizetype next = at + 1;
            while (next < json.size() && QByteArrayView(" \t\r\n").contains(json[next]))
                ++next;
            if (next == json.size() || json[next] != ':')
                continue;
            const QByteArrayView quoted = json.sliced(start, at + 1 - start);
            QSet<QByteArray> &keys = open.back();
            const QByteArray key = KeyText(quoted);
            if (keys.contains(key))
                return u"%1: the key %2 appears twice in one object, and only one can be read"_s.arg(
                    Place(json, start), QString::fromUtf8(quoted));
            keys.insert(key);
        }
    }
    return std::nullopt;
}

} // namespace

ImportedFile ReadJson(QByteArrayView utf8, const RecordTaker &take)
{
    ImportedFile file;
    if (const std::optional<qsizetype> beyond = JsonElementBeyond(utf8, DatabaseLoad::MaxRecords)) {
        file.errors.append(u"byte %1: more than the %2 records a database holds"_s.arg(*beyond).arg(
            QLocale(QLocale::English).toString(DatabaseLoad::MaxRecords)));
        return file;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(utf8.toByteArray(), &error);
    if (error.error == QJsonParseError::IllegalUTF8String) {
        file.errors.append(u"%1: the file is not UTF-8 text; if it is Windows-1252, convert it with "
                           "iconv -f WINDOWS-1252 -t UTF-8"_s.arg(Place(utf8, error.offset)));
        return file;
    }
    if (error.error != QJsonParseError::NoError) {
        file.errors.append(u"not JSON at byte %1: %2"_s.arg(error.offset).arg(error.errorString()));
        return file;
    }
    if (const std::optional<QString> duplicate = DuplicateKey(utf8)) {
        file.errors.append(*duplicate);
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
        ImportedRecord record;
        record.unit = "object"_L1;
        record.place = index + 1;
        for (auto member = object.begin(); member != object.end(); ++member) {
            const std::optional<RecordColumns::Column> column = RecordColumns::ColumnNamed(member.key());
            if (!column) {
                file.leftOut.append(u"%1: \"%2\" has no place in a record"_s.arg(where, member.key()));
                continue;
            }
            if (!member.value().isString()) {
                file.errors.append(u"%1: \"%2\" is not a string"_s.arg(where, member.key()));
                continue;
            }
            if (column->isDatabase)
                record.database = member.value().toString();
            else
                record.fields[column->field] = member.value().toString();
        }
        file.Add(std::move(record), take);
    }
    return file;
}
