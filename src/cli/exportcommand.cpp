#include "exportcommand.h"

#include "clicontext.h"
#include "exchange/csvwriter.h"
#include "exchange/keepassxmlwriter.h"
#include "exchange/quantity.h"
#include "outputfile.h"
#include "storedrecords.h"
#include "textoutput.h"
#include "wholefile.h"

using namespace Qt::StringLiterals;

ExitCode ExportRecords(const CliContext &context, const CommandArguments &arguments)
{
    const std::optional<QList<DatabaseRecords>> databases = ReadStoredRecords(context, arguments.databases);
    if (!databases)
        return ExitCode::Failed;
    if (arguments.format == u"keepass-xml") {
        const QStringList obstacles = KeePassXmlObstacles(*databases);
        if (!obstacles.isEmpty()) {
            for (const QString &obstacle : obstacles)
                context.Message(obstacle);
            context.Message(u"nothing was exported: KeePass XML would lose the fields above; CSV and JSON keep them"_s);
            return ExitCode::Refused;
        }
    }
    const bool spreadsheetSafe = arguments.Has(CommandTable::Option::SpreadsheetSafe);
    if (spreadsheetSafe && arguments.format != u"csv") {
        context.Message(u"--spreadsheet-safe is for CSV only"_s);
        return ExitCode::Refused;
    }
    const QByteArray content =
        spreadsheetSafe ? WriteCsv(*databases, CsvCells::SpreadsheetSafe) : FormatRecords(arguments.format, *databases);
    const ExitCode written =
        WriteOutput(context, arguments.outputFile, content,
                    arguments.Has(CommandTable::Option::Force) ? Existing::Replace : Existing::Keep);
    if (written == ExitCode::Success && !arguments.outputFile.isEmpty() && arguments.outputFile != StandardStream)
        context.Tell(
            u"exported to %1 (%2)"_s.arg(arguments.outputFile, Quantity(content.size(), u"byte"_s, u"bytes"_s)));
    return written;
}
