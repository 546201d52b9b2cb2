#include "importplacement.h"

#include "databasechoice.h"
#include "store/databasefiles.h"
#include "store/databasereader.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The database a record's Database column names, by number, short name or
// the name the window shows.
std::optional<int> NamedDatabase(const QString &name)
{
    const std::optional<QList<int>> chosen = ParseDatabaseChoice(name);
    if (chosen && chosen->size() == 1)
        return chosen->front();
    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        if (name.compare(DatabaseFiles::DisplayName(number), Qt::CaseInsensitive) == 0)
            return number;
    }
    return std::nullopt;
}

} // namespace

ImportPlacement::ImportPlacement(const QString &dataFolder, const QString &recorded, const QList<int> &given,
                                 Duplicates duplicates, bool nameRecords)
    : m_dataFolder(dataFolder)
    , m_recorded(recorded)
    , m_given(given)
    , m_duplicates(duplicates)
    , m_nameRecords(nameRecords)
{
    // The database -d names is told of even when no record goes to it.
    if (!m_given.isEmpty())
        Planned(m_given.front());
}

std::optional<int> ImportPlacement::DatabaseOf(const ImportedRecord &record)
{
    // The window's Add refuses a record without a Registration.
    if (record.fields[RegistrationRecord::Registration].value_or(QString()).isEmpty()) {
        m_placementProblems.append(RecordName(record) + u": the Registration field is empty"_s);
        return std::nullopt;
    }
    const QString name = record.database.value_or(QString());
    if (name.isEmpty() && m_given.isEmpty()) {
        m_placementProblems.append(RecordName(record) + u": no Database column; name the database with -d"_s);
        return std::nullopt;
    }
    if (name != m_lastName) {
        m_lastName = name;
        m_lastDatabase = name.isEmpty() ? m_given.front() : NamedDatabase(name);
    }
    if (!m_lastDatabase)
        m_placementProblems.append(u"%1: no database \"%2\""_s.arg(RecordName(record), name));
    return m_lastDatabase;
}

ImportPlacement::Database *ImportPlacement::Planned(int number)
{
    auto found = m_databases.find(number);
    if (found == m_databases.end()) {
        Database database;
        database.path = DatabaseFiles::DatabaseFilePath(m_dataFolder, number);
        DatabaseLoad existing = LoadDatabaseFile(database.path);
        if (existing.whole)
            database.planner.emplace(m_recorded, std::move(existing.records), m_duplicates);
        else if (m_readFailure.isEmpty())
            m_readFailure = u"could not read %1 whole: %2"_s.arg(database.path, existing.stop);
        found = m_databases.emplace(number, std::move(database)).first;
    }
    return found->second.planner ? &found->second : nullptr;
}

void ImportPlacement::Take(const ImportedRecord &record)
{
    const std::optional<int> number = DatabaseOf(record);
    Database *database = number ? Planned(*number) : nullptr;
    if (!database)
        return;
    const ImportPlanner::Outcome outcome = database->planner->Add(record);
    if (m_nameRecords)
        (outcome == ImportPlanner::Outcome::Added ? database->added : database->skipped).append(RecordName(record));
}

void ImportPlacement::Finish()
{
    for (auto &[number, database] : m_databases) {
        if (!database.planner)
            continue;
        database.plan = database.planner->Finish();
        database.planner.reset();
        // A plan with problems adds nothing, and so tells of nothing.
        if (!database.plan.problems.isEmpty()) {
            database.added.clear();
            database.skipped.clear();
        }
    }
}

QStringList ImportPlacement::Problems() const
{
    QStringList problems = m_placementProblems;
    for (const auto &[number, database] : m_databases)
        problems += database.plan.problems;
    return problems;
}
