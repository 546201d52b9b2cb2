#include "screenlayout.h"

#include "app/shapewidget.h"
#include "linewidget.h"
#include "screendesign.h"
#include "views/recordlistview.h"
#include "views/twips.h"

#include <QEvent>
#include <QFrame>

namespace {

// A negative size is refused, as the platform refuses it.
bool SetHeight(QWidget *widget, int twips)
{
    if (twips < 0)
        return false;
    widget->resize(widget->width(), TwipsToPixels(twips, widget));
    return true;
}

bool SetWidth(QWidget *widget, int twips)
{
    if (twips < 0)
        return false;
    widget->resize(TwipsToPixels(twips, widget), widget->height());
    return true;
}

void SetTop(QWidget *widget, int twips)
{
    widget->move(widget->x(), TwipsToPixels(twips, widget));
}

} // namespace

ScreenLayout::ScreenLayout(QWidget *client, ScreenDesign &design)
    : QObject(client)
    , m_client(client)
    , m_design(design)
{
    client->installEventFilter(this);
}

bool ScreenLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        Apply(PixelsToTwips(m_client->width(), m_client), PixelsToTwips(m_client->height(), m_client));
    return false;
}

void ScreenLayout::Apply(int widthTwips, int heightTwips)
{
    const int W = widthTwips;
    const int H = heightTwips;
    ScreenDesign &d = m_design;
    const int frame1Height = PixelsToTwips(d.Frame1->height(), d.Frame1);

    if (!SetHeight(d.ListView1, H - frame1Height - 400))
        return;
    if (!SetHeight(d.Shape1[7], H - frame1Height - 600))
        return;
    SetTop(d.Shape1[6], H - 400);
    QLine line1 = d.Line1->Ends();
    line1.setP2({line1.x2(), H - 380});
    d.Line1->SetEnds(line1);
    QLine line2 = d.Line2->Ends();
    line2.setP2({line2.x2(), H - 150});
    d.Line2->SetEnds(line2);
    if (!SetWidth(d.Frame1, W - 100) || !SetWidth(d.Frame2, W - 100) || !SetWidth(d.ListView1, W - 250)
        || !SetWidth(d.Shape1[5], W - 80) || !SetWidth(d.Shape1[6], W - 80) || !SetWidth(d.Shape1[7], W - 80))
        return;
    line1 = d.Line1->Ends();
    line1.setP1({W - 55, line1.y1()});
    line1.setP2({line1.x1(), line1.y2()});
    d.Line1->SetEnds(line1);
}
