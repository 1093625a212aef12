#include "ui/qt/drawing_painter.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace tarvel::ui {
namespace {

// A circle no smaller than a ring of three pixels, so that the interpolated
// points stand out from the curve under them.
constexpr double kMinCirclePixels = 1.5;

QColor colourOf(const std::optional<Colour>& colour)
{
    if (!colour)
        return kForeground;
    return qColour(*colour);
}

struct Area {
    double left, top, right, bottom;
    bool contains(double x, double y) const
    {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
};

void paintOp(const DrawOp& op, const Viewport& view, const Area& area, QPainter& painter)
{
    QPen pen(colourOf(op.colour));
    pen.setWidthF(1.0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double x1 = view.toDeviceX(op.x1);
    const double y1 = view.toDeviceY(op.y1);
    switch (op.kind) {
    case DrawOp::Kind::Line:
    case DrawOp::Kind::LineTo: {
        const auto clipped = view.segmentOnDevice({op.x1, op.y1, op.x2, op.y2}, kClipMargin);
        if (clipped)
            painter.drawLine(QPointF(clipped->x1, clipped->y1), QPointF(clipped->x2, clipped->y2));
        break;
    }
    case DrawOp::Kind::Point:
        if (area.contains(x1, y1))
            painter.drawPoint(QPointF(x1, y1));
        break;
    case DrawOp::Kind::Circle: {
        const double radius = std::max(view.toDeviceLength(op.radius), kMinCirclePixels);
        if (std::isfinite(radius) && area.contains(x1, y1))
            painter.drawEllipse(QPointF(x1, y1), radius, radius);
        break;
    }
    }
}

}  // namespace

void paintDrawing(const Drawing& drawing, QPainter& painter, const QSizeF& size)
{
    paintDrawing(drawing, Viewport(drawing.world(), size.width(), size.height()), painter, size);
}

void paintDrawing(const Drawing& drawing, const Viewport& view, QPainter& painter,
                  const QSizeF& size)
{
    if (!view.valid())
        return;
    const Area area{-kClipMargin, -kClipMargin, size.width() + kClipMargin,
                    size.height() + kClipMargin};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const DrawOp& op : drawing.ops())
        paintOp(op, view, area, painter);
    painter.restore();
}

}  // namespace tarvel::ui
