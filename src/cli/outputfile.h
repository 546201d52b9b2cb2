#pragma once

#include "exitcode.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

class CliContext;
class ReplacementFile;

// What a command does when its output file exists.
enum class Existing {
    Keep,
    Replace,
};

// Where a command's data goes, written in pieces as it is made: the standard
// output (no file, or "-"), or the named file. A pipe, FIFO or device at the
// name, or a link to one, is written in place. A regular file is written
// owner-only (it holds registration codes) and whole: the pieces go to a
// temporary file that Finish puts in its place, so a failed command leaves
// the old file as it was. A file name that is one of the database files or
// their backups is refused, so a slip of the hand cannot overwrite the data
// the command reads. An existing file, or a link to one, is replaced only
// when asked.
class OutputFile
{
public:
    OutputFile(const CliContext &context, const QString &file, Existing existing);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Success, or the refusal or failure, told to the user.
    ExitCode Open();
    void Write(QByteArrayView data);
    // Puts a regular file in place. Success, or the failure, told.
    ExitCode Finish();

    bool IsStandardOutput() const;
    qint64 Size() const { return m_size; }

private:
    // Tells the failure, with the system's reason when there is one.
    ExitCode Failed(const QString &reason);

    const CliContext &m_context;
    QString m_file;
    Existing m_existing;
    QFile m_stream;
    std::unique_ptr<ReplacementFile> m_replacement;
    bool m_failed = false;
    qint64 m_size = 0;
};

// The whole content at once.
ExitCode WriteOutput(const CliContext &context, const QString &file, const QByteArray &content, Existing existing);

// Whether the path names a database file or its backup in the data folder,
// also through a link or another spelling of the path.
bool IsDatabaseFile(const QString &dataFolder, const QString &path);
