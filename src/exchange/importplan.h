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
    QStringList problems;
};

// recorded is the Recorded text of records whose file gives none; existing is
// the number of records the database holds already.
ImportPlan PlanImport(const QList<ImportedRecord> &imported, const QString &recorded, qsizetype existing);
