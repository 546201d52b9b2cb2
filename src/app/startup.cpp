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
    frmScrn *window = nullptr;
    {
        SplashWindow splash(splashWait);
        splash.show();
        // The main window is built, hidden, while the splash stands idle on
        // screen, so that it shows the moment the splash goes. Nothing of it
        // is on screen or takes input before then.
        splash.WaitUntilDrawn();
        window = new frmScrn(services);
        splash.WaitForTimer();
        splash.close();
    }
    window->show();
    window->Database().LoadDatabase();
    return window;
}
