#include "crashjournal.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

std::optional<QByteArray> CrashJournal::ReadFile(const QString &path)
{
    QFile file(path);
    if (!QFileInfo::exists(path) || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QByteArray CrashJournal::Digest(const std::optional<QByteArray> &content)
{
    return content ? QCryptographicHash::hash(*content, QCryptographicHash::Sha1).toHex().left(16) : "-";
}

QByteArray CrashJournal::BeginLine(const Operation &operation)
{
    QByteArray line = "B " + operation.name;
    for (const FileChange &change : operation.changes)
        line += ' ' + change.file.toUtf8() + ':' + change.before + ':' + change.after;
    return line + '\n';
}

QList<CrashJournal::Operation> CrashJournal::Parse(const QByteArray &journal)
{
    QList<Operation> operations;
    // Only whole lines count: a kill may have cut the last one off.
    for (const QByteArray &line : journal.first(journal.lastIndexOf('\n') + 1).split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.first() == "D" && !operations.isEmpty()) {
            operations.last().done = true;
        } else if (words.first() == "B" && words.size() >= 2) {
            Operation operation{words.at(1), {}, false};
            for (const QByteArray &word : words.sliced(2)) {
                const QList<QByteArray> parts = word.split(':');
                if (parts.size() == 3)
                    operation.changes.append({QString::fromUtf8(parts[0]), parts[1], parts[2]});
            }
            operations.append(operation);
        }
    }
    return operations;
}
