#pragma once

#include "editing/view/twips.h"

#include <QRect>
#include <QWidget>

// Places a widget at its designed rectangle, given in twips relative to its
// parent. Each of the four numbers is converted on its own, as the designed
// values are.
inline void PlaceInTwips(QWidget *widget, const QRect &twips)
{
    widget->setGeometry(TwipsToPixels(twips.x(), widget), TwipsToPixels(twips.y(), widget),
                        TwipsToPixels(twips.width(), widget), TwipsToPixels(twips.height(), widget));
}
