#pragma once

#include <QList>
#include <QString>

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
};

// Checks a database file's content line by line. Lines end where the reader
// ends them (CR LF or a bare LF); empty lines are no damage.
DatabaseCheck CheckDatabase(QByteArrayView content);
