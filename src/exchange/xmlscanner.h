#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <utility>

// The part of XML that KeePass files use, read without a general XML parser,
// which spends several times longer on every character: elements with
// attributes, text with the five named and the numeric character references,
// CDATA sections, comments, processing instructions, and a document type
// without entity declarations. Line ends in text become line feeds, as in
// every XML reader. Anything else is an error at its line and column.
// It reads the file's UTF-8 bytes as they lie: markup is ASCII, and a
// file decoded whole to UTF-16 first would double the memory to touch.
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
    explicit XmlScanner(QByteArrayView utf8)
        : m_xml(utf8)
    {}

    Token Next();

    // The element's name of a StartElement or EndElement token.
    QByteArrayView Name() const { return m_name; }
    // An attribute's value of a StartElement token, as written.
    QByteArrayView Attribute(QByteArrayView name) const;
    // The UTF-8 text of a Characters token, its references resolved.
    QByteArrayView Text() const { return m_textIsRaw ? m_rawText : QByteArrayView(m_decoded); }
    // The line the current token starts on.
    qsizetype Line() { return LineAt(m_start); }

    // Stops at the current token with the message; every later token is an
    // Error.
    Token Fail(const QString &message);
    // "line 4, column 1: Opening and ending tag mismatch."
    QString ErrorString() const { return m_error; }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    static bool EndsName(char c) { return IsSpace(c) || c == '/' || c == '>' || c == '='; }
    bool At(char c) const { return m_at < m_xml.size() && m_xml[m_at] == c; }

    qsizetype LineAt(qsizetype offset);
    void SkipPast(QByteArrayView end);
    void SkipDocumentType();
    QByteArrayView ReadName();
    void SkipSpaces();
    Token ReadStartTag();
    Token ReadEndTag();
    Token ReadCdata();
    Token ReadCharacters();
    // Resolves references (when they are allowed) and turns CR LF and a
    // bare CR into a line feed; text without either is used where it lies.
    Token Decoded(QByteArrayView text, bool references);
    bool AppendReference(QByteArrayView name);

    QByteArrayView m_xml;
    qsizetype m_at = 0;
    // Where the current token starts, to name it.
    qsizetype m_start = 0;
    qsizetype m_line = 1;
    qsizetype m_lineCountedTo = 0;
    QList<QByteArrayView> m_open;
    bool m_sawRoot = false;
    bool m_closeEmptyElement = false;
    QByteArrayView m_name;
    QList<std::pair<QByteArrayView, QByteArrayView>> m_attributes;
    bool m_textIsRaw = true;
    QByteArrayView m_rawText;
    QByteArray m_decoded;
    QString m_error;
};
