#include "linewidget.h"

#include "views/twips.h"

#include <QPainter>

LineWidget::LineWidget(const QLine &twips, QWidget *parent)
    : QWidget(parent)
    , m_twips(twips)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    PlaceOverLine();
}

void LineWidget::SetEnds(const QLine &twips)
{
    m_twips = twips;
    PlaceOverLine();
}

void LineWidget::PlaceOverLine()
{
    const QPoint from(TwipsToPixels(m_twips.x1(), this), TwipsToPixels(m_twips.y1(), this));
    const QPoint to(TwipsToPixels(m_twips.x2(), this), TwipsToPixels(m_twips.y2(), this));
    setGeometry(QRect(from, to).normalized());
    update();
}

void LineWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    const QRect area = rect();
    const bool fallsToTheRight = (m_twips.x1() <= m_twips.x2()) == (m_twips.y1() <= m_twips.y2());
    if (fallsToTheRight)
        painter.drawLine(area.topLeft(), area.bottomRight());
    else
        painter.drawLine(area.bottomLeft(), area.topRight());
}
