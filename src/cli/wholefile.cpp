#include "wholefile.h"

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

} // namespace

std::optional<QByteArray> ReadWholeFile(const QString &path, MissingFile missing, QString &error, qint64 limit)
{
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
