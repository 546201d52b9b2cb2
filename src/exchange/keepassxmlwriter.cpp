#include "keepassxmlwriter.h"

#include "platform/appinfo.h"
#include "store/ansitext.h"
#include "store/databasefiles.h"
#include "store/fieldnames.h"
#include "utf8text.h"

#include <QUuid>
#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace {

using Field = RegistrationRecord::Field;

struct EntryString
{
    QLatin1StringView key;
    Field field;
};

constexpr EntryString EntryStrings[] = {
    {QLatin1StringView("Title"), Field::Product},
    {QLatin1StringView("UserName"), Field::Registrant},
    {QLatin1StringView("Password"), Field::Registration},
    {QLatin1StringView("URL"), Field::WebContact},
    {FieldNames::Names[Field::CustomerId], Field::CustomerId},
    {FieldNames::Names[Field::RegistrationDate], Field::RegistrationDate},
    {FieldNames::Names[Field::Recorded], Field::Recorded},
};

const QUuid UuidNamespace(u"{5b0b1f5e-3c1a-4f0d-9e55-6a4f2b8d7c21}"_s);

QString Uuid(const QString &name)
{
    return QString::fromLatin1(QUuid::createUuidV5(UuidNamespace, name).toRfc4122().toBase64());
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

void WriteEntry(QXmlStreamWriter &xml, const RegistrationRecord &record, const QString &uuid)
{
    xml.writeStartElement(u"Entry"_s);
    xml.writeTextElement(u"UUID"_s, uuid);
    for (const EntryString &string : EntryStrings) {
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
    WriteGroupStart(xml, AppInfo::ApplicationTitle, Uuid(u"root"_s));
    for (const DatabaseRecords &database : databases) {
        const int number = database.database;
        WriteGroupStart(xml, DatabaseFiles::DisplayName(number), Uuid(u"group %1"_s.arg(number)));
        for (qsizetype index = 0; index < database.records.size(); ++index)
            WriteEntry(xml, database.records[index], Uuid(u"entry %1 %2"_s.arg(number).arg(index + 1)));
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
