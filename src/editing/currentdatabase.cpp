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
    if (!m_readWhole)
        qCWarning(lcStore) << "the list shows only part of" << FilePath()
                           << "; Add, Replace and Remove change the list only, never the file";
    m_list.AppendRows(std::move(load.records));
}

void CurrentDatabase::ReloadDatabase()
{
    m_list.Clear();
    LoadDatabase();
}

void CurrentDatabase::AppendRecord(const RegistrationRecord &record)
{
    // Appended past where loading stopped, the record would be invisible at
    // every later start.
    if (!m_readWhole) {
        qCWarning(lcStore) << "not adding to" << FilePath()
                           << "past the part the list shows; the record stays in the list only";
        return;
    }
    if (!::AppendRecord(FilePath(), record))
        qCWarning(lcStore) << "could not add to" << FilePath() << "; the record stays in the list only";
}

void CurrentDatabase::RewriteDatabase()
{
    if (!m_readWhole) {
        qCWarning(lcStore) << "not rewriting" << FilePath()
                           << "from a list that holds only part of it; the change stays in the list";
        return;
    }
    if (!::RewriteDatabase(FilePath(),
                           DatabaseFiles::BackupFilePath(m_folders.DataFolder(), m_selection.CurrentDatabase()),
                           m_list.Rows()))
        qCWarning(lcStore) << "could not save" << FilePath() << "; the change stays in the list only";
}
