#pragma once

#include "keepasstimes.h"
#include "recordwriter.h"

#include <QHash>
#include <QStringList>

// Records as a KeePass 2 XML file, the plain export format that KeePass and
// KeePassXC import. Under one group "Korvane", each database is a group named
// as its toolbar button, and each record an entry:
//
//   Title = Product, UserName = Registrant, Password = Registration,
//   URL = Web Contact, and the string fields "Customer ID",
//   "Registration Date" and "Recorded".
//
// An entry's UUID is derived from its database, its Product and the how-manyth
// record of that Product it is, and its times from the Recorded stamp (last
// modified) and the Registration Date (created, where it reads as a date),
// so a re-export updates the same entries when KeePass merges it.
class KeePassXmlWriter : public RecordWriter
{
public:
    void Begin(QByteArray &out) override;
    void BeginDatabase(int database, QByteArray &out) override;
    void Add(const RegistrationRecord &record, QByteArray &out) override;
    void End(QByteArray &out, const TextSink &) override;

    // What the records written so far would lose on the way, as
    // KeePassXmlObstacles names it.
    const QStringList &Obstacles() const { return m_obstacles; }

private:
    KeePassTimes m_times;
    int m_database = 0;
    qsizetype m_recordNumber = 0;
    // How many records of each Product the database has had so far.
    QHash<QByteArray, int> m_occurrences;
    QStringList m_obstacles;
};

QByteArray WriteKeePassXml(const QList<DatabaseRecords> &databases);

// What would be lost on the way: every field holding a control character
// that XML cannot carry or KeePassXC strips. Empty when nothing would. A
// carriage return is written as a character reference and arrives; KeePassXC
// keeps it until it writes its own XML, where CR LF becomes LF.
QStringList KeePassXmlObstacles(const QList<DatabaseRecords> &databases);
