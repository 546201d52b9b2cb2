#include "keepassxmlreader.h"

#include "recordcolumns.h"
#include "store/databasereader.h"
#include "utf8input.h"
#include "xmlscanner.h"

#include <QLocale>

#include <utility>

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

Element ElementOf(Element parent, QByteArrayView name)
{
    switch (parent) {
    case Element::File:
        return name == "Meta" ? Element::Meta : name == "Root" ? Element::Root : Element::Ignored;
    case Element::Meta:
        return name == "RecycleBinEnabled" ? Element::RecycleBinEnabled
               : name == "RecycleBinUUID"  ? Element::RecycleBinUuid
                                           : Element::Ignored;
    case Element::Root:
        return name == "Group" ? Element::Group : Element::Ignored;
    case Element::Group:
        return name == "Group"   ? Element::Group
               : name == "UUID"  ? Element::GroupUuid
               : name == "Entry" ? Element::Entry
                                 : Element::Ignored;
    case Element::Entry:
        return name == "String" ? Element::String : Element::Ignored;
    case Element::String:
        return name == "Key" ? Element::Key : name == "Value" ? Element::Value : Element::Ignored;
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
    KeePassXmlReader(QByteArrayView utf8, const RecordTaker &take)
        : m_xml(utf8)
        , m_take(take)
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
        if (m_open.isEmpty() && m_xml.Name() != "KeePassFile") {
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
            m_record.unit = "line"_L1;
            m_record.place = m_xml.Line();
        } else if (element == Element::String) {
            m_key.resize(0);
            m_value.resize(0);
            m_encrypted = false;
        } else if (element == Element::Value) {
            m_encrypted = m_xml.Attribute("Protected").compare("True", Qt::CaseInsensitive) == 0;
        } else if (element == Element::Ignored && m_open.size() >= 2 && m_open[m_open.size() - 2] == Element::Entry
                   && m_xml.Name() == "Binary") {
            m_file.leftOut.append(u"%1: an attachment"_s.arg(m_record.Where()));
        }
    }

    void End()
    {
        switch (m_open.takeLast()) {
        case Element::RecycleBinEnabled:
            m_recycleBinEnabled = m_text.compare("True", Qt::CaseInsensitive) == 0;
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
        // Swapped, not copied: each buffer keeps its room from string to
        // string instead of being shared and then reallocated.
        case Element::Key:
            std::swap(m_key, m_text);
            break;
        case Element::Value:
            std::swap(m_value, m_text);
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
            m_file.errors.append(u"%1: the value of \"%2\" is encrypted; export the database as plain XML"_s.arg(
                m_record.Where(), QString::fromUtf8(m_key)));
            return;
        }
        if (const std::optional<Field> field = RecordColumns::KeePassField(m_key))
            m_record.fields[*field] = QString::fromUtf8(m_value);
        else if (!m_value.isEmpty())
            m_file.leftOut.append(u"%1: the field \"%2\""_s.arg(m_record.Where(), QString::fromUtf8(m_key)));
    }

    void EndEntry()
    {
        // An entry without a field has it empty, except Recorded: without
        // one, the import stamps the record.
        for (int field = 0; field < RegistrationRecord::FieldCount; ++field) {
            if (field != Field::Recorded && !m_record.fields[field])
                m_record.fields[field] = QString();
        }
        m_file.Add(std::move(m_record), m_take);
        if (m_file.count > DatabaseLoad::MaxRecords)
            m_xml.Fail(u"more than the %1 records a database holds"_s.arg(
                QLocale(QLocale::English).toString(DatabaseLoad::MaxRecords)));
    }

    XmlScanner m_xml;
    const RecordTaker &m_take;
    QList<Element> m_open;
    QByteArray m_text;
    bool m_recycleBinEnabled = false;
    QByteArray m_recycleBin;
    ImportedRecord m_record;
    QByteArray m_key;
    QByteArray m_value;
    bool m_encrypted = false;
    ImportedFile m_file;
};

} // namespace

ImportedFile ReadKeePassXml(QByteArrayView xml, const RecordTaker &take)
{
    if (!Utf8Input::IsValid(xml)) {
        ImportedFile file;
        file.errors.append(u"the file is not UTF-8 text, as KeePass XML always is"_s);
        return file;
    }
    return KeePassXmlReader(Utf8Input::WithoutByteOrderMark(xml), take).Read();
}
