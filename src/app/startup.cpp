#include "startup.h"

#include "app/mainwindow/frmscrn.h"
#include "programicons.h"
#include "splashwindow.h"

#include <QApplication>

frmScrn *Main(const PlatformServices &services, std::chrono::milliseconds splashWait)
{
    frmScrn *window = nullptr;
    {
        SplashWindow splash(splashWait);
        splash.show();
        splash.WaitUntilDrawn();
        // Every window of the program, the About window's picture included,
        // shows the program's own icon. The splash takes it once it stands:
        // drawing the icon at the sizes the window system keeps costs the
        // splash's appearance time and shows nowhere on it.
        QApplication::setWindowIcon(ProgramIcons::Program());
        // The main window is built, hidden, while the splash stands idle on
        // screen, so that it shows the moment the splash goes. Nothing of it
        // is on screen or takes input before then.
        window = new frmScrn(services);
        // Drawn once off screen meanwhile, so that its icons, the glyphs of
        // its texts and the style's pieces are ready for its first paint.
        window->grab();
        splash.WaitForTimer();
        splash.close();
    }
    window->show();
    window->Database().LoadDatabase();
    return window;
}
