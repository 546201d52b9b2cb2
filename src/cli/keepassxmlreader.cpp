#include "keepassxmlreader.h"

#include "recordcolumns.h"

#include <QStringDecoder>

#include <algorithm>

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

// The part of XML that KeePass files use, read without a general XML parser,
// which spends several times longer on every character: elements with
// attributes, text with the five named and the numeric character references,
// CDATA sections, comments, processing instructions, and a document type
// without entity declarations. Line ends in text become line feeds, as in
// every XML reader. Anything else is an error at its line and column.
class XmlScanner
{
public:
    enum Token {
        StartElement,
        EndElement,
        Characters,
        End,
        Error
    };

    explicit XmlScanner(QStringView xml)
        : m_xml(xml)
    {}

    Token Next()
    {
        if (!m_error.isEmpty())
            return Error;
        if (m_closeEmptyElement) {
            m_closeEmptyElement = false;
            m_open.removeLast();
            return EndElement;
        }
        for (;;) {
            m_start = m_at;
            if (m_at == m_xml.size()) {
                if (!m_open.isEmpty() || !m_sawRoot)
                    return Fail(u"Premature end of document."_s);
                return End;
            }
            if (m_xml[m_at] != u'<')
                return ReadCharacters();
            const QStringView rest = m_xml.sliced(m_at);
            // Nearly every token is a tag: told by one character.
            const QChar second = rest.size() > 1 ? rest[1] : QChar();
            if (second == u'/')
                return ReadEndTag();
            if (second != u'?' && second != u'!')
                return ReadStartTag();
            if (rest.startsWith(u"<?"))
                SkipPast(u"?>");
            else if (rest.startsWith(u"<!--"))
                SkipPast(u"-->");
            else if (rest.startsWith(u"<![CDATA["))
                return ReadCdata();
            else if (rest.startsWith(u"<!DOCTYPE"))
                SkipDocumentType();
            else
                return Fail(u"Unknown markup."_s);
            if (!m_error.isEmpty())
                return Error;
        }
    }

    QStringView Name() const { return m_name; }
    // The text of a Characters token, its references resolved.
    QStringView Text() const { return m_textIsRaw ? m_rawText : QStringView(m_decoded); }
    // An attribute's value of a StartElement token, as written.
    QStringView Attribute(QStringView name) const
    {
        for (const auto &[key, value] : m_attributes) {
            if (key == name)
                return value;
        }
        return {};
    }

    // The line the current token starts on.
    qsizetype Line() { return LineAt(m_start); }

    Token Fail(const QString &message)
    {
        if (m_error.isEmpty()) {
            const qsizetype lineStart = m_xml.first(m_start).lastIndexOf(u'\n') + 1;
            m_error = u"line %1, column %2: %3"_s.arg(LineAt(m_start)).arg(m_start - lineStart + 1).arg(message);
        }
        return Error;
    }

    QString ErrorString() const { return m_error; }

private:
    qsizetype LineAt(qsizetype offset)
    {
        m_line += m_xml.sliced(m_lineCountedTo, offset - m_lineCountedTo).count(u'\n');
        m_lineCountedTo = offset;
        return m_line;
    }

    void SkipPast(QStringView end)
    {
        const qsizetype found = m_xml.indexOf(end, m_at);
        if (found < 0)
            Fail(u"Premature end of document."_s);
        else
            m_at = found + end.size();
    }

    void SkipDocumentType()
    {
        // The internal subset, in brackets, may hold ">".
        qsizetype depth = 0;
        for (qsizetype at = m_at; at < m_xml.size(); ++at) {
            if (m_xml[at] == u'[')
                ++depth;
            else if (m_xml[at] == u']')
                --depth;
            else if (m_xml[at] == u'>' && depth == 0) {
                const QStringView type = m_xml.sliced(m_at, at + 1 - m_at);
                m_at = at + 1;
                // Other readers expand internal entities and drop or fetch
                // external ones: either would change a field unseen.
                if (type.contains(u"<!ENTITY"))
                    Fail(u"the file declares entities (<!ENTITY>), which are not read"_s);
                return;
            }
        }
        Fail(u"Premature end of document."_s);
    }

    static bool IsSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
    static bool EndsName(QChar c) { return IsSpace(c) || c == u'/' || c == u'>' || c == u'='; }

    QStringView ReadName()
    {
        const qsizetype start = m_at;
        while (m_at < m_xml.size() && !EndsName(m_xml[m_at]))
            ++m_at;
        return m_xml.sliced(start, m_at - start);
    }

    void SkipSpaces()
    {
        while (m_at < m_xml.size() && IsSpace(m_xml[m_at]))
            ++m_at;
    }

    bool At(QChar c) const { return m_at < m_xml.size() && m_xml[m_at] == c; }

