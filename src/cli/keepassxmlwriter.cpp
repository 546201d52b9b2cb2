#include "keepassxmlwriter.h"

#include "platform/appinfo.h"
#include "recordcolumns.h"
#include "store/ansitext.h"
#include "store/databasefiles.h"
#include "store/fieldnames.h"
#include "utf8text.h"

#include <QDateTime>
#include <QHash>
#include <QUuid>
#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace {

using Field = RegistrationRecord::Field;

// Name-based UUIDs in a namespace of our own, made from our address in the
// URL namespace, so that the same record always names the same entry.
const QUuid UuidNamespace =
    QUuid::createUuidV5(QUuid(u"{6ba7b811-9dad-11d1-80b4-00c04fd430c8}"_s), "https://tessaly.example/Korvane/"_ba);

QString Uuid(const QByteArray &name)
{
    return QString::fromLatin1(QUuid::createUuidV5(UuidNamespace, name).toRfc4122().toBase64());
}

// An entry is named by what identifies its record: the database, the Product
// and which of the records of that Product it is, so that a re-export names
// the same entry even when records before it were removed.
QByteArray EntryName(int database, QByteArrayView product, int occurrence)
{
    QByteArray name = QByteArray::number(database) + '\x1F';
    name += product;
    return name + '\x1F' + QByteArray::number(occurrence);
}

// KeePass's form of a time: UTC in ISO 8601, empty when the local time does
// not parse.
QString KeePassTime(const QDateTime &local)
{
    return local.isValid() ? local.toUTC().toString(Qt::ISODate) : QString();
}

QDateTime RecordedTime(QByteArrayView recorded)
{
    return QDateTime::fromString(QString::fromLatin1(recorded), u"MM-dd-yyyy HH:mm:ss"_s);
}

// The Registration Date is free text; the common written forms of a date
// give the entry's creation time.
QDateTime RegistrationTime(QByteArrayView registrationDate)
{
    const QString text = QString::fromLatin1(registrationDate).trimmed();
    for (const QString &format : {u"yyyy-MM-dd"_s, u"M/d/yyyy"_s, u"MM-dd-yyyy"_s, u"M.d.yyyy"_s}) {
        const QDate date = QDate::fromString(text, format);
        if (date.isValid())
            return date.startOfDay();
    }
    return QDateTime();
}

// XML 1.0 has no way to write the C0 controls but tab, line feed and
// carriage return, not even as character references; DEL and the C1 controls
// it only discourages, but KeePassXC strips them on import.
bool IsLostInXml(char c)
{
    static const std::array<bool, 256> Lost = [] {
        std::array<bool, 256> lost{};
        for (int code = 0; code < 256; ++code) {
            const char byte = char(code);
            lost[code] = AnsiText::CharacterOf(byte).category() == QChar::Other_Control && byte != '\t' && byte != '\n'
                         && byte != '\r';
        }
        return lost;
    }();
    return Lost[static_cast<unsigned char>(c)];
}

void WriteValue(QXmlStreamWriter &xml, const QString &text)
{
    // A carriage return written as itself would come back as a line feed:
    // XML readers normalise line ends. A character reference survives.
    const QStringList pieces = text.split(u'\r');
    for (qsizetype index = 0; index < pieces.size(); ++index) {
        if (index > 0)
            xml.writeEntityReference(u"#13"_s);
        if (!pieces[index].isEmpty())
            xml.writeCharacters(pieces[index]);
    }
}

void WriteTimes(QXmlStreamWriter &xml, const RegistrationRecord &record)
{
    const QDateTime recorded = RecordedTime(record[Field::Recorded]);
    QDateTime created = RegistrationTime(record[Field::RegistrationDate]);
    if (!created.isValid())
        created = recorded;
    if (!created.isValid())
        return;
    xml.writeStartElement(u"Times"_s);
    xml.writeTextElement(u"CreationTime"_s, KeePassTime(created));
    if (recorded.isValid())
        xml.writeTextElement(u"LastModificationTime"_s, KeePassTime(recorded));
    xml.writeEndElement();
}

void WriteEntry(QXmlStreamWriter &xml, const RegistrationRecord &record, const QString &uuid)
{
    xml.writeStartElement(u"Entry"_s);
    xml.writeTextElement(u"UUID"_s, uuid);
    WriteTimes(xml, record);
    for (const RecordColumns::KeePassString &string : RecordColumns::KeePassStrings) {
        xml.writeStartElement(u"String"_s);
        xml.writeTextElement(u"Key"_s, string.key);
        xml.writeStartElement(u"Value"_s);
        if (string.field == Field::Registration)
            xml.writeAttribute(u"ProtectInMemory"_s, u"True"_s);
        WriteValue(xml, AnsiText::ToUnicode(record[string.field]));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void WriteGroupStart(QXmlStreamWriter &xml, const QString &name, const QString &uuid)
{
    xml.writeStartElement(u"Group"_s);
    xml.writeTextElement(u"UUID"_s, uuid);
    xml.writeTextElement(u"Name"_s, name);
}

} // namespace

QByteArray WriteKeePassXml(const QList<DatabaseRecords> &databases)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(-1);
    xml.writeStartDocument(u"1.0"_s, true);
    xml.writeStartElement(u"KeePassFile"_s);
    xml.writeStartElement(u"Meta"_s);
    xml.writeTextElement(u"Generator"_s, AppInfo::ApplicationTitle);
    xml.writeTextElement(u"DatabaseName"_s, AppInfo::ApplicationTitle);
    xml.writeEndElement();
    xml.writeStartElement(u"Root"_s);
    WriteGroupStart(xml, AppInfo::ApplicationTitle, Uuid("root"_ba));
    for (const DatabaseRecords &database : databases) {
        const int number = database.database;
        WriteGroupStart(xml, DatabaseFiles::DisplayName(number), Uuid("group " + QByteArray::number(number)));
        QHash<QByteArray, int> occurrences;
        for (const RegistrationRecord &record : database.records) {
            const QByteArrayView product = record[Field::Product];
            WriteEntry(xml, record, Uuid(EntryName(number, product, occurrences[product.toByteArray()]++)));
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

QStringList KeePassXmlObstacles(const QList<DatabaseRecords> &databases)
{
    QStringList obstacles;
    for (const DatabaseRecords &database : databases) {
        for (qsizetype index = 0; index < database.records.size(); ++index) {
            const RegistrationRecord &record = database.records[index];
            for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
                const QByteArrayView text = record[Field(field)];
                const auto lost = std::find_if(text.begin(), text.end(), IsLostInXml);
                if (lost == text.end())
                    continue;
                const QChar character = AnsiText::ToUnicode(text.sliced(lost - text.begin(), 1)).front();
                obstacles.append(u"%1, record %2 (\"%3\"), %4: the control character U+%5, which KeePass XML loses"_s
                                     .arg(DatabaseFiles::DisplayName(database.database))
                                     .arg(index + 1)
                                     .arg(Utf8Text::Visible(record[Field::Product]), FieldNames::Names[field],
                                          QString::number(character.unicode(), 16).toUpper().rightJustified(4, u'0')));
            }
        }
    }
    return obstacles;
}
