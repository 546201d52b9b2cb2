#include "splashwindow.h"

#include "platform/appinfo.h"
#include "programicons.h"
#include "shapewidget.h"
#include "views/twips.h"
#include "windowplacement.h"

#include <QApplication>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

constexpr QRect ClientTwips(0, 0, 5490, 3780);
constexpr QRect Image1Twips(450, 600, 1800, 1800);
constexpr QRect Image2Twips(2400, 900, 2700, 945);
constexpr QRect Label1Twips(2400, 1965, 2700, 330);

QLabel *MakePicture(QLatin1StringView name, const QRect &twips, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    PlaceInTwips(picture, twips);
    picture->setPixmap(ProgramIcons::Named(name).pixmap(picture->size()));
    picture->setAlignment(Qt::AlignCenter);
    return picture;
}

} // namespace

SplashWindow::SplashWindow(std::chrono::milliseconds wait, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(u"splash"_s);
    setWindowTitle(AppInfo::ApplicationTitle);
    setFixedSize(TwipsToPixels(ClientTwips.width(), this), TwipsToPixels(ClientTwips.height(), this));
    setAutoFillBackground(true);
    setPalette(QPalette(Qt::white));

    MakePicture(QLatin1StringView("splashproduct"), Image1Twips, this)->setObjectName(u"Image1"_s);
    MakePicture(QLatin1StringView("splashtitle"), Image2Twips, this)->setObjectName(u"Image2"_s);

    auto *label1 = new QLabel(this);
    label1->setObjectName(u"Label1"_s);
    PlaceInTwips(label1, Label1Twips);
    label1->setAlignment(Qt::AlignCenter);
    label1->setText(u"v%1.%2"_s.arg(AppInfo::VersionMajor).arg(AppInfo::VersionMinor));

    auto *shape1 = new ShapeWidget(this);
    shape1->setObjectName(u"Shape1"_s);
    PlaceInTwips(shape1, ClientTwips);

    WindowPlacement::CentreOnScreen(this);

    m_timer1.setObjectName(u"Timer1"_s);
    m_timer1.setTimerType(Qt::PreciseTimer);
    m_timer1.setSingleShot(true);
    m_timer1.start(wait);
}

void SplashWindow::WaitUntilDrawn()
{
    while (!m_drawn && m_timer1.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void SplashWindow::paintEvent(QPaintEvent *event)
{
    m_drawn = true;
    QWidget::paintEvent(event);
}

void SplashWindow::WaitForTimer()
{
    while (m_timer1.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
