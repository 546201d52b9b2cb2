#include "outputfile.h"

#include "clicontext.h"
#include "store/databasefiles.h"
#include "store/privatefiles.h"
#include "wholefile.h"

#include <QFile>
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

ExitCode CouldNotWrite(const CliContext &context, const QString &path, const QString &reason)
{
    context.Message(reason.isEmpty()
                        ? u"could not write %1"_s.arg(path)
                        : u"could not write %1: %2"_s.arg(path, reason.front().toLower() + reason.sliced(1)));
    return ExitCode::Failed;
}

// A pipe, FIFO or device is a stream to write into, never a file to replace.
ExitCode WriteInPlace(const CliContext &context, const QString &path, const QByteArray &content)
{
    QFile stream(path);
    if (!stream.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || stream.write(content) != content.size())
        return CouldNotWrite(context, path, stream.errorString());
    return ExitCode::Success;
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
    if (file.isEmpty() || file == StandardStream) {
        context.Output(content);
        return ExitCode::Success;
    }
    const QFileInfo info(file);
    if (info.isDir()) {
        context.Message(u"%1 is a folder; name a file"_s.arg(file));
        return ExitCode::Refused;
    }
    if (info.exists() && !info.isFile())
        return WriteInPlace(context, file, content);
    if (IsDatabaseFile(context.DataFolder(), file)) {
        context.Message(u"%1 is a database file of Korvane; choose another name"_s.arg(file));
        return ExitCode::Refused;
    }
    if (existing == Existing::Keep && info.isFile()) {
        context.Message(u"%1 exists; --force replaces it"_s.arg(file));
        return ExitCode::Refused;
    }
    // Like the export container, the file replaces whatever stands at its name,
    // a link included, and never writes through it.
    QString reason;
    if (!PrivateFiles::WriteWhole(file, content, PrivateFiles::AtLink::Replace, &reason))
        return CouldNotWrite(context, file, reason);
    return ExitCode::Success;
}
