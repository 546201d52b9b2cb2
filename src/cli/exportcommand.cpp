#include "exportcommand.h"

#include "clicontext.h"
#include "csvwriter.h"
#include "databasewalk.h"
#include "jsonwriter.h"
#include "keepassxmlwriter.h"
#include "outputfile.h"
#include "quantity.h"

using namespace Qt::StringLiterals;

namespace {

ExitCode RunExport(const CliContext &context, const CommandArguments &arguments)
{
    QString error;
    QByteArrayList content;
    if (arguments.format == u"keepass-xml") {
        const std::optional<QList<DatabaseRecords>> records =
            ReadDatabaseRecords(context.DataFolder(), arguments.databases, error);
        if (!records) {
            context.Message(error);
            return ExitCode::Failed;
        }
        const QStringList obstacles = KeePassXmlObstacles(*records);
        if (!obstacles.isEmpty()) {
            for (const QString &obstacle : obstacles)
                context.Message(obstacle);
            context.Message(u"nothing was exported: KeePass XML would lose the fields above; CSV and JSON keep them"_s);
            return ExitCode::Refused;
        }
        content = {WriteKeePassXml(*records)};
    } else {
        const std::optional<QList<DatabaseWalk>> walks =
            OpenDatabaseWalks(context.DataFolder(), arguments.databases, error);
        if (!walks) {
            context.Message(error);
            return ExitCode::Failed;
        }
        content = arguments.format == u"csv" ? WriteCsv(*walks) : WriteJson(*walks);
    }
    const ExitCode written = WriteOutput(context, arguments.outputFile, content);
    if (written == ExitCode::Success && !arguments.outputFile.isEmpty()) {
        qsizetype bytes = 0;
        for (const QByteArray &piece : content)
            bytes += piece.size();
        context.Message(u"exported to %1 (%2)"_s.arg(arguments.outputFile, Quantity(bytes, u"byte"_s, u"bytes"_s)));
    }
    return written;
}

} // namespace

const CommandSpec ExportCommand{
    .name = QLatin1StringView("export"),
    .summary = QLatin1StringView("records as CSV, JSON or KeePass 2 XML"),
    .help = QLatin1StringView(R"(Usage: korvane-cli export -f csv|json|keepass-xml [-d DB] [-o FILE]

Writes the records of one database or of all four, in UTF-8:
  csv          RFC 4180, CR LF line ends, the header
               Database,Product,Registrant,Customer ID,Registration,Web Contact,Registration Date,Recorded
  json         an array of objects with those keys, every value a string
  keepass-xml  KeePass 2 XML for "keepassxc-cli import" and KeePass: one group
               per database, each record an entry (Title = Product,
               UserName = Registrant, Password = Registration,
               URL = Web Contact, and the string fields Customer ID,
               Registration Date and Recorded)
The file holds registration codes in plain text: it is written readable by
you alone, and you should keep it so.

Options:
  -f, --format FORMAT    csv, json or keepass-xml (required)
  -d, --database DB      1 to 4, work, games, tools, misc, or all (the default)
  -o, --output FILE      write to FILE instead of the standard output
  -h, --help             this help
)"),
    .databaseUse = CommandSpec::DatabaseUse::OneOrAll,
    .formats = QLatin1StringView("csv json keepass-xml"),
    .formatRequired = true,
    .writesOutputFile = true,
    .run = RunExport,
};
