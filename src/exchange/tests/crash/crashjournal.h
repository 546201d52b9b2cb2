#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What the crash driver tells the test about its operations, one line each,
// written before an operation starts and after it is done:
//
//   B <operation> <file>:<old digest>:<new digest> ...
//   D
//
// A file that does not exist has the digest "-". A kill can cut off only the
// last line, which then counts as not written.
namespace CrashJournal {

struct FileChange
{
    QString file;
    QByteArray before;
    QByteArray after;
};

struct Operation
{
    QByteArray name;
    QList<FileChange> changes;
    bool done = false;
};

// The file's content, none when it does not exist.
std::optional<QByteArray> ReadFile(const QString &path);
QByteArray Digest(const std::optional<QByteArray> &content);
QByteArray BeginLine(const Operation &operation);
QList<Operation> Parse(const QByteArray &journal);

} // namespace CrashJournal
