#pragma once

#include "exitcode.h"

#include <QByteArrayView>
#include <QString>

#include <memory>

class CliContext;
class QFile;
class ReplacementFile;

// Whether an existing regular file at the output's name may be replaced.
enum class Existing {
    Keep,
    Replace,
};

// Where a command's data goes, in as many pieces as it likes: the standard
// output (no file, or "-"), or, when a file is named, that file, owner-only
// (it holds registration codes) and replaced only at Commit, so an output
// that fails half-way, or is never committed, leaves the old file as it was
// and no temporary file behind. A pipe, FIFO or device at the name, or a link
// to one, is written in place. A file name that is one of the database files
// or their backups is refused, so a slip of the hand cannot overwrite the
// data the command reads. An existing file, or a link to one, is replaced
// only when asked. Every refusal and failure is told to the user once.
class OutputFile
{
public:
    OutputFile(const CliContext &context, const QString &file, Existing existing);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Success while data may be written; else why not.
    ExitCode State() const { return m_state; }
    // False when this or an earlier write failed.
    bool Write(QByteArrayView data);
    // Puts a file in place; the output's final state.
    ExitCode Commit();

private:
    void Fail(const QString &reason);

    const CliContext &m_context;
    QString m_path;
    std::unique_ptr<QFile> m_stream;
    std::unique_ptr<ReplacementFile> m_file;
    ExitCode m_state = ExitCode::Success;
};

// The whole content at once, as OutputFile writes it.
ExitCode WriteOutput(const CliContext &context, const QString &file, QByteArrayView content, Existing existing);

// Whether the path names a database file or its backup in the data folder,
// also through a link or another spelling of the path.
bool IsDatabaseFile(const QString &dataFolder, const QString &path);