    Token ReadStartTag()
    {
        if (m_sawRoot && m_open.isEmpty())
            return Fail(u"Extra content at end of document."_s);
        ++m_at;
        m_name = ReadName();
        if (m_name.isEmpty())
            return Fail(u"Invalid XML name."_s);
        m_attributes.clear();
        for (;;) {
            SkipSpaces();
            if (At(u'>')) {
                ++m_at;
                break;
            }
            if (At(u'/') && m_at + 1 < m_xml.size() && m_xml[m_at + 1] == u'>') {
                m_at += 2;
                m_closeEmptyElement = true;
                break;
            }
            const QStringView key = ReadName();
            SkipSpaces();
            if (key.isEmpty() || !At(u'='))
                return Fail(u"Expected '=' after an attribute name."_s);
            ++m_at;
            SkipSpaces();
            if (!At(u'"') && !At(u'\''))
                return Fail(u"Expected a quoted attribute value."_s);
            const qsizetype end = m_xml.indexOf(m_xml[m_at], m_at + 1);
            if (end < 0)
                return Fail(u"Premature end of document."_s);
            m_attributes.append({key, m_xml.sliced(m_at + 1, end - m_at - 1)});
            m_at = end + 1;
        }
        m_sawRoot = true;
        m_open.append(m_name);
        return StartElement;
    }

    Token ReadEndTag()
    {
        m_at += 2;
        m_name = ReadName();
        SkipSpaces();
        if (!At(u'>'))
            return Fail(u"Expected '>' to end the tag."_s);
        ++m_at;
        if (m_open.isEmpty() || m_open.back() != m_name)
            return Fail(u"Opening and ending tag mismatch."_s);
        m_open.removeLast();
        return EndElement;
    }

    Token ReadCdata()
    {
        const qsizetype start = m_at + 9;
        const qsizetype end = m_xml.indexOf(u"]]>", start);
        if (end < 0)
            return Fail(u"Premature end of document."_s);
        m_at = end + 3;
        return Decoded(m_xml.sliced(start, end - start), false);
    }

    Token ReadCharacters()
    {
        const qsizetype end = std::find(m_xml.begin() + m_at, m_xml.end(), u'<') - m_xml.begin();
        const QStringView text = m_xml.sliced(m_at, end - m_at);
        m_at = end;
        if (m_open.isEmpty() && !text.trimmed().isEmpty())
            return Fail(u"Start tag expected."_s);
        return Decoded(text, true);
    }

    // Resolves references (when they are allowed) and turns CR LF and a
    // bare CR into a line feed; text without either is used where it lies.
    Token Decoded(QStringView text, bool references)
    {
        m_textIsRaw = !text.contains(u'\r') && !(references && text.contains(u'&'));
        m_rawText = text;
        if (m_textIsRaw)
            return Characters;
        m_decoded.resize(0);
        for (qsizetype at = 0; at < text.size(); ++at) {
            const QChar c = text[at];
            if (c == u'\r') {
                m_decoded += u'\n';
                if (at + 1 < text.size() && text[at + 1] == u'\n')
                    ++at;
            } else if (c == u'&' && references) {
                const qsizetype end = text.indexOf(u';', at);
                m_start = m_at - text.size() + at;
                if (end < 0)
                    return Fail(u"Invalid reference: no ';' after '&'."_s);
                const QStringView name = text.sliced(at + 1, end - at - 1);
                if (!AppendReference(name))
                    return Fail(name.startsWith(u'#') ? u"Invalid character reference."_s
                                                      : u"Entity '%1' not declared."_s.arg(name));
                at = end;
            } else {
                m_decoded += c;
            }
        }
        return Characters;
    }

    bool AppendReference(QStringView name)
    {
        static constexpr std::pair<QStringView, char16_t> Named[] = {
            {u"lt", u'<'}, {u"gt", u'>'}, {u"amp", u'&'}, {u"quot", u'"'}, {u"apos", u'\''}};
        for (const auto &[key, character] : Named) {
            if (name == key) {
                m_decoded += QChar(character);
                return true;
            }
        }
        if (!name.startsWith(u'#'))
            return false;
        bool ok = false;
        const uint code = name.startsWith(u"#x") ? name.sliced(2).toUInt(&ok, 16) : name.sliced(1).toUInt(&ok, 10);
        // The characters XML allows.
        ok = ok
             && (code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
                 || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF));
        if (ok)
            m_decoded.append(QChar::fromUcs4(code));
        return ok;
    }

    QStringView m_xml;
    qsizetype m_at = 0;
    // Where the current token starts, to name it.
    qsizetype m_start = 0;
    qsizetype m_line = 1;
    qsizetype m_lineCountedTo = 0;
    QList<QStringView> m_open;
    bool m_sawRoot = false;
    bool m_closeEmptyElement = false;
    QStringView m_name;
    QList<std::pair<QStringView, QStringView>> m_attributes;
    bool m_textIsRaw = true;
    QStringView m_rawText;
    QString m_decoded;
    QString m_error;
};

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
