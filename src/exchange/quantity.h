#pragma once

#include <QLocale>
#include <QString>

// "1 record", "32,767 records": counts in messages, which are in English.
inline QString Quantity(qsizetype count, const QString &singular, const QString &plural)
{
    return QLocale(QLocale::English).toString(count) + u' ' + (count == 1 ? singular : plural);
}
