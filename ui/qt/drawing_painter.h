// Paints a drawing list onto any paint device, so the picture widget and a
// test painting into a QImage share one renderer.
#pragma once

#include <QColor>
#include <QSizeF>

#include "plot/drawing.h"

class QPainter;

namespace tarvel::ui {

inline const QColor kForeground = Qt::black;

// The program's 24-bit colour (red in the lowest byte) as Qt's.
inline QColor qColour(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

inline const QColor kBackground = Qt::white;

// Coordinates far outside the area, in pixels, are clipped away before they
// reach the painter, which is slow or wrong with huge values.
inline constexpr double kClipMargin = 64;

// Paints every operation of drawing, in order, scaled so that its world
// rectangle fills a device area of the given size at the painter's origin.
void paintDrawing(const Drawing& drawing, QPainter& painter, const QSizeF& size);
// The same with the world mapped by `view` (a zoomed part of the drawing's
// world) onto an area of `size`.
void paintDrawing(const Drawing& drawing, const Viewport& view, QPainter& painter,
                  const QSizeF& size);

}  // namespace tarvel::ui
