#pragma once

#include <QByteArrayView>

// Checks on a file to import, which must be UTF-8.
namespace Utf8Input {

// The text after a leading byte order mark, which some editors and
// spreadsheets write and no reader needs.
QByteArrayView WithoutByteOrderMark(QByteArrayView utf8);

// Whether the bytes are UTF-8 by its strict rules (no overlong forms, no
// surrogates, nothing past U+10FFFF), as QByteArrayView::isValidUtf8 tells,
// but with runs of ASCII taken eight bytes at a time: Qt's check goes byte
// by byte, and a KeePass XML file is megabytes of ASCII markup.
bool IsValid(QByteArrayView bytes);

} // namespace Utf8Input
