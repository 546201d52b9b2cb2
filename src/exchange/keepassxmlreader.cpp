#include "keepassxmlreader.h"

#include "store/databasereader.h"
#include "store/fieldnames.h"

#include <QLocale>

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

using Field = RegistrationRecord::Field;

constexpr int MaxGroupDepth = 256;

std::optional<Field> FieldOfKey(QStringView key)
{
    if (key == u"Title")
        return Field::Product;
    if (key == u"UserName")
        return Field::Registrant;
    if (key == u"Password")
        return Field::Registration;
    if (key == u"URL")
        return Field::WebContact;
    for (const Field field : {Field::CustomerId, Field::RegistrationDate, Field::Recorded}) {
        if (key == FieldNames::Name(field))
            return field;
    }
    return std::nullopt;
}

class KeePassXmlReader
{
public:
    explicit KeePassXmlReader(QByteArrayView xml)
        : m_xml(xml.toByteArray())
    {}

    ImportedFile Read()
    {
        if (!m_xml.readNextStartElement() || m_xml.name() != u"KeePassFile") {
            if (!m_xml.hasError())
                m_file.errors.append(u"not KeePass XML: the file does not start with <KeePassFile>"_s);
        } else {
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == u"Meta")
                    ReadMeta();
                else if (m_xml.name() == u"Root")
                    ReadGroups();
                else
                    m_xml.skipCurrentElement();
            }
        }
        if (m_xml.hasError())
            m_file.errors.append(u"line %1: %2"_s.arg(m_xml.lineNumber()).arg(m_xml.errorString()));
        return m_file;
    }

private:
    void ReadMeta()
    {
        bool recycleBinEnabled = false;
        QString recycleBin;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"RecycleBinEnabled")
                recycleBinEnabled = m_xml.readElementText().compare(u"True"_s, Qt::CaseInsensitive) == 0;
            else if (m_xml.name() == u"RecycleBinUUID")
                recycleBin = m_xml.readElementText();
            else
                m_xml.skipCurrentElement();
        }
        if (recycleBinEnabled)
            m_recycleBin = recycleBin;
    }

    // Reads the groups inside the current element, and their entries.
    void ReadGroups()
    {
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"Group")
                ReadGroup();
            else
                m_xml.skipCurrentElement();
        }
    }

    void ReadGroup(int depth = 1)
    {
        // Groups are read by recursion, so their depth is bounded; no
        // password manager nests anywhere near as deep.
        if (depth > MaxGroupDepth) {
            m_xml.raiseError(u"groups nested more than %1 deep"_s.arg(MaxGroupDepth));
            return;
        }
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"UUID" && !m_recycleBin.isEmpty() && m_xml.readElementText() == m_recycleBin) {
                m_file.leftOut.append(u"line %1: the entries of the recycle bin"_s.arg(m_xml.lineNumber()));
                SkipRestOfElement();
                return;
            }
            if (m_xml.name() == u"Group")
                ReadGroup(depth + 1);
            else if (m_xml.name() == u"Entry")
                ReadEntry();
            else if (m_xml.isStartElement())
                m_xml.skipCurrentElement();
        }
    }

    void ReadEntry()
    {
        ImportedRecord record{u"line %1"_s.arg(m_xml.lineNumber()), {}};
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"String")
                ReadString(record);
            else if (m_xml.name() == u"Binary")
                LeaveOut(record, u"an attachment"_s);
            else
                m_xml.skipCurrentElement();
        }
        for (const Field field : {Field::Product, Field::Registrant, Field::Registration, Field::WebContact,
                                  Field::CustomerId, Field::RegistrationDate}) {
            if (!record.fields[field])
                record.fields[field] = QString();
        }
        m_file.records.append(std::move(record));
        if (m_file.records.size() > DatabaseLoad::MaxRecords)
            m_xml.raiseError(u"more than the %1 records a database holds"_s.arg(
                QLocale(QLocale::English).toString(DatabaseLoad::MaxRecords)));
    }

    void ReadString(ImportedRecord &record)
    {
        QString key;
        QString value;
        bool encrypted = false;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"Key") {
                key = m_xml.readElementText();
            } else if (m_xml.name() == u"Value") {
                encrypted = m_xml.attributes().value(u"Protected"_s).compare(u"True"_s, Qt::CaseInsensitive) == 0;
                value = m_xml.readElementText();
            } else {
                m_xml.skipCurrentElement();
            }
        }
        if (encrypted) {
            m_file.errors.append(
                u"%1: the value of \"%2\" is encrypted; export the database as plain XML"_s.arg(record.where, key));
            return;
        }
        if (const std::optional<Field> field = FieldOfKey(key))
            record.fields[*field] = value;
        else if (!value.isEmpty())
            LeaveOut(record, u"the field \"%1\""_s.arg(key));
    }

    void LeaveOut(const ImportedRecord &record, const QString &what)
    {
        m_file.leftOut.append(u"%1: %2"_s.arg(record.where, what));
        if (m_xml.isStartElement())
            m_xml.skipCurrentElement();
    }

    // Moves to the end of the element that holds the current position.
    void SkipRestOfElement()
    {
        while (m_xml.readNextStartElement())
            m_xml.skipCurrentElement();
    }

    QXmlStreamReader m_xml;
    QString m_recycleBin;
    ImportedFile m_file;
};

} // namespace

ImportedFile ReadKeePassXml(QByteArrayView xml)
{
    return KeePassXmlReader(xml).Read();
}
