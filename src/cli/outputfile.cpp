#include "outputfile.h"

#include "clicontext.h"
#include "store/databasefiles.h"
#include "store/privatefiles.h"
#include "store/replacementfile.h"
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

OutputFile::OutputFile(const CliContext &context, const QString &file, Existing existing)
    : m_context(context)
    , m_file(file)
    , m_existing(existing)
{}

OutputFile::~OutputFile() = default;

bool OutputFile::IsStandardOutput() const
{
    return m_file.isEmpty() || m_file == StandardStream;
}

ExitCode OutputFile::Open()
{
    if (IsStandardOutput())
        return ExitCode::Success;
    const QFileInfo info(m_file);
    if (info.isDir()) {
        m_context.Message(u"%1 is a folder; name a file"_s.arg(m_file));
        return ExitCode::Refused;
    }
    // A pipe, FIFO or device is a stream to write into, never a file to
    // replace.
    if (info.exists() && !info.isFile()) {
        m_stream.setFileName(m_file);
        return m_stream.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ? ExitCode::Success
                                                                           : Failed(m_stream.errorString());
    }
    if (IsDatabaseFile(m_context.DataFolder(), m_file)) {
        m_context.Message(u"%1 is a database file of Korvane; choose another name"_s.arg(m_file));
        return ExitCode::Refused;
    }
    if (m_existing == Existing::Keep && info.isFile()) {
        m_context.Message(u"%1 exists; --force replaces it"_s.arg(m_file));
        return ExitCode::Refused;
    }
    // Like the export container, the file replaces whatever stands at its name,
    // a link included, and never writes through it.
    QString reason;
    m_replacement = PrivateFiles::StartReplacement(m_file, PrivateFiles::AtLink::Replace, &reason);
    return m_replacement && m_replacement->IsOpen() ? ExitCode::Success : Failed(reason);
}

void OutputFile::Write(QByteArrayView data)
{
    m_size += data.size();
    if (m_failed)
        return;
    if (IsStandardOutput())
        m_context.Output(data);
    else if (m_replacement)
        m_failed = !m_replacement->Write(data);
    else
        m_failed = m_stream.write(data.data(), data.size()) != data.size();
}

ExitCode OutputFile::Finish()
{
    if (m_replacement && (m_failed || !m_replacement->Commit()))
        return Failed(m_replacement->ErrorString());
    if (m_failed)
        return Failed(m_stream.errorString());
    return ExitCode::Success;
}

ExitCode OutputFile::Failed(const QString &reason)
{
    m_failed = true;
    m_context.Message(reason.isEmpty()
                          ? u"could not write %1"_s.arg(m_file)
                          : u"could not write %1: %2"_s.arg(m_file, reason.front().toLower() + reason.sliced(1)));
    return ExitCode::Failed;
}

ExitCode WriteOutput(const CliContext &context, const QString &file, const QByteArray &content, Existing existing)
{
    OutputFile output(context, file, existing);
    const ExitCode opened = output.Open();
    if (opened != ExitCode::Success)
        return opened;
    output.Write(content);
    return output.Finish();
}
