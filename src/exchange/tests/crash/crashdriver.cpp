// Adds, replaces and removes records, exports and imports, in a loop on the
// data folder and Desktop that HOME names, journaling every operation with
// the digests each file must have before and after it, until it is killed
// or has run the given number of operations.
//
//   korvane_crashdriver <journal> <seed> [operations]

#include "crashjournal.h"

#include "exchange/exportcontainer.h"
#include "exchange/exportdatabases.h"
#include "exchange/importdatabases.h"
#include "platform/appinfo.h"
#include "platform/standardfolders.h"
#include "store/databasereader.h"
#include "store/databasewriter.h"
#include "store/linecodec.h"
#include "store/recordline.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;
using CrashJournal::Digest;
using CrashJournal::ReadFile;

namespace {

// Small enough that four databases always fit one container.
constexpr int MaxRecords = 30;

class CrashDriver
{
public:
    CrashDriver(const QString &journal, quint32 seed)
        : m_journal(journal)
        , m_random(seed)
    {
        m_journal.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
    }

    bool RunOne()
    {
        const int number = m_random.bounded(1, DatabaseFiles::Count + 1);
        switch (m_random.bounded(8)) {
        case 0:
        case 1:
        case 2:
            return Add(number);
        case 3:
            return Replace(number);
        case 4:
        case 5:
            return Remove(number);
        case 6:
            return Export();
        default:
            return Import();
        }
    }

private:
    QString DatabasePath(int number) const { return DatabaseFiles::DatabaseFilePath(m_folders.DataFolder(), number); }
    QString ContainerPath() const { return Export::ContainerPath(m_folders); }

    RegistrationRecord NewRecord(const QByteArray &product)
    {
        const QByteArray serial = QByteArray::number(m_random.generate());
        return RegistrationRecord({product, "owner " + serial, "id-" + serial, "CODE-" + serial, "https://x.example/",
                                   "2026", "01-02-2026 03:04:05"});
    }

    // Journals the operation, runs it, checks that every file now holds
    // what the journal says, and journals that it is done.
    bool Run(const QByteArray &name, const QMap<QString, std::optional<QByteArray>> &after,
             const std::function<bool()> &action)
    {
        CrashJournal::Operation operation{name, {}, false};
        for (auto change = after.cbegin(); change != after.cend(); ++change)
            operation.changes.append({change.key(), Digest(ReadFile(change.key())), Digest(change.value())});
        m_journal.write(CrashJournal::BeginLine(operation));
        if (!action())
            return Fail(name + " reported a failure");
        for (const CrashJournal::FileChange &change : std::as_const(operation.changes)) {
            if (Digest(ReadFile(change.file)) != change.after)
                return Fail(name + " left " + change.file.toUtf8() + " with unexpected content");
        }
        m_journal.write("D\n");
        return true;
    }

    bool Fail(const QByteArray &why) const
    {
        std::fprintf(stderr, "crash driver: %s\n", why.constData());
        return false;
    }

    std::optional<QList<RegistrationRecord>> Records(int number)
    {
        const DatabaseLoad load = LoadDatabaseFile(DatabasePath(number));
        if (!load.whole)
            return std::nullopt;
        return load.records;
    }

    bool Add(int number)
    {
        const std::optional<QList<RegistrationRecord>> records = Records(number);
        if (!records)
            return Fail("database not read whole");
        if (records->size() >= MaxRecords)
            return Remove(number);
        const QString path = DatabasePath(number);
        const RegistrationRecord record = NewRecord("P" + QByteArray::number(m_random.generate()));
        const QByteArray line = EncodeLine(FormatRecordLine(record, LineBreak::Omit), CodecKey()) + "\r\n";
        return Run("add", {{path, ReadFile(path).value_or(QByteArray()) + line}},
                   [&] { return AppendRecord(path, record); });
    }

    bool Replace(int number) { return Rewrite(number, false); }
    bool Remove(int number) { return Rewrite(number, true); }

    bool Rewrite(int number, bool remove)
    {
        std::optional<QList<RegistrationRecord>> records = Records(number);
        if (!records)
            return Fail("database not read whole");
        if (records->isEmpty())
            return Add(number);
        const qsizetype row = m_random.bounded(int(records->size()));
        if (remove)
            records->removeAt(row);
        else
            (*records)[row] = NewRecord((*records)[row][RegistrationRecord::Product].toByteArray());
        const QString path = DatabasePath(number);
        const QString backup = DatabaseFiles::BackupFilePath(m_folders.DataFolder(), number);
        return Run(remove ? "remove" : "replace", {{path, FormatDatabase(*records)}},
                   [&] { return RewriteDatabase(path, backup, *records); });
    }

    bool Export()
    {
        ExportContainer::Databases databases;
        for (int number = 1; number <= DatabaseFiles::Count; ++number)
            databases[number - 1] = ReadFile(DatabasePath(number)).value_or(QByteArray());
        const ExportContainer container(databases);
        if (!container.FitsLimit())
            return Fail("databases grew past the container's limit");
        return Run("export", {{ContainerPath(), container.ToBytes()}}, [&] {
            Export::ExportDatabases(m_folders);
            return true;
        });
    }

    bool Import()
    {
        QMap<QString, std::optional<QByteArray>> after;
        const std::optional<QByteArray> container = ReadFile(ContainerPath());
        if (container) {
            const std::optional<ExportContainer::Sizes> sizes = ExportContainer::ReadSizes(*container);
            if (!sizes)
                return Fail("container without sizes");
            qsizetype position = ExportContainer::ContentOffset;
            for (int number = 1; number <= DatabaseFiles::Count; ++number) {
                const qsizetype size = (*sizes)[number - 1];
                if (size > 0)
                    after.insert(DatabasePath(number), container->sliced(position, size));
                position += size;
            }
        }
        return Run("import", after, [&] { return ImportDatabases(m_folders); });
    }

    StandardFolders m_folders;
    QFile m_journal;
    QRandomGenerator m_random;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(AppInfo::OrganizationName);
    QCoreApplication::setApplicationName(AppInfo::ApplicationTitle);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3)
        return 2;
    CrashDriver driver(arguments.at(1), arguments.at(2).toUInt());
    const int operations = arguments.size() > 3 ? arguments.at(3).toInt() : -1;
    for (int done = 0; operations < 0 || done < operations; ++done) {
        if (!driver.RunOne())
            return 1;
    }
    return 0;
}
