#include "desktopshell.h"

#include "logcategories.h"

#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString DesktopShell::OpenerArgument(const QString &target)
{
    return target.startsWith(u'-') ? u"./"_s + target : target;
}

void DesktopShell::ShellOpen(const QString &target)
{
    // One argument and no shell in between, so nothing in the text is
    // interpreted.
    if (!QProcess::startDetached(u"xdg-open"_s, {OpenerArgument(target)}))
        qCDebug(lcPlatform) << "xdg-open could not be started for" << target;
}

bool DesktopShell::StartSystemInformation()
{
    static const QStringList candidates = {
        u"kinfocenter"_s, u"hardinfo2"_s, u"hardinfo"_s, u"gnome-system-monitor"_s, u"lshw-gtk"_s,
    };
    for (const QString &candidate : candidates) {
        const QString program = QStandardPaths::findExecutable(candidate);
        if (!program.isEmpty())
            return QProcess::startDetached(program, {});
    }
    return false;
}
