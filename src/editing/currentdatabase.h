#pragma once

#include "recordlist.h"

#include <QObject>

class DatabaseSelection;
class Folders;

// The current database: the record list and the file it mirrors. Every change
// goes to the list first and to the file at once; nothing is saved later.
class CurrentDatabase : public QObject
{
    Q_OBJECT

public:
    CurrentDatabase(const Folders &folders, DatabaseSelection &selection, QObject *parent = nullptr);

    RecordList &List() { return m_list; }
    const RecordList &List() const { return m_list; }
    QString FilePath() const;

    // Appends the records of the current database's file to the list; it
    // never clears the list itself.
    void LoadDatabase();
    // Empties the list and loads the current database again.
    void ReloadDatabase();

    // Appends the record to the file; never when the last load stopped early,
    // since the file then holds records the list lacks.
    void AppendRecord(const RegistrationRecord &record);
    // Writes the whole list back to the file, in display order; never when
    // the last load stopped early. A change that does not reach the file
    // stays in the list and is logged.
    void RewriteDatabase();

private:
    const Folders &m_folders;
    DatabaseSelection &m_selection;
    RecordList m_list;
    bool m_readWhole = true;
};
