#include "currentdatabase.h"

#include "editing/databaseselection.h"
#include "platform/folders.h"
#include "store/databasereader.h"
#include "store/databasewriter.h"

CurrentDatabase::CurrentDatabase(const Folders &folders, DatabaseSelection &selection, QObject *parent)
    : QObject(parent)
    , m_folders(folders)
    , m_selection(selection)
{
    connect(&m_selection, &DatabaseSelection::databaseSelected, this, &CurrentDatabase::ReloadDatabase);
}

QString CurrentDatabase::FilePath() const
{
    return DatabaseFiles::DatabaseFilePath(m_folders.DataFolder(), m_selection.CurrentDatabase());
}

void CurrentDatabase::LoadDatabase()
{
    m_list.AppendRows(ReadDatabaseFile(FilePath()));
}

void CurrentDatabase::ReloadDatabase()
{
    m_list.Clear();
    LoadDatabase();
}

void CurrentDatabase::AppendRecord(const RegistrationRecord &record)
{
    ::AppendRecord(FilePath(), record);
}

void CurrentDatabase::RewriteDatabase()
{
    ::RewriteDatabase(FilePath(), DatabaseFiles::BackupFilePath(m_folders.DataFolder(), m_selection.CurrentDatabase()),
                      m_list.Rows());
}
