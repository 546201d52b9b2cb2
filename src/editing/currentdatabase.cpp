#include "currentdatabase.h"

#include "editing/databaseselection.h"
#include "platform/folders.h"
#include "platform/logcategories.h"
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
    DatabaseLoad load = LoadDatabaseFile(FilePath());
    m_readWhole = load.whole;
    m_list.AppendRows(std::move(load.records));
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
    if (!m_readWhole) {
        qCWarning(lcStore) << "not rewriting" << FilePath()
                           << "from a list that holds only part of it; the change stays in the list";
        return;
    }
    ::RewriteDatabase(FilePath(), DatabaseFiles::BackupFilePath(m_folders.DataFolder(), m_selection.CurrentDatabase()),
                      m_list.Rows());
}
