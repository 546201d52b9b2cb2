#pragma once

#include <QByteArrayView>

// The text after a leading UTF-8 byte order mark, which some editors and
// spreadsheets write and no reader needs.
inline QByteArrayView WithoutByteOrderMark(QByteArrayView utf8)
{
    return utf8.startsWith("\xEF\xBB\xBF") ? utf8.sliced(3) : utf8;
}
