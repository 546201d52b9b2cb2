#include "xmlscanner.h"

#include <algorithm>

using namespace Qt::StringLiterals;

XmlScanner::Token XmlScanner::Next()
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

QStringView XmlScanner::Attribute(QStringView name) const
{
    for (const auto &[key, value] : m_attributes) {
        if (key == name)
            return value;
    }
    return {};
}

XmlScanner::Token XmlScanner::Fail(const QString &message)
{
    if (m_error.isEmpty()) {
        const qsizetype lineStart = m_xml.first(m_start).lastIndexOf(u'\n') + 1;
        m_error = u"line %1, column %2: %3"_s.arg(LineAt(m_start)).arg(m_start - lineStart + 1).arg(message);
    }
    return Error;
}

qsizetype XmlScanner::LineAt(qsizetype offset)
{
    m_line += m_xml.sliced(m_lineCountedTo, offset - m_lineCountedTo).count(u'\n');
    m_lineCountedTo = offset;
    return m_line;
}

void XmlScanner::SkipPast(QStringView end)
{
    const qsizetype found = m_xml.indexOf(end, m_at);
    if (found < 0)
        Fail(u"Premature end of document."_s);
    else
        m_at = found + end.size();
}

void XmlScanner::SkipDocumentType()
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

QStringView XmlScanner::ReadName()
{
    const qsizetype start = m_at;
    while (m_at < m_xml.size() && !EndsName(m_xml[m_at]))
        ++m_at;
    return m_xml.sliced(start, m_at - start);
}

void XmlScanner::SkipSpaces()
{
    while (m_at < m_xml.size() && IsSpace(m_xml[m_at]))
        ++m_at;
}

XmlScanner::Token XmlScanner::ReadStartTag()
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

XmlScanner::Token XmlScanner::ReadEndTag()
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

XmlScanner::Token XmlScanner::ReadCdata()
{
    const qsizetype start = m_at + 9;
    const qsizetype end = m_xml.indexOf(u"]]>", start);
    if (end < 0)
        return Fail(u"Premature end of document."_s);
    m_at = end + 3;
    return Decoded(m_xml.sliced(start, end - start), false);
}

XmlScanner::Token XmlScanner::ReadCharacters()
{
    const qsizetype end = std::find(m_xml.begin() + m_at, m_xml.end(), u'<') - m_xml.begin();
    const QStringView text = m_xml.sliced(m_at, end - m_at);
    m_at = end;
    if (m_open.isEmpty() && !text.trimmed().isEmpty())
        return Fail(u"Start tag expected."_s);
    return Decoded(text, true);
}

XmlScanner::Token XmlScanner::Decoded(QStringView text, bool references)
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

bool XmlScanner::AppendReference(QStringView name)
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
