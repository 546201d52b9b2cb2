#include "outputfile.h"

#include "clicontext.h"
#include "store/databasefiles.h"
#include "store/privatefiles.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// The path as the file system resolves it, as far as it exists.
QString Resolved(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

} // namespace

bool IsDatabaseFile(const QString &dataFolder, const QString &path)
{
    const QString resolved = Resolved(path);
    for (int number = 1; number <= DatabaseFiles::Count; ++number) {
        if (resolved == Resolved(DatabaseFiles::DatabaseFilePath(dataFolder, number))
            || resolved == Resolved(DatabaseFiles::BackupFilePath(dataFolder, number)))
            return true;
    }
    return false;
}

ExitCode WriteOutput(const CliContext &context, const QString &file, const QByteArray &content, Existing existing)
{
    if (file.isEmpty()) {
        context.Output(content);
        return ExitCode::Success;
    }
    if (IsDatabaseFile(context.DataFolder(), file)) {
        context.Message(u"%1 is a database file of Korvane; choose another name"_s.arg(file));
        return ExitCode::Refused;
    }
    if (existing == Existing::Keep && QFileInfo(file).isFile()) {
        context.Message(u"%1 exists; --force replaces it"_s.arg(file));
        return ExitCode::Refused;
    }
    // Like the export container, the file replaces whatever stands at its name,
    // a link included, and never writes through it.
    if (!PrivateFiles::WriteWhole(file, content, PrivateFiles::AtLink::Replace)) {
        context.Message(u"could not write %1"_s.arg(file));
        return ExitCode::Failed;
    }
    return ExitCode::Success;
}
