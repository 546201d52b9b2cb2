#include "wholefile.h"

#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

bool MayRead(const RegularFile &file, const QString &path, MissingFile missing, qint64 limit, QString &error)
{
    switch (file.State()) {
    case RegularFile::Status::Missing:
        if (missing == MissingFile::IsEmpty)
            return true;
        error = u"%1 does not exist"_s.arg(path);
        return false;
    case RegularFile::Status::Unreadable:
        error = u"cannot read %1: it is not a regular file, or you may not read it"_s.arg(path);
        return false;
    case RegularFile::Status::Open:
        break;
    }
    if (file.Size() > limit) {
        error = u"%1 is larger than the %2 MiB korvane-cli reads of such a file"_s.arg(path).arg(limit >> 20);
        return false;
    }
    return true;
}

// A pipe has no size to check first: reading stops one byte past the limit.
std::optional<QByteArray> ReadStandardInput(QString &error, qint64 limit)
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        error = u"cannot read the standard input"_s;
        return std::nullopt;
    }
    // A pipe gives what its writer has written so far: read until its end.
    QByteArray content;
    while (content.size() <= limit) {
        const QByteArray part = input.read(limit + 1 - content.size());
        if (part.isEmpty())
            break;
        content += part;
    }
    if (input.error() != QFileDevice::NoError) {
        error = u"cannot read the standard input: "_s + input.errorString();
        return std::nullopt;
    }
    if (content.size() > limit) {
        error = u"the standard input holds more than the %1 MiB korvane-cli reads of such a file"_s.arg(limit >> 20);
        return std::nullopt;
    }
    return content;
}

} // namespace

std::optional<QByteArray> ReadWholeFile(const QString &path, MissingFile missing, QString &error, qint64 limit)
{
    if (path == StandardStream)
        return ReadStandardInput(error, limit);
    const RegularFile file(path);
    if (!MayRead(file, path, missing, limit, error))
        return std::nullopt;
    if (!file.IsOpen())
        return QByteArray();
    std::optional<QByteArray> content = file.ReadUpTo(limit);
    if (!content)
        error = u"cannot read %1"_s.arg(path);
    return content;
}
