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

QString LowerFirst(const QString &text)
{
    return text.isEmpty() ? text : text.front().toLower() + text.sliced(1);
}

} // namespace

OutputFile::OutputFile(const CliContext &context, const QString &file, Existing existing)
    : m_context(context)
    , m_path(file)
{
    if (file.isEmpty() || file == StandardStream)
        return;
    const QFileInfo info(file);
    if (info.isDir()) {
        m_context.Message(u"%1 is a folder; name a file"_s.arg(file));
        m_state = ExitCode::Refused;
        return;
    }
    // A pipe, FIFO or device is a stream to write into, never a file to
    // replace.
    if (info.exists() && !info.isFile()) {
        m_stream = std::make_unique<QFile>(file);
        if (!m_stream->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            Fail(m_stream->errorString());
        return;
    }
    if (IsDatabaseFile(context.DataFolder(), file)) {
        m_context.Message(u"%1 is a database file of Korvane; choose another name"_s.arg(file));
        m_state = ExitCode::Refused;
        return;
    }
    if (existing == Existing::Keep && info.isFile()) {
        m_context.Message(u"%1 exists; --force replaces it"_s.arg(file));
        m_state = ExitCode::Refused;
        return;
    }
    // Like the export container, the file replaces whatever stands at its
    // name, a link included, and never writes through it.
    QString reason;
    m_file = PrivateFiles::StartReplacement(file, PrivateFiles::AtLink::Replace, &reason);
    if (!m_file)
        Fail(reason);
}

OutputFile::~OutputFile() = default;

bool OutputFile::Write(QByteArrayView data)
{
    if (m_state != ExitCode::Success)
        return false;
    if (m_stream) {
        if (m_stream->write(data.data(), data.size()) != data.size())
            Fail(m_stream->errorString());
    } else if (m_file) {
        if (!m_file->Write(data))
            Fail(m_file->ErrorString());
    } else {
        m_context.Output(data);
    }
    return m_state == ExitCode::Success;
}

ExitCode OutputFile::Commit()
{
    if (m_state == ExitCode::Success && m_file && !m_file->Commit())
        Fail(m_file->ErrorString());
    return m_state;
}

void OutputFile::Fail(const QString &reason)
{
    m_context.Message(reason.isEmpty() ? u"could not write %1"_s.arg(m_path)
                                       : u"could not write %1: %2"_s.arg(m_path, LowerFirst(reason)));
    m_state = ExitCode::Failed;
}

ExitCode WriteOutput(const CliContext &context, const QString &file, QByteArrayView content, Existing existing)
{
    OutputFile output(context, file, existing);
    output.Write(content);
    return output.Commit();
}

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
