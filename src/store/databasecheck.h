#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// One damaged line of a database file and what is wrong with it. The reader
// still loads such a line as well as it can; this names the damage for the
// person who has to mend or give up the record.
struct LineDamage
{
    // Counted from 1 over every line of the file, empty ones included.
    qsizetype lineNumber = 0;
    QString reason;
};

struct DatabaseCheck
{
    // Every damaged line, in file order.
    QList<LineDamage> damages;
    // Every non-empty line is a record, damaged or not.
    qsizetype records = 0;
    // The line that holds one record more than a database may; checking
    // stops there, as reading does. 0 when there is none.
    qsizetype overLimitLine = 0;
};

// What is wrong with one line (without its line end), or nothing for a sound
// line.
std::optional<QString> LineDamageOf(QByteArrayView line);

// Checks a database file's content line by line, up to the most records a
// database holds. Lines end where the reader ends them (CR LF or a bare LF);
// empty lines are no damage.
DatabaseCheck CheckDatabase(QByteArrayView content);
