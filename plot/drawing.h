// The picture area's content: a list of drawing operations in world
// coordinates, kept so the picture can be painted again at any size. The
// headless toolkit uses it as the picture box; the Qt picture widget keeps
// one and paints it on every paint event.
#pragma once

#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "ui/toolkit.h"

namespace tarvel {

// A point the picture can place: a NaN coordinate has no place, so such a
// point is neither drawn nor offered to the study aids.
inline bool drawable(double x, double y)
{
    return !std::isnan(x) && !std::isnan(y);
}

struct WorldRect {
    double left = 0;
    double top = 1;
    double right = 1;
    double bottom = 0;

    bool operator==(const WorldRect&) const = default;
};

struct DrawOp {
    enum class Kind { Line, LineTo, Point, Circle };
    Kind kind = Kind::Line;
    double x1 = 0;  // start of a line, the point, or the circle's centre
    double y1 = 0;
    double x2 = 0;  // end of a line
    double y2 = 0;
    double radius = 0;
    std::optional<ui::Colour> colour;  // none: the foreground colour
};

class Drawing : public ui::PictureBox {
public:
    Drawing();
    void setWorld(double x1, double y1, double x2, double y2) override;
    void clear() override;
    void line(double x1, double y1, double x2, double y2,
              std::optional<ui::Colour> colour) override;
    void lineTo(double x, double y, ui::Colour colour) override;
    void setPoint(double x, double y, std::optional<ui::Colour> colour) override;
    void circle(double x, double y, double radius, ui::Colour colour) override;
    void setStudy(ui::Study study) override;

    const std::vector<DrawOp>& ops() const { return ops_; }
    const WorldRect& world() const { return world_; }
    const ui::Study& study() const { return study_; }

    // Called after every change, so a widget can schedule a repaint.
    std::function<void()> onChanged;
    // Called when a command hands over a new study, before onChanged.
    std::function<void()> onStudyChanged;

private:
    void add(const DrawOp& op);

    std::vector<DrawOp> ops_;
    WorldRect world_;
    ui::Study study_;
    double currentX_ = 0;
    double currentY_ = 0;
};

struct Segment {
    double x1, y1, x2, y2;
};

// Maps world coordinates onto a device rectangle of width x height pixels.
// A world rectangle without extent, or with non-finite corners, maps
// nothing (valid() is false).
class Viewport {
public:
    Viewport(const WorldRect& world, double width, double height);
    bool valid() const { return valid_; }
    double toDeviceX(double x) const;
    double toDeviceY(double y) const;
    double toDeviceLength(double worldLengthX) const;
    // The part of a world segment that lies in the device rectangle widened
    // by margin pixels on every side, in device coordinates; nothing when
    // it misses it or is not finite. Ends far outside the world, whose
    // device coordinates would overflow, are cut at the world's edges first.
    std::optional<Segment> segmentOnDevice(const Segment& world, double margin) const;

private:
    WorldRect world_;
    double width_;
    double height_;
    // Coordinates are halved before subtracting when the world's extent is
    // too wide for a double (corners near the largest doubles).
    double factor_ = 1;
    bool valid_;
};

// The part of the segment inside the rectangle [left, right] x [top, bottom]
// (device coordinates, top < bottom); nothing when it misses it or is not
// finite. Keeps the painter away from huge coordinates.
std::optional<Segment> clipSegment(const Segment& segment, double left, double top, double right,
                                   double bottom);

}  // namespace tarvel
