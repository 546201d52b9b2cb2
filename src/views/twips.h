#pragma once

#include <QRect>
#include <QWidget>

// The windows are designed in twips, 1/1440 inch: 15 twips a pixel at 96 DPI.
inline int TwipsToPixels(int twips, const QWidget *widget)
{
    return qRound(twips * widget->logicalDpiX() / 1440.0);
}

inline int PixelsToTwips(int pixels, const QWidget *widget)
{
    return qRound(pixels * 1440.0 / widget->logicalDpiX());
}

// Places a widget at its designed rectangle, given in twips relative to its
// parent. Each of the four numbers is converted on its own, as the designed
// values are.
inline void PlaceInTwips(QWidget *widget, const QRect &twips)
{
    widget->setGeometry(TwipsToPixels(twips.x(), widget), TwipsToPixels(twips.y(), widget),
                        TwipsToPixels(twips.width(), widget), TwipsToPixels(twips.height(), widget));
}
