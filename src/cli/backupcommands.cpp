#include "backupcommands.h"

#include "clicontext.h"
#include "exchange/backupfile.h"
#include "exchange/quantity.h"
#include "outputfile.h"
#include "store/databasefiles.h"
#include "store/privatefiles.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// The four database files as they lie on disk; none when one cannot be read.
std::optional<ExportContainer::Databases> ReadDatabases(const CliContext &context)
{
    ExportContainer::Databases databases;
    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        QString error;
        const std::optional<QByteArray> content =
            ReadWholeFile(DatabaseFiles::DatabaseFilePath(context.DataFolder(), number), MissingFile::IsEmpty, error);
        if (!content) {
            context.Message(error);
            return std::nullopt;
        }
        databases[number - 1] = *content;
    }
    return databases;
}

qsizetype TotalSize(const ExportContainer::Databases &databases)
{
    qsizetype size = 0;
    for (const QByteArray &database : databases)
        size += database.size();
    return size;
}

// A backup of the databases as they are, in the data folder, under a name no
// other file has. Empty when it could not be written.
QString KeepForUndo(const CliContext &context, const ExportContainer::Databases &databases)
{
    const QDir folder(context.DataFolder());
    const QString stamp = context.Now().toString(u"yyyyMMdd-HHmmss"_s);
    QString path = folder.filePath(u"before-restore-%1.backup"_s.arg(stamp));
    for (int suffix = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++suffix)
        path = folder.filePath(u"before-restore-%1-%2.backup"_s.arg(stamp).arg(suffix));
    const std::optional<QByteArray> backup = BackupFile::Make(databases);
    return backup && PrivateFiles::WriteWhole(path, *backup) ? path : QString();
}

// Puts one database's content in place; a database that is to be empty and
// has no file keeps having none.
bool Replace(const QString &path, const QByteArray &content)
{
    if (content.isEmpty() && !QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return true;
    return PrivateFiles::WriteWhole(path, content);
}

// Writes the four databases. When one cannot be written, the ones written
// before it get their old content back, so the set is never half restored.
bool ReplaceAll(const QString &dataFolder, const ExportContainer::Databases &restored,
                const ExportContainer::Databases &previous, const std::array<bool, DatabaseFiles::Count> &existed)
{
    for (int index = 0; index < DatabaseFiles::Count; ++index) {
        if (Replace(DatabaseFiles::DatabaseFilePath(dataFolder, index + 1), restored[index]))
            continue;
        for (int undo = 0; undo < index; ++undo) {
            const QString path = DatabaseFiles::DatabaseFilePath(dataFolder, undo + 1);
            if (existed[undo])
                PrivateFiles::WriteWhole(path, previous[undo]);
            else
                QFile::remove(path);
        }
        return false;
    }
    return true;
}

} // namespace

ExitCode BackUpDatabases(const CliContext &context, const CommandArguments &arguments)
{
    const std::optional<ExportContainer::Databases> databases = ReadDatabases(context);
    if (!databases)
        return ExitCode::Failed;
    const std::optional<QByteArray> backup = BackupFile::Make(*databases);
    if (!backup) {
        context.Message(u"a database is larger than a backup can hold (4 GiB)"_s);
        return ExitCode::Refused;
    }
    const ExitCode written =
        WriteOutput(context, arguments.argument, *backup,
                    arguments.Has(CommandTable::Option::Force) ? Existing::Replace : Existing::Keep);
    if (written == ExitCode::Success)
        context.Tell(u"backed up the four databases to %1 (%2)"_s.arg(
            arguments.argument == StandardStream ? u"the standard output"_s : arguments.argument,
            Quantity(backup->size(), u"byte"_s, u"bytes"_s)));
    return written;
}

ExitCode RestoreDatabases(const CliContext &context, const CommandArguments &arguments)
{
    const std::unique_ptr<InstanceLock> lock = context.LockOutWindow();
    if (!lock) {
        context.Message(
            u"another Korvane (the window or korvane-cli) is writing; close the window or wait. Nothing was restored."_s);
        return ExitCode::Refused;
    }
    QString error;
    const std::optional<QByteArray> file = ReadWholeFile(arguments.argument, MissingFile::IsError, error);
    if (!file) {
        context.Message(error);
        return ExitCode::Failed;
    }
    const std::optional<ExportContainer::Databases> restored = BackupFile::Read(*file, error);
    if (!restored) {
        context.Message(u"%1 is %2. Nothing was restored."_s.arg(
            arguments.argument == StandardStream ? u"the standard input"_s : arguments.argument, error));
        return ExitCode::Refused;
    }
    const std::optional<ExportContainer::Databases> previous = ReadDatabases(context);
    if (!previous)
        return ExitCode::Failed;
    std::array<bool, DatabaseFiles::Count> existed{};
    for (int number = 1; number <= DatabaseFiles::Count; ++number)
        existed[number - 1] = QFileInfo::exists(DatabaseFiles::DatabaseFilePath(context.DataFolder(), number));

    // As the window's writes do: a private folder, no leftovers of
    // interrupted writes.
    if (!DatabaseFiles::PrepareFolder(context.DataFolder())) {
        context.Message(u"could not prepare %1. Nothing was restored."_s.arg(context.DataFolder()));
        return ExitCode::Failed;
    }
    QString undoPath;
    if (TotalSize(*previous) > 0) {
        undoPath = KeepForUndo(context, *previous);
        if (undoPath.isEmpty()) {
            context.Message(
                u"could not keep the databases as they are in %1. Nothing was restored."_s.arg(context.DataFolder()));
            return ExitCode::Failed;
        }
    }
    if (!ReplaceAll(context.DataFolder(), *restored, *previous, existed)) {
        context.Message(
            u"could not write the databases in %1; they were put back as they were."_s.arg(context.DataFolder()));
        if (!undoPath.isEmpty())
            context.Message(u"Should any differ, \"korvane-cli restore %1\" brings them back."_s.arg(undoPath));
        return ExitCode::Failed;
    }
    context.Tell(u"restored the four databases from %1 (%2)"_s.arg(
        arguments.argument == StandardStream ? u"the standard input"_s : arguments.argument,
        Quantity(TotalSize(*restored), u"byte"_s, u"bytes"_s)));
    if (!undoPath.isEmpty())
        context.Tell(u"the databases as they were are kept in %1; restore that file to undo"_s.arg(undoPath));
    return ExitCode::Success;
}
