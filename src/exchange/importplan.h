#pragma once

#include "importedfile.h"

#include <QList>
#include <QStringList>

// The records of a file to import as the database will store them, or every
// reason why they cannot all be stored exactly: then nothing is written.
struct ImportPlan
{
    // The codec counts a line's plain characters with a 16-bit signed
    // number; the limit holds for the rewrite's form, which adds CR LF.
    static constexpr qsizetype LongestPlainLine = 16383;

    QList<RegistrationRecord> records;
    // Where each record to add and each duplicate left out stands in the
    // file, to name it ("line 3 (\"Editor\")").
    QStringList added;
    QStringList skipped;
    QStringList problems;
};

// Whether a record equal to one the database holds, in every field its file
// gives, is left out, so that running the same import again adds nothing.
enum class Duplicates {
    Skip,
    Keep,
};

// recorded is the Recorded text of records whose file gives none.
ImportPlan PlanImport(const QList<ImportedRecord> &imported, const QString &recorded,
                      const QList<RegistrationRecord> &existing, Duplicates duplicates);

// Where the record stands in its file, with its Product when it has one, to
// name it to the user: "line 3 (\"Editor\")".
QString RecordName(const ImportedRecord &record);
