#pragma once

#include "recordwriter.h"

#include <QStringList>

// What KeePass XML would lose of the records on the way: every field holding
// a control character that XML cannot carry or KeePassXC strips, one line
// each. It writes no text, so a first reading can learn whether an export
// would keep everything before any of it goes out. A carriage return is
// written as a character reference and arrives; KeePassXC keeps it until it
// writes its own XML, where CR LF becomes LF.
class KeePassXmlCheck : public RecordWriter
{
public:
    void Begin(QByteArray &) override {}
    void BeginDatabase(int database, QByteArray &out) override;
    void Add(const RegistrationRecord &record, QByteArray &out) override;
    void End(QByteArray &, const TextSink &) override {}

    // Empty when nothing would be lost.
    const QStringList &Obstacles() const { return m_obstacles; }

private:
    int m_database = 0;
    qsizetype m_recordNumber = 0;
    QStringList m_obstacles;
};
