#include "startup.h"

#include "app/mainwindow/frmscrn.h"
#include "programicons.h"
#include "splashwindow.h"

#include <QApplication>

frmScrn *Main(const PlatformServices &services, std::chrono::milliseconds splashWait)
{
    // Every window of the program, the About window's picture included,
    // shows the program's own icon.
    QApplication::setWindowIcon(ProgramIcons::Program());
    {
        SplashWindow splash(splashWait);
        splash.show();
        splash.WaitForTimer();
        splash.close();
    }
    auto *window = new frmScrn(services);
    window->show();
    window->Database().LoadDatabase();
    return window;
}
