#include "exportcommand.h"

#include "clicontext.h"
#include "exchange/csvwriter.h"
#include "exchange/keepassxmlobstacles.h"
#include "exchange/quantity.h"
#include "outputfile.h"
#include "storedrecords.h"
#include "textoutput.h"
#include "wholefile.h"

using namespace Qt::StringLiterals;

ExitCode ExportRecords(const CliContext &context, const CommandArguments &arguments)
{
    const bool spreadsheetSafe = arguments.Has(CommandTable::Option::SpreadsheetSafe);
    if (spreadsheetSafe && arguments.format != u"csv") {
        context.Message(u"--spreadsheet-safe is for CSV only"_s);
        return ExitCode::Refused;
    }
    OutputFile output(context, arguments.outputFile,
                      arguments.Has(CommandTable::Option::Force) ? Existing::Replace : Existing::Keep);
    if (output.State() != ExitCode::Success)
        return output.State();
    qint64 size = 0;
    const auto write = [&output, &size](QByteArrayView text) {
        output.Write(text);
        size += text.size();
    };
    // Nothing goes out unless KeePass would keep every record whole.
    QStringList obstacles;
    const RecordApproval keptWhole = [&obstacles](const QList<DatabaseRecords> &databases) {
        obstacles = KeePassXmlObstacles(databases);
        return obstacles.isEmpty();
    };
    const std::unique_ptr<RecordWriter> writer =
        spreadsheetSafe ? std::make_unique<CsvWriter>(CsvCells::SpreadsheetSafe) : WriterFor(arguments.format);
    if (!WriteStoredRecords(context, arguments.databases, *writer, write, {},
                            arguments.format == u"keepass-xml" ? keptWhole : RecordApproval())) {
        if (obstacles.isEmpty())
            return ExitCode::Failed;
        for (const QString &obstacle : obstacles)
            context.Message(obstacle);
        context.Message(u"nothing was exported: KeePass XML would lose the fields above; CSV and JSON keep them"_s);
        return ExitCode::Refused;
    }
    const ExitCode written = output.Commit();
    if (written == ExitCode::Success && !arguments.outputFile.isEmpty() && arguments.outputFile != StandardStream)
        context.Tell(u"exported to %1 (%2)"_s.arg(arguments.outputFile, Quantity(size, u"byte"_s, u"bytes"_s)));
    return written;
}
