#include "standardfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString StandardFolders::DataFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

QString StandardFolders::DesktopFolder() const
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QFileInfo(desktop).isDir() ? desktop : QString();
}

QString StandardFolders::HelpPagePath() const
{
    // Beside the executable in a build tree; under share/ once installed.
    const QDir programFolder(QCoreApplication::applicationDirPath());
    QString besideProgram = programFolder.filePath(u"help.html"_s);
    if (QFileInfo::exists(besideProgram))
        return besideProgram;
    return QDir::cleanPath(programFolder.filePath(u"../share/korvane/help.html"_s));
}
