#pragma once

#include "store/registrationrecord.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <utility>

// One record as a file to import gives it: Unicode text that may not yet be
// storable, and where in the file it came from, to name it to the user.
struct ImportedRecord
{
    // Where a person finds the record in the file, "line 12" or "object 3",
    // in its two parts: text is made only for a message that names it.
    QLatin1StringView unit;
    qsizetype place = 0;
    // In column order; a field the file does not give at all is none. An
    // empty field is given, as empty text.
    std::array<std::optional<QString>, RegistrationRecord::FieldCount> fields;
    // The Database column's text as the file gives it ("Games", "2"), when
    // it has one: the database the record asks to go to.
    std::optional<QString> database;

    QString Where() const { return unit + u' ' + QString::number(place); }
};

// A file's records grow in a list by moving their bytes, not record by record.
Q_DECLARE_TYPEINFO(ImportedRecord, Q_RELOCATABLE_TYPE);

// Takes each record as a reader finds it, so that a file's records need not
// all be held at once: a database's worth is some tens of megabytes as
// Unicode text, and every new page costs.
using RecordTaker = std::function<void(ImportedRecord &&record)>;

// What a reader made of a whole file.
struct ImportedFile
{
    // The records read, when no taker took them.
    QList<ImportedRecord> records;
    // How many records were read, taken or kept.
    qsizetype count = 0;
    // Why the file cannot be read as records at all; any error refuses the
    // whole import.
    QStringList errors;
    // Data the file holds that has no place in a record, told to the user
    // and left out.
    QStringList leftOut;

    void Add(ImportedRecord &&record, const RecordTaker &take)
    {
        ++count;
        if (take)
            take(std::move(record));
        else
            records.append(std::move(record));
    }
};
