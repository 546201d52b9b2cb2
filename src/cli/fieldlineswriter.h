#pragma once

#include "exchange/recordwriter.h"

#include <QByteArrayList>

// Records for people to read, in UTF-8, every field in its visible form (see
// Utf8Text::WriteVisible): each record as one "Name: text" line per column,
// names aligned; records are a blank line apart.
class FieldLinesWriter : public RecordWriter
{
public:
    FieldLinesWriter();

    void Begin(QByteArray &) override {}
    void BeginDatabase(int database, QByteArray &out) override;
    void Add(const RegistrationRecord &record, QByteArray &out) override;
    void End(QByteArray &, const TextSink &) override {}

private:
    // "Product:" and the others, padded to one width.
    QByteArrayList m_names;
    QByteArray m_databaseName;
    bool m_first = true;
};
