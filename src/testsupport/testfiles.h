#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <filesystem>

// Plain file access for setting up and checking the files of a test.
namespace TestFiles {

inline bool Write(const QString &path, QByteArrayView content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content.data(), content.size()) == content.size();
}

inline QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Readable and writable by the owner, nobody else.
inline bool IsOwnerOnly(const QString &path)
{
    using std::filesystem::perms;
    return std::filesystem::status(QFile::encodeName(path).toStdString()).permissions()
           == (perms::owner_read | perms::owner_write);
}

// Bytes that no text conversion or line-end handling would leave alone.
inline QByteArray AllByteValues()
{
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes += char(value);
    return bytes + "\r\n\n\r";
}

} // namespace TestFiles
