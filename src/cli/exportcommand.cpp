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
    if (arguments.format == u"keepass-xml") {
        // Held whole, to go out only when KeePass would lose nothing of it.
        KeePassXmlWriter writer;
        QByteArray xml;
        if (!WriteStoredRecords(context, arguments.databases, writer, [&xml](QByteArrayView text) { xml += text; }))
            return ExitCode::Failed;
        if (!writer.Obstacles().isEmpty()) {
            for (const QString &obstacle : writer.Obstacles())
                context.Message(obstacle);
            context.Message(u"nothing was exported: KeePass XML would lose the fields above; CSV and JSON keep them"_s);
            return ExitCode::Refused;
        }
        write(xml);
    } else {
        const std::unique_ptr<RecordWriter> writer =
            spreadsheetSafe ? std::make_unique<CsvWriter>(CsvCells::SpreadsheetSafe) : WriterFor(arguments.format);
        if (!WriteStoredRecords(context, arguments.databases, *writer, write))
            return ExitCode::Failed;
    }
    const ExitCode written = output.Commit();
    if (written == ExitCode::Success && !arguments.outputFile.isEmpty() && arguments.outputFile != StandardStream)
        context.Tell(u"exported to %1 (%2)"_s.arg(arguments.outputFile, Quantity(size, u"byte"_s, u"bytes"_s)));
    return written;
}
