#include "backupcommands.h"

#include "bytesource.h"
#include "clicontext.h"
#include "databasebackup.h"
#include "exchange/backupfile.h"
#include "exchange/quantity.h"
#include "outputfile.h"
#include "store/databasefiles.h"
#include "store/privatefiles.h"
#include "store/replacementset.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 PieceLength = DatabaseBackup::PieceLength;

QString InputName(const QString &argument)
{
    return argument == StandardStream ? u"the standard input"_s : argument;
}

bool Exists(const QString &path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// A backup of the databases as they are, in the data folder, under a name no
// other file has. Empty when it could not be written.
QString KeepForUndo(const CliContext &context, DatabaseBackup &databases)
{
    const QDir folder(context.DataFolder());
    const QString stamp = context.Now().toString(u"yyyyMMdd-HHmmss"_s);
    QString path = folder.filePath(u"before-restore-%1.backup"_s.arg(stamp));
    for (int suffix = 2; Exists(path); ++suffix)
        path = folder.filePath(u"before-restore-%1-%2.backup"_s.arg(stamp).arg(suffix));
    const std::unique_ptr<ReplacementFile> file = PrivateFiles::StartReplacement(path, PrivateFiles::AtLink::Replace);
    return file && databases.WriteTo(*file) && file->Commit() ? path : QString();
}

// What went wrong while a backup was read into the databases' replacements.
enum class Failure {
    None,
    // The backup holds fewer or more bytes than its sizes claim.
    Damaged,
    // The backup could not be read.
    Unreadable,
    // A database's replacement could not be written.
    Unwritable,
};

// As many of the backup's first bytes as a head has, fewer when the backup
// is shorter; none when it cannot be read.
std::optional<QByteArray> ReadHeadBytes(ByteSource &backup)
{
    QByteArray head(BackupFile::HeadLength, Qt::Uninitialized);
    qint64 length = 0;
    while (length < head.size()) {
        const qint64 count = backup.Read(head.data() + length, head.size() - length);
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            break;
        length += count;
    }
    return head.first(length);
}

// Copies exactly `length` bytes of the backup into the file.
Failure CopyInto(ByteSource &backup, qint64 length, ReplacementFile *file, QByteArray &buffer)
{
    while (length > 0) {
        const qint64 count = backup.Read(buffer.data(), std::min(length, PieceLength));
        if (count < 0)
            return Failure::Unreadable;
        if (count == 0)
            return Failure::Damaged;
        if (file && !file->Write(QByteArrayView(buffer).first(count)))
            return Failure::Unwritable;
        length -= count;
    }
    return Failure::None;
}

// Reads the rest of the backup, which must be nothing.
Failure CheckEnd(ByteSource &backup, QByteArray &buffer)
{
    const qint64 end = backup.Position();
    for (;;) {
        const qint64 count = backup.Read(buffer.data(), PieceLength);
        if (count < 0)
            return Failure::Unreadable;
        if (count == 0)
            return backup.Position() == end ? Failure::None : Failure::Damaged;
    }
}

// Reads the backup's databases into replacements of the database files; a
// database that is to be empty and has no file keeps having none.
Failure ReadDatabases(const QString &dataFolder, ByteSource &backup, const BackupFile::Sizes &sizes,
                      ReplacementSet &replacements)
{
    QByteArray buffer(PieceLength, Qt::Uninitialized);
    for (int index = 0; index < DatabaseFiles::Count; ++index) {
        const QString path = DatabaseFiles::DatabaseFilePath(dataFolder, index + 1);
        std::unique_ptr<ReplacementFile> file;
        if (sizes[index] > 0 || Exists(path)) {
            file = PrivateFiles::StartReplacement(path, PrivateFiles::AtLink::UpdateTarget);
            if (!file)
                return Failure::Unwritable;
        }
        const Failure failure = CopyInto(backup, sizes[index], file.get(), buffer);
        if (failure != Failure::None)
            return failure;
        if (file)
            replacements.Add(std::move(file));
    }
    return CheckEnd(backup, buffer);
}

} // namespace

