#pragma once

#include <QWidget>

// The window is designed in twips, 1/1440 inch: 15 twips a pixel at 96 DPI.
inline int TwipsToPixels(int twips, const QWidget *widget)
{
    return qRound(twips * widget->logicalDpiX() / 1440.0);
}

inline int PixelsToTwips(int pixels, const QWidget *widget)
{
    return qRound(pixels * 1440.0 / widget->logicalDpiX());
}
