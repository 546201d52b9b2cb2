#pragma once

#include "exchange/importplan.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

// A file's records as a reader finds them, each planned into the database it
// goes to: the one its Database column names, else the one of -d. A record
// that cannot go anywhere is a problem, named. A database is read when its
// first record comes.
class ImportPlacement
{
public:
    // What is planned for one database.
    struct Database
    {
        QString path;
        std::optional<ImportPlanner> planner;
        ImportPlan plan;
        // The records added and left out, by name, when they are to be told.
        QStringList added;
        QStringList skipped;
    };

    ImportPlacement(const QString &dataFolder, const QString &recorded, const QList<int> &given, Duplicates duplicates,
                    bool nameRecords);

    void Take(const ImportedRecord &record);
    // Ends every database's plan, after the last record.
    void Finish();

    // Why a database could not be read whole, if one could not.
    QString ReadFailure() const { return m_readFailure; }
    // The records that go nowhere, then each database's problems.
    QStringList Problems() const;
    const std::map<int, Database> &Databases() const { return m_databases; }

private:
    std::optional<int> DatabaseOf(const ImportedRecord &record);
    Database *Planned(int number);

    QString m_dataFolder;
    QString m_recorded;
    QList<int> m_given;
    Duplicates m_duplicates;
    bool m_nameRecords;
    std::map<int, Database> m_databases;
    QStringList m_placementProblems;
    QString m_readFailure;
    // A file's records mostly name the same database, in the same words.
    std::optional<QString> m_lastName;
    std::optional<int> m_lastDatabase;
};
