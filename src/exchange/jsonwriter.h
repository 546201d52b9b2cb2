#pragma once

#include "recordwriter.h"

#include <array>

// Records as a JSON array in UTF-8, one object per line, its keys the column
// names in column order and every value a string:
//
//   [
//   {"Database": "Games", "Product": "Isles", ..., "Recorded": "12-04-2026 01:35:24"}
//   ]
class JsonWriter : public RecordWriter
{
public:
    JsonWriter();

    void Begin(QByteArray &out) override;
    void BeginDatabase(int database, QByteArray &out) override;
    void Add(const RegistrationRecord &record, QByteArray &out) override;
    void End(QByteArray &out, const TextSink &) override;

private:
    // The start of each record's object up to its first field's value, and
    // what comes between one value and the next field's.
    QByteArray m_recordStart;
    std::array<QByteArray, RegistrationRecord::FieldCount - 1> m_keys;
    bool m_first = true;
};

QByteArray WriteJson(const QList<DatabaseRecords> &databases);
