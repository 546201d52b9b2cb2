#include "importcommand.h"

#include "clicontext.h"
#include "exchange/csvreader.h"
#include "exchange/jsonreader.h"
#include "exchange/keepassxmlreader.h"
#include "exchange/quantity.h"
#include "importplacement.h"
#include "store/databasefiles.h"
#include "store/databasewriter.h"
#include "store/recordedstamp.h"
#include "wholefile.h"

using namespace Qt::StringLiterals;

namespace {

// What the reader made of the file, its records handed to take as they are
// read; none when the file cannot be read. The file's bytes are gone on
// return, so the memory they took serves the records' encoding.
std::optional<ImportedFile> ReadImportFile(const QString &format, const QString &path, const RecordTaker &take,
                                           QString &error)
{
    const std::optional<QByteArray> content = ReadWholeFile(path, MissingFile::IsError, error, MaxImportBytes);
    if (!content)
        return std::nullopt;
    if (format == u"csv")
        return ReadCsv(*content, take);
    if (format == u"json")
        return ReadJson(*content, take);
    return ReadKeePassXml(*content, take);
}

ExitCode Refuse(const CliContext &context, const QStringList &reasons)
{
    for (const QString &reason : reasons)
        context.Message(reason);
    context.Message(u"nothing was imported"_s);
    return ExitCode::Refused;
}

void TellDryRun(const CliContext &context, const ImportPlacement &placement)
{
    QString told;
    for (const auto &[number, database] : placement.Databases()) {
        const QString name = DatabaseFiles::DisplayName(number);
        for (const QString &added : database.added)
            told += u"would add %1 to %2\n"_s.arg(added, name);
        for (const QString &skipped : database.skipped)
            told += u"would skip %1: %2 holds it already\n"_s.arg(skipped, name);
    }
    for (const QString &problem : placement.Problems())
        told += u"refused: "_s + problem + u'\n';
    context.Output(told.toUtf8());
}

} // namespace

ExitCode ImportRecords(const CliContext &context, const CommandArguments &arguments)
{
    const bool dryRun = arguments.Has(CommandTable::Option::DryRun);
    // Held until the records are written, so the window cannot start in
    // between and rewrite the file from a list without them.
    const std::unique_ptr<InstanceLock> lock = dryRun ? nullptr : context.LockOutWindow();
    if (!dryRun && !lock)
        return Refuse(context, {u"another Korvane (the window or korvane-cli) is writing; close the window or wait"_s});

    const Duplicates duplicates =
        arguments.Has(CommandTable::Option::KeepDuplicates) ? Duplicates::Keep : Duplicates::Skip;
    ImportPlacement placement(context.DataFolder(), RecordedStamp(context.Now()), arguments.databases, duplicates,
                              dryRun);
    QString error;
    const std::optional<ImportedFile> file = ReadImportFile(
        arguments.format, arguments.argument, [&placement](ImportedRecord &&record) { placement.Take(record); }, error);
    if (!file) {
        context.Message(error);
        return ExitCode::Failed;
    }
    if (!file->errors.isEmpty())
        return Refuse(context, file->errors);
    if (!placement.ReadFailure().isEmpty()) {
        context.Message(placement.ReadFailure());
        return ExitCode::Failed;
    }
    placement.Finish();
    const QStringList problems = placement.Problems();
    if (dryRun) {
        TellDryRun(context, placement);
        return problems.isEmpty() ? ExitCode::Success : ExitCode::Refused;
    }
    if (!problems.isEmpty())
        return Refuse(context, problems);

    for (const QString &leftOut : file->leftOut)
        context.Message(u"left out, as a record has no place for it: "_s + leftOut);
    for (const auto &[number, database] : placement.Databases()) {
        const QString name = DatabaseFiles::DisplayName(number);
        if (QString reason; !AppendRecords(database.path, database.plan.records, &reason)) {
            context.Message(u"could not write %1: %2; nothing was imported into %3"_s.arg(
                database.path, reason.front().toLower() + reason.sliced(1), name));
            return ExitCode::Failed;
        }
        QString told =
            u"imported %1 into %2"_s.arg(Quantity(database.plan.records.size(), u"record"_s, u"records"_s), name);
        if (database.plan.skipped > 0)
            told += u"; skipped %1 it holds already"_s.arg(Quantity(database.plan.skipped, u"record"_s, u"records"_s));
        context.Tell(told);
    }
    return ExitCode::Success;
}
