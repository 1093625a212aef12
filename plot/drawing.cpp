#include "plot/drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tarvel {

// Room for the largest picture of a command (axes, curve, 1001 given points
// joined by lines, 1001 interpolated points) from the start; clear() keeps
// it, so a command never grows the list while drawing.
Drawing::Drawing()
{
    ops_.reserve(4096);
}

void Drawing::setWorld(double x1, double y1, double x2, double y2)
{
    world_ = {x1, y1, x2, y2};
    if (onChanged)
        onChanged();
}

void Drawing::clear()
{
    ops_.clear();
    if (onChanged)
        onChanged();
}

void Drawing::line(double x1, double y1, double x2, double y2,
                   std::optional<ui::Colour> colour)
{
    add({DrawOp::Kind::Line, x1, y1, x2, y2, 0, colour});
    currentX_ = x2;
    currentY_ = y2;
}

void Drawing::lineTo(double x, double y, ui::Colour colour)
{
    add({DrawOp::Kind::LineTo, currentX_, currentY_, x, y, 0, colour});
    currentX_ = x;
    currentY_ = y;
}

void Drawing::setPoint(double x, double y, std::optional<ui::Colour> colour)
{
    add({DrawOp::Kind::Point, x, y, x, y, 0, colour});
    currentX_ = x;
    currentY_ = y;
}

void Drawing::circle(double x, double y, double radius, ui::Colour colour)
{
    add({DrawOp::Kind::Circle, x, y, x, y, radius, colour});
}

void Drawing::setStudy(ui::Study study)
{
    study_ = std::move(study);
    if (onStudyChanged)
        onStudyChanged();
    if (onChanged)
        onChanged();
}

void Drawing::add(const DrawOp& op)
{
    ops_.push_back(op);
    if (onChanged)
        onChanged();
}

Viewport::Viewport(const WorldRect& world, double width, double height)
    : world_(world), width_(width), height_(height)
{
    const bool finite = std::isfinite(world.left) && std::isfinite(world.top) &&
                        std::isfinite(world.right) && std::isfinite(world.bottom);
    if (finite &&
        (!std::isfinite(world.right - world.left) || !std::isfinite(world.bottom - world.top)))
        factor_ = 0.5;
    const double spanX = world.right * factor_ - world.left * factor_;
    const double spanY = world.bottom * factor_ - world.top * factor_;
    valid_ = finite && spanX != 0 && spanY != 0 && width > 0 && height > 0;
}

double Viewport::toDeviceX(double x) const
{
    return (x * factor_ - world_.left * factor_) /
           (world_.right * factor_ - world_.left * factor_) * width_;
}

double Viewport::toDeviceY(double y) const
{
    return (y * factor_ - world_.top * factor_) / (world_.bottom * factor_ - world_.top * factor_) *
           height_;
}

double Viewport::toDeviceLength(double worldLengthX) const
{
    return std::abs(worldLengthX * factor_ / (world_.right * factor_ - world_.left * factor_) *
                    width_);
}

namespace {

bool finite(const Segment& s)
{
    return std::isfinite(s.x1) && std::isfinite(s.y1) && std::isfinite(s.x2) && std::isfinite(s.y2);
}

// The part of a world segment inside the world rectangle. Differences of
// coordinates near the largest doubles overflow; the clip is then made on
// halved coordinates, which halving leaves exact at that size.
std::optional<Segment> clipToWorld(const Segment& s, const WorldRect& world)
{
    const double left = std::min(world.left, world.right);
    const double right = std::max(world.left, world.right);
    const double low = std::min(world.top, world.bottom);
    const double high = std::max(world.top, world.bottom);
    constexpr double safe = std::numeric_limits<double>::max() / 4;
    const bool huge =
        std::max({std::abs(s.x1), std::abs(s.y1), std::abs(s.x2), std::abs(s.y2), std::abs(left),
                  std::abs(right), std::abs(low), std::abs(high)}) > safe;
    const double f = huge ? 0.5 : 1;
    const auto clipped = clipSegment({s.x1 * f, s.y1 * f, s.x2 * f, s.y2 * f}, left * f, low * f,
                                     right * f, high * f);
    if (!clipped)
        return std::nullopt;
    return Segment{clipped->x1 / f, clipped->y1 / f, clipped->x2 / f, clipped->y2 / f};
}

}  // namespace

std::optional<Segment> Viewport::segmentOnDevice(const Segment& world, double margin) const
{
    if (!valid_ || !finite(world))
        return std::nullopt;
    const auto toDevice = [this](const Segment& s) {
        return Segment{toDeviceX(s.x1), toDeviceY(s.y1), toDeviceX(s.x2), toDeviceY(s.y2)};
    };
    Segment device = toDevice(world);
    if (!finite(device)) {
        // Inside the world every point has a finite device coordinate.
        const auto inside = clipToWorld(world, world_);
        if (!inside)
            return std::nullopt;
        device = toDevice(*inside);
    }
    return clipSegment(device, -margin, -margin, width_ + margin, height_ + margin);
}

std::optional<Segment> clipSegment(const Segment& s, double left, double top, double right,
                                   double bottom)
{
    if (!std::isfinite(s.x1) || !std::isfinite(s.y1) || !std::isfinite(s.x2) ||
        !std::isfinite(s.y2))
        return std::nullopt;
    // Liang-Barsky: shrink the parameter range [t0, t1] edge by edge. The
    // coordinate on the edge that cut an end is set to the edge itself, so a
    // huge axis-parallel line keeps its visible length exactly.
    const double dx = s.x2 - s.x1;
    const double dy = s.y2 - s.y1;
    double t0 = 0;
    double t1 = 1;
    int edge0 = -1;
    int edge1 = -1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {s.x1 - left, right - s.x1, s.y1 - top, bottom - s.y1};
    const double edgeValue[4] = {left, right, top, bottom};
    for (int edge = 0; edge < 4; ++edge) {
        if (p[edge] == 0) {
            if (q[edge] < 0)
                return std::nullopt;
            continue;
        }
        const double t = q[edge] / p[edge];
        if (p[edge] < 0 && t > t0) {
            t0 = t;
            edge0 = edge;
        } else if (p[edge] > 0 && t < t1) {
            t1 = t;
            edge1 = edge;
        }
        if (t0 > t1)
            return std::nullopt;
    }
    Segment clipped{s.x1 + t0 * dx, s.y1 + t0 * dy, s.x1 + t1 * dx, s.y1 + t1 * dy};
    if (edge0 >= 0)
        (edge0 < 2 ? clipped.x1 : clipped.y1) = edgeValue[edge0];
    if (edge1 >= 0)
        (edge1 < 2 ? clipped.x2 : clipped.y2) = edgeValue[edge1];
    if (!std::isfinite(clipped.x1) || !std::isfinite(clipped.y1) || !std::isfinite(clipped.x2) ||
        !std::isfinite(clipped.y2))
        return std::nullopt;  // the segment's extent overflowed
    return clipped;
}

}  // namespace tarvel
