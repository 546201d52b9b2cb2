#pragma once

#include <QByteArray>
#include <QString>

// Record text is single-byte Windows-1252 on disk, as on Windows, so files
// move between systems unchanged. These convert at the edge between the
// Unicode user interface and the byte-oriented store.
namespace AnsiText {

QString ToUnicode(QByteArrayView ansi);
// The character of one byte.
QChar CharacterOf(char byte);
// The same, added to the end of text without a string in between.
void AppendUnicode(QString &text, QByteArrayView ansi);

// Only meaningful for text that IsRepresentable accepts; other characters
// are dropped.
QByteArray FromUnicode(QStringView text);
// The same into a buffer kept from one text to the next.
void AssignFromUnicode(QByteArray &ansi, QStringView text);

bool IsRepresentable(QChar c);

} // namespace AnsiText
