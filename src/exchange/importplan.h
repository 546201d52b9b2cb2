#pragma once

#include "importedfile.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include <array>
#include <memory>

// The records of a file to import as the database will store them, or every
// reason why they cannot all be stored exactly: then nothing is written.
struct ImportPlan
{
    // The codec counts a line's plain characters with a 16-bit signed
    // number; the limit holds for the rewrite's form, which adds CR LF.
    static constexpr qsizetype LongestPlainLine = 16383;

    QList<RegistrationRecord> records;
    // How many records equal to one the database holds were left out.
    qsizetype skipped = 0;
    QStringList problems;
};

// Whether a record equal to one the database holds, in every field its file
// gives, is left out, so that running the same import again adds nothing.
enum class Duplicates {
    Skip,
    Keep,
};

// Plans the import of one database's records one by one, as a reader finds
// them, so no list of the file's records is needed.
class ImportPlanner
{
public:
    enum class Outcome {
        Added,
        Skipped,
    };

    // recorded is the Recorded text of records whose file gives none.
    ImportPlanner(const QString &recorded, QList<RegistrationRecord> existing, Duplicates duplicates);

    Outcome Add(const ImportedRecord &record);
    // The plan of every record added: no records if any has a problem.
    ImportPlan Finish();

private:
    using Fields = std::array<QByteArrayView, RegistrationRecord::FieldCount>;

    bool HeldAlready(const Fields &fields, const ImportedRecord &given);
    void Keep(const Fields &fields);

    QString m_recorded;
    QList<RegistrationRecord> m_existing;
    Duplicates m_duplicates;
    ImportPlan m_plan;
    // The database's records as the fields a file gives, one set for each
    // combination of given fields, as a JSON object may leave out what
    // another gives.
    QHash<int, QSet<QByteArray>> m_existingKeys;
    // Kept from record to record, so converting a field allocates nothing.
    std::array<QByteArray, RegistrationRecord::FieldCount> m_fields;
    // The texts of records to add lie in chunks that they share: one
    // allocation for thousands of records.
    std::shared_ptr<char[]> m_chunk;
    qsizetype m_chunkSize = 0;
    qsizetype m_chunkUsed = 0;
};

// Where the record stands in its file, with its Product when it has one, to
// name it to the user: "line 3 (\"Editor\")".
QString RecordName(const ImportedRecord &record);
