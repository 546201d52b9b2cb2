#pragma once

#include <QByteArray>
#include <QString>

// What a record field may hold: text that Windows-1252 can store exactly,
// and never "|", which separates the fields on disk. The record operations
// apply this to whatever a form hands them, and the input fields filter
// typing and pasting by it, so both sides follow one rule.
namespace StorableText {

bool IsStorable(QChar c);

// The text without the characters the rule refuses.
QString Storable(QStringView text);

// The field's bytes on disk for any text: refused characters are dropped.
QByteArray ToField(QStringView text);

} // namespace StorableText
