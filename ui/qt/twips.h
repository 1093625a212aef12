// Placing controls given in twips on screen pixels by one scale factor.
#pragma once

#include <QRect>

#include <algorithm>
#include <cmath>

namespace tarvel::ui {

// 15 twips a pixel suits a small 8-point font; larger fonts need more.
inline constexpr double kMinPixelsPerTwip = 1.0 / 15.0;

inline int toPixels(int twips, double pixelsPerTwip)
{
    return static_cast<int>(std::lround(twips * pixelsPerTwip));
}

inline QRect toPixels(const QRect& twips, double pixelsPerTwip)
{
    return {toPixels(twips.left(), pixelsPerTwip), toPixels(twips.top(), pixelsPerTwip),
            toPixels(twips.width(), pixelsPerTwip), toPixels(twips.height(), pixelsPerTwip)};
}

// The scale at which a text of neededPixels fits a box of boxTwips.
inline double pixelsPerTwipFor(int neededPixels, int boxTwips)
{
    return boxTwips > 0 ? static_cast<double>(neededPixels) / boxTwips : 0.0;
}

}  // namespace tarvel::ui
