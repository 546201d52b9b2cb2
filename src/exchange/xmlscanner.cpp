#include "xmlscanner.h"

#include <cstring>
#include <utility>

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
        if (m_xml[m_at] != '<')
            return ReadCharacters();
        const QByteArrayView rest = m_xml.sliced(m_at);
        // Nearly every token is a tag: told by one character.
        const char second = rest.size() > 1 ? rest[1] : '\0';
        if (second == '/')
            return ReadEndTag();
        if (second != '?' && second != '!')
            return ReadStartTag();
        if (rest.startsWith("<?"))
            SkipPast("?>");
        else if (rest.startsWith("<!--"))
            SkipPast("-->");
        else if (rest.startsWith("<![CDATA["))
            return ReadCdata();
        else if (rest.startsWith("<!DOCTYPE"))
            SkipDocumentType();
        else
            return Fail(u"Unknown markup."_s);
        if (!m_error.isEmpty())
            return Error;
    }
}

QByteArrayView XmlScanner::Attribute(QByteArrayView name) const
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
        const qsizetype lineStart = m_xml.first(m_start).lastIndexOf('\n') + 1;
        const qsizetype column = QString::fromUtf8(m_xml.sliced(lineStart, m_start - lineStart)).size() + 1;
        m_error = u"line %1, column %2: %3"_s.arg(LineAt(m_start)).arg(column).arg(message);
    }
    return Error;
}

qsizetype XmlScanner::LineAt(qsizetype offset)
{
    // Lines are some hundred bytes long: found by memchr, not counted byte
    // by byte.
    const char *const end = m_xml.data() + offset;
    for (const char *at = m_xml.data() + m_lineCountedTo;
         (at = static_cast<const char *>(std::memchr(at, '\n', size_t(end - at)))) != nullptr; ++at)
        ++m_line;
    m_lineCountedTo = offset;
    return m_line;
}

void XmlScanner::SkipPast(QByteArrayView end)
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
        if (m_xml[at] == '[')
            ++depth;
        else if (m_xml[at] == ']')
            --depth;
        else if (m_xml[at] == '>' && depth == 0) {
            const QByteArrayView type = m_xml.sliced(m_at, at + 1 - m_at);
            m_at = at + 1;
            // Other readers expand internal entities and drop or fetch
            // external ones: either would change a field unseen.
            if (type.contains("<!ENTITY"))
                Fail(u"the file declares entities (<!ENTITY>), which are not read"_s);
            return;
        }
    }
    Fail(u"Premature end of document."_s);
}

QByteArrayView XmlScanner::ReadName()
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
        if (At('>')) {
            ++m_at;
            break;
        }
        if (At('/') && m_at + 1 < m_xml.size() && m_xml[m_at + 1] == '>') {
            m_at += 2;
            m_closeEmptyElement = true;
            break;
        }
        const QByteArrayView key = ReadName();
        SkipSpaces();
        if (key.isEmpty() || !At('='))
            return Fail(u"Expected '=' after an attribute name."_s);
        ++m_at;
        SkipSpaces();
        if (!At('"') && !At('\''))
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
    if (!At('>'))
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
    const qsizetype end = m_xml.indexOf("]]>", start);
    if (end < 0)
        return Fail(u"Premature end of document."_s);
    m_at = end + 3;
    return Decoded(m_xml.sliced(start, end - start), false);
}

XmlScanner::Token XmlScanner::ReadCharacters()
{
    const auto *const next =
        static_cast<const char *>(std::memchr(m_xml.data() + m_at, '<', size_t(m_xml.size() - m_at)));
    const qsizetype end = next ? next - m_xml.data() : m_xml.size();
    const QByteArrayView text = m_xml.sliced(m_at, end - m_at);
    m_at = end;
    if (m_open.isEmpty() && !text.trimmed().isEmpty())
        return Fail(u"Start tag expected."_s);
    return Decoded(text, true);
}

XmlScanner::Token XmlScanner::Decoded(QByteArrayView text, bool references)
{
    m_textIsRaw = !text.contains('\r') && !(references && text.contains('&'));
    m_rawText = text;
    if (m_textIsRaw)
        return Characters;
    m_decoded.resize(0);
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '\r') {
            m_decoded += '\n';
            if (at + 1 < text.size() && text[at + 1] == '\n')
                ++at;
        } else if (c == '&' && references) {
            const qsizetype end = text.indexOf(';', at);
            m_start = m_at - text.size() + at;
            if (end < 0)
                return Fail(u"Invalid reference: no ';' after '&'."_s);
            const QByteArrayView name = text.sliced(at + 1, end - at - 1);
            if (!AppendReference(name))
                return Fail(name.startsWith('#') ? u"Invalid character reference."_s
                                                 : u"Entity '%1' not declared."_s.arg(QString::fromUtf8(name)));
            at = end;
        } else {
            m_decoded += c;
        }
    }
    return Characters;
}

bool XmlScanner::AppendReference(QByteArrayView name)
{
    static constexpr std::pair<QByteArrayView, char> Named[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto &[key, character] : Named) {
        if (name == key) {
            m_decoded += character;
            return true;
        }
    }
    if (!name.startsWith('#'))
        return false;
    bool ok = false;
    const uint code = name.startsWith("#x") ? name.sliced(2).toUInt(&ok, 16) : name.sliced(1).toUInt(&ok, 10);
    // The characters XML allows.
    ok = ok
         && (code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
             || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF));
    if (ok)
        m_decoded.append(QStringView(QChar::fromUcs4(code)).toUtf8());
    return ok;
}
