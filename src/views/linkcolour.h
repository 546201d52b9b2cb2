#pragma once

#include <QColor>

#include <algorithm>
#include <cmath>

// The colour of a lit link: the design's pure blue wherever it is legible,
// as on every light colour scheme. On a dark background that blue all but
// disappears, so there a light blue of the same hue stands in.
namespace LinkColour {

inline constexpr QColor DesignBlue(0, 0, 255);
inline constexpr QColor BlueOnDark(128, 179, 255);
// Text contrast that reads comfortably (WCAG level AA).
inline constexpr double LegibleContrast = 4.5;

// WCAG relative luminance of a colour on an sRGB screen.
inline double Luminance(const QColor &colour)
{
    const auto linear = [](float component) {
        return component <= 0.04045f ? component / 12.92 : std::pow((component + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

inline double Contrast(const QColor &one, const QColor &other)
{
    const double first = Luminance(one);
    const double second = Luminance(other);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

inline QColor On(const QColor &background)
{
    return Contrast(DesignBlue, background) >= LegibleContrast ? DesignBlue : BlueOnDark;
}

} // namespace LinkColour
