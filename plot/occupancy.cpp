#include "plot/occupancy.h"

#include <algorithm>
#include <cmath>

namespace tarvel {

Occupancy::Occupancy(double width, double height, double cellPixels)
    : width_(width), height_(height), cell_(cellPixels),
      columns_(std::max(1, static_cast<int>(std::ceil(width / cellPixels)))),
      rows_(std::max(1, static_cast<int>(std::ceil(height / cellPixels)))),
      cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0)
{
}

Occupancy Occupancy::keepingNothing()
{
    Occupancy none(0, 0);
    none.cells_.clear();
    return none;
}

int Occupancy::column(double x) const
{
    return std::clamp(static_cast<int>(std::floor(x / cell_)), 0, columns_ - 1);
}

int Occupancy::row(double y) const
{
    return std::clamp(static_cast<int>(std::floor(y / cell_)), 0, rows_ - 1);
}

template <class Visit> void Occupancy::forEachCell(const DeviceRect& rect, Visit visit) const
{
    if (cells_.empty())
        return;  // keeping nothing
    if (!(rect.right >= 0 && rect.left <= width_ && rect.bottom >= 0 && rect.top <= height_))
        return;  // also NaN
    for (int r = row(rect.top); r <= row(rect.bottom); ++r)
        for (int c = column(rect.left); c <= column(rect.right); ++c)
            visit(static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(c));
}

void Occupancy::markRect(const DeviceRect& rect)
{
    forEachCell(rect, [&](std::size_t at) { cells_[at] = 1; });
}

void Occupancy::markPoint(double x, double y, double radius)
{
    markRect({x - radius, y - radius, x + radius, y + radius});
}

void Occupancy::markSegment(double x1, double y1, double x2, double y2)
{
    if (cells_.empty())
        return;  // keeping nothing: not even the clipping
    const auto clipped = clipSegment({x1, y1, x2, y2}, 0, 0, width_, height_);
    if (!clipped)
        return;
    const double length = std::hypot(clipped->x2 - clipped->x1, clipped->y2 - clipped->y1);
    const int steps = std::max(1, static_cast<int>(std::ceil(length / (cell_ / 2))));
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        markPoint(clipped->x1 + t * (clipped->x2 - clipped->x1),
                  clipped->y1 + t * (clipped->y2 - clipped->y1));
    }
}

int Occupancy::count(const DeviceRect& rect) const
{
    int occupied = 0;
    forEachCell(rect, [&](std::size_t at) { occupied += cells_[at]; });
    return occupied;
}

void markDrawing(Occupancy& occupancy, const Drawing& drawing, const Viewport& view)
{
    if (!view.valid())
        return;
    for (const DrawOp& op : drawing.ops()) {
        const double x1 = view.toDeviceX(op.x1);
        const double y1 = view.toDeviceY(op.y1);
        switch (op.kind) {
        case DrawOp::Kind::Line:
        case DrawOp::Kind::LineTo:
            occupancy.markSegment(x1, y1, view.toDeviceX(op.x2), view.toDeviceY(op.y2));
            break;
        case DrawOp::Kind::Point:
            occupancy.markPoint(x1, y1);
            break;
        case DrawOp::Kind::Circle:
            occupancy.markPoint(x1, y1, std::max(view.toDeviceLength(op.radius), 1.0));
            break;
        }
    }
}

DeviceRect cornerRect(Corner corner, double areaWidth, double areaHeight, double boxWidth,
                      double boxHeight, double inset)
{
    const bool right = corner == Corner::TopRight || corner == Corner::BottomRight;
    const bool top = corner == Corner::TopRight || corner == Corner::TopLeft;
    const double left = right ? areaWidth - inset - boxWidth : inset;
    const double upper = top ? inset : areaHeight - inset - boxHeight;
    return {left, upper, left + boxWidth, upper + boxHeight};
}

}  // namespace tarvel
