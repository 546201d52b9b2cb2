#include "app/mainwindow/frmscrn.h"
#include "platform/appinfo.h"
#include "platform/desktopshell.h"
#include "platform/qsettingsstore.h"
#include "platform/standardfolders.h"
#include "platform/systemclock.h"
#include "singleinstance.h"
#include "startup.h"

#include <QApplication>

using namespace std::chrono_literals;

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(AppInfo::OrganizationName);
    QApplication::setApplicationName(AppInfo::ApplicationTitle);
    QApplication::setDesktopFileName(AppInfo::DesktopFileName);

    SingleInstance instance;
    if (!instance.Claim()) {
        instance.HandOver();
        return 0;
    }

    QSettingsStore settings;
    StandardFolders folders;
    DesktopShell shell;
    SystemClock clock;
    instance.ShowOnRequest(Main({settings, folders, shell, clock}, 3000ms));
    return application.exec();
}
