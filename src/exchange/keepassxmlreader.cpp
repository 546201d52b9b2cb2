#include "keepassxmlreader.h"

#include "recordcolumns.h"
#include "store/databasereader.h"
#include "xmlscanner.h"

#include <QLocale>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

using Field = RegistrationRecord::Field;

// KeePass nests groups without a limit; a file nested deeper than any real
// one is refused rather than followed.
constexpr qsizetype MaxDepth = 1000;

// What an open element is to the reader, from its name and its parent's.
enum class Element {
    Ignored,
    File,
    Meta,
    RecycleBinEnabled,
    RecycleBinUuid,
    Root,
    Group,
    GroupUuid,
    Entry,
    String,
    Key,
    Value,
};

Element ElementOf(Element parent, QStringView name)
{
    switch (parent) {
    case Element::File:
        return name == u"Meta" ? Element::Meta : name == u"Root" ? Element::Root : Element::Ignored;
    case Element::Meta:
        return name == u"RecycleBinEnabled" ? Element::RecycleBinEnabled
               : name == u"RecycleBinUUID"  ? Element::RecycleBinUuid
                                            : Element::Ignored;
    case Element::Root:
        return name == u"Group" ? Element::Group : Element::Ignored;
    case Element::Group:
        return name == u"Group"   ? Element::Group
               : name == u"UUID"  ? Element::GroupUuid
               : name == u"Entry" ? Element::Entry
                                  : Element::Ignored;
    case Element::Entry:
        return name == u"String" ? Element::String : Element::Ignored;
    case Element::String:
        return name == u"Key" ? Element::Key : name == u"Value" ? Element::Value : Element::Ignored;
    default:
        return Element::Ignored;
    }
}

bool HoldsText(Element element)
{
    return element == Element::RecycleBinEnabled || element == Element::RecycleBinUuid || element == Element::GroupUuid
           || element == Element::Key || element == Element::Value;
}

// Reads the file token by token, keeping what each open element is on a
// list of its own instead of the call stack, so nesting costs no recursion.
class KeePassXmlReader
{
public:
    explicit KeePassXmlReader(QStringView xml)
        : m_xml(xml)
    {}

    ImportedFile Read()
    {
        for (;;) {
            switch (m_xml.Next()) {
            case XmlScanner::StartElement:
                Start();
                break;
            case XmlScanner::Characters:
                if (!m_open.isEmpty() && HoldsText(m_open.back()))
                    m_text += m_xml.Text();
                break;
            case XmlScanner::EndElement:
                End();
                break;
            case XmlScanner::End:
                return m_file;
            case XmlScanner::Error:
                m_file.errors.append(m_xml.ErrorString());
                return m_file;
            }
        }
    }

private:
    void Start()
    {
        if (m_open.isEmpty() && m_xml.Name() != u"KeePassFile") {
            m_xml.Fail(u"not KeePass XML: the file does not start with <KeePassFile>"_s);
            return;
        }
        if (m_open.size() == MaxDepth) {
            m_xml.Fail(u"elements nested more than %1 deep"_s.arg(MaxDepth));
            return;
        }
        const Element element = m_open.isEmpty() ? Element::File : ElementOf(m_open.back(), m_xml.Name());
        m_open.append(element);
        m_text.resize(0);
        if (element == Element::Entry) {
            m_record = ImportedRecord();
            m_record.where = u"line %1"_s.arg(m_xml.Line());
        } else if (element == Element::String) {
            m_key.resize(0);
            m_value.resize(0);
            m_encrypted = false;
        } else if (element == Element::Value) {
            m_encrypted = m_xml.Attribute(u"Protected").compare(u"True"_s, Qt::CaseInsensitive) == 0;
        } else if (element == Element::Ignored && m_open.size() >= 2 && m_open[m_open.size() - 2] == Element::Entry
                   && m_xml.Name() == u"Binary") {
            m_file.leftOut.append(u"%1: an attachment"_s.arg(m_record.where));
        }
    }

    void End()
    {
        switch (m_open.takeLast()) {
        case Element::RecycleBinEnabled:
            m_recycleBinEnabled = m_text.compare(u"True"_s, Qt::CaseInsensitive) == 0;
            break;
        case Element::RecycleBinUuid:
            m_recycleBin = m_text;
            break;
        case Element::GroupUuid:
            if (m_recycleBinEnabled && !m_recycleBin.isEmpty() && m_text == m_recycleBin) {
                m_file.leftOut.append(u"line %1: the entries of the recycle bin"_s.arg(m_xml.Line()));
                // The rest of the group is read as nothing.
                m_open.back() = Element::Ignored;
            }
            break;
        case Element::Key:
            m_key = m_text;
            break;
        case Element::Value:
            m_value = m_text;
            break;
        case Element::String:
            EndString();
            break;
        case Element::Entry:
            EndEntry();
            break;
        default:
            break;
        }
    }

    void EndString()
    {
        if (m_encrypted) {
            m_file.errors.append(
                u"%1: the value of \"%2\" is encrypted; export the database as plain XML"_s.arg(m_record.where, m_key));
            return;
        }
        if (const std::optional<Field> field = RecordColumns::KeePassField(m_key))
            m_record.fields[*field] = m_value;
        else if (!m_value.isEmpty())
            m_file.leftOut.append(u"%1: the field \"%2\""_s.arg(m_record.where, m_key));
    }

    void EndEntry()
    {
        // An entry without a field has it empty, except Recorded: without
        // one, the import stamps the record.
        for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
            if (field != Field::Recorded && !m_record.fields[field])
                m_record.fields[field] = QString();
        }
        m_file.records.append(std::move(m_record));
        if (m_file.records.size() > DatabaseLoad::MaxRecords)
            m_xml.Fail(u"more than the %1 records a database holds"_s.arg(
                QLocale(QLocale::English).toString(DatabaseLoad::MaxRecords)));
    }

    XmlScanner m_xml;
    QList<Element> m_open;
    QString m_text;
    bool m_recycleBinEnabled = false;
    QString m_recycleBin;
    ImportedRecord m_record;
    QString m_key;
    QString m_value;
    bool m_encrypted = false;
    ImportedFile m_file;
};

} // namespace

ImportedFile ReadKeePassXml(QByteArrayView xml)
{
    // The decoder drops a leading byte order mark by itself.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(xml);
    if (decoder.hasError()) {
        ImportedFile file;
        file.errors.append(u"the file is not UTF-8 text, as KeePass XML always is"_s);
        return file;
    }
    return KeePassXmlReader(text).Read();
}
