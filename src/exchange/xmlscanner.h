#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <utility>

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

    // xml must outlive the scanner: names and text are views into it.
    explicit XmlScanner(QStringView xml)
        : m_xml(xml)
    {}

    Token Next();

    // The element's name of a StartElement or EndElement token.
    QStringView Name() const { return m_name; }
    // An attribute's value of a StartElement token, as written.
    QStringView Attribute(QStringView name) const;
    // The text of a Characters token, its references resolved.
    QStringView Text() const { return m_textIsRaw ? m_rawText : QStringView(m_decoded); }
    // The line the current token starts on.
    qsizetype Line() { return LineAt(m_start); }

    // Stops at the current token with the message; every later token is an
    // Error.
    Token Fail(const QString &message);
    // "line 4, column 1: Opening and ending tag mismatch."
    QString ErrorString() const { return m_error; }

private:
    static bool IsSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
    static bool EndsName(QChar c) { return IsSpace(c) || c == u'/' || c == u'>' || c == u'='; }
    bool At(QChar c) const { return m_at < m_xml.size() && m_xml[m_at] == c; }

    qsizetype LineAt(qsizetype offset);
    void SkipPast(QStringView end);
    void SkipDocumentType();
    QStringView ReadName();
    void SkipSpaces();
    Token ReadStartTag();
    Token ReadEndTag();
    Token ReadCdata();
    Token ReadCharacters();
    // Resolves references (when they are allowed) and turns CR LF and a
    // bare CR into a line feed; text without either is used where it lies.
    Token Decoded(QStringView text, bool references);
    bool AppendReference(QStringView name);

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
