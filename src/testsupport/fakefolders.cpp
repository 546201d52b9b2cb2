#include "testsupport/fakefolders.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

FakeFolders::FakeFolders() = default;

QString FakeFolders::DataFolder() const
{
    return m_root.filePath(u"data"_s);
}

QString FakeFolders::DesktopFolder() const
{
    const QString desktop = m_root.filePath(u"Desktop"_s);
    return QFileInfo(desktop).isDir() ? desktop : QString();
}

QString FakeFolders::HelpPagePath() const
{
    return m_root.filePath(u"program/help.html"_s);
}

QString FakeFolders::MakeDesktop()
{
    QDir(m_root.path()).mkdir(u"Desktop"_s);
    return DesktopFolder();
}
