#include "windowstart.h"

#include "app/mainwindow/frmscrn.h"
#include "app/startup.h"
#include "views/recordlistview.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <chrono>

using namespace std::chrono_literals;

namespace {

// Notes that a widget has been painted.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(bool &painted)
        : m_painted(painted)
    {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        m_painted = m_painted || event->type() == QEvent::Paint;
        return false;
    }

private:
    bool &m_painted;
};

} // namespace

frmScrn *StartAndPaint(const PlatformServices &services)
{
    frmScrn *window = Main(services, 0ms);
    bool painted = false;
    QWidget *rows = window->Design().ListView1->viewport();
    PaintWatch watch(painted);
    rows->installEventFilter(&watch);
    const QDeadlineTimer patience(10s);
    while (!painted && !patience.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    rows->removeEventFilter(&watch);
    return window;
}

void Close(frmScrn *window)
{
    window->QuitProgram();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
