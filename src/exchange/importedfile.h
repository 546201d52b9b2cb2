#pragma once

#include "store/registrationrecord.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// One record as a file to import gives it: Unicode text that may not yet be
// storable, and where in the file it came from, to name it to the user.
struct ImportedRecord
{
    // "line 12", "object 3": where a person finds the record in the file.
    QString where;
    // In column order; a field the file does not give at all is none. An
    // empty field is given, as empty text.
    std::array<std::optional<QString>, RegistrationRecord::FieldCount> fields;
    // The Database column's text as the file gives it ("Games", "2"), when
    // it has one: the database the record asks to go to.
    std::optional<QString> database;
};

// A file's records grow in a list by moving their bytes, not record by record.
Q_DECLARE_TYPEINFO(ImportedRecord, Q_RELOCATABLE_TYPE);

// What a reader made of a whole file.
struct ImportedFile
{
    QList<ImportedRecord> records;
    // Why the file cannot be read as records at all; any error refuses the
    // whole import.
    QStringList errors;
    // Data the file holds that has no place in a record, told to the user
    // and left out.
    QStringList leftOut;
};
