#include "wholefile.h"

using namespace Qt::StringLiterals;

bool MayRead(const RegularFile &file, const QString &path, MissingFile missing, QString &error)
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
    if (file.Size() > MaxFileBytes) {
        error = u"%1 is larger than any file korvane-cli reads (%2 MiB)"_s.arg(path).arg(MaxFileBytes >> 20);
        return false;
    }
    return true;
}

std::optional<QByteArray> ReadWholeFile(const QString &path, MissingFile missing, QString &error)
{
    const RegularFile file(path);
    if (!MayRead(file, path, missing, error))
        return std::nullopt;
    if (!file.IsOpen())
        return QByteArray();
    std::optional<QByteArray> content = file.ReadUpTo(MaxFileBytes);
    if (!content)
        error = u"cannot read %1"_s.arg(path);
    return content;
}