ExitCode BackUpDatabases(const CliContext &context, const CommandArguments &arguments)
{
    DatabaseBackup databases(context.DataFolder());
    if (!databases.Error().isEmpty()) {
        context.Message(databases.Error());
        return ExitCode::Failed;
    }
    OutputFile output(context, arguments.argument,
                      arguments.Has(CommandTable::Option::Force) ? Existing::Replace : Existing::Keep);
    if (output.State() != ExitCode::Success)
        return output.State();
    if (!databases.WriteTo(output)) {
        if (!databases.Error().isEmpty())
            context.Message(databases.Error());
        return ExitCode::Failed;
    }
    const ExitCode written = output.Commit();
    if (written == ExitCode::Success)
        context.Tell(u"backed up the four databases to %1 (%2)"_s.arg(
            arguments.argument == StandardStream ? u"the standard output"_s : arguments.argument,
            Quantity(BackupFile::HeadLength + databases.ContentLength(), u"byte"_s, u"bytes"_s)));
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
    ByteSource backup(arguments.argument, MissingFile::IsError);
    const std::optional<QByteArray> head = ReadHeadBytes(backup);
    if (!head) {
        context.Message(backup.Error());
        return ExitCode::Failed;
    }
    QString error;
    const std::optional<BackupFile::Sizes> sizes = BackupFile::ReadHead(*head, error);
    if (!sizes) {
        context.Message(u"%1 is %2. Nothing was restored."_s.arg(InputName(arguments.argument), error));
        return ExitCode::Refused;
    }
    DatabaseBackup previous(context.DataFolder());
    if (!previous.Error().isEmpty()) {
        context.Message(previous.Error());
        return ExitCode::Failed;
    }

    // As the window's writes do: a private folder, no leftovers of
    // interrupted writes.
    if (!DatabaseFiles::PrepareFolder(context.DataFolder())) {
        context.Message(u"could not prepare %1. Nothing was restored."_s.arg(context.DataFolder()));
        return ExitCode::Failed;
    }
    const QString couldNotWrite =
        u"could not write the databases in %1; they were put back as they were."_s.arg(context.DataFolder());
    ReplacementSet replacements;
    switch (ReadDatabases(context.DataFolder(), backup, *sizes, replacements)) {
    case Failure::None:
        break;
    case Failure::Damaged:
        context.Message(u"%1 is %2. Nothing was restored."_s.arg(
            InputName(arguments.argument), BackupFile::LengthMismatch(BackupFile::Length(*sizes), backup.Position())));
        return ExitCode::Refused;
    case Failure::Unreadable:
        context.Message(backup.Error());
        return ExitCode::Failed;
    case Failure::Unwritable:
        context.Message(couldNotWrite);
        return ExitCode::Failed;
    }
    QString undoPath;
    if (previous.ContentLength() > 0) {
        undoPath = KeepForUndo(context, previous);
        if (undoPath.isEmpty()) {
            if (!previous.Error().isEmpty())
                context.Message(previous.Error());
            context.Message(
                u"could not keep the databases as they are in %1. Nothing was restored."_s.arg(context.DataFolder()));
            return ExitCode::Failed;
        }
    }
    if (!replacements.CommitAll()) {
        context.Message(couldNotWrite);
        if (!undoPath.isEmpty())
            context.Message(u"Should any differ, \"korvane-cli restore %1\" brings them back."_s.arg(undoPath));
        return ExitCode::Failed;
    }
    context.Tell(u"restored the four databases from %1 (%2)"_s.arg(
        InputName(arguments.argument),
        Quantity(BackupFile::Length(*sizes) - BackupFile::HeadLength, u"byte"_s, u"bytes"_s)));
    if (!undoPath.isEmpty())
        context.Tell(u"the databases as they were are kept in %1; restore that file to undo"_s.arg(undoPath));
    return ExitCode::Success;
}
