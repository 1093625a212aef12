// Which parts of the plot area carry data, on a grid of device cells, so
// that the legend goes inside only where it covers nothing.
#pragma once

#include <vector>

#include "plot/drawing.h"

namespace tarvel {

struct DeviceRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

class Occupancy {
public:
    Occupancy(double width, double height, double cellPixels = 3);
    // An occupancy that keeps no mark and counts nothing, for painting whose
    // legend is already placed: marking costs as much as the painting.
    static Occupancy keepingNothing();
    void markPoint(double x, double y, double radius = 0);
    void markSegment(double x1, double y1, double x2, double y2);
    void markRect(const DeviceRect& rect);
    // The occupied cells that the rectangle touches; the
    // part outside the area counts nothing.
    int count(const DeviceRect& rect) const;
    double width() const { return width_; }
    double height() const { return height_; }

private:
    int column(double x) const;
    int row(double y) const;
    // Calls visit with the index in cells_ of each cell that rect touches;
    // none when rect lies wholly outside or holds NaN.
    template <class Visit> void forEachCell(const DeviceRect& rect, Visit visit) const;
    double width_;
    double height_;
    double cell_;
    int columns_;
    int rows_;
    std::vector<unsigned char> cells_;
};

// Marks every operation of the drawing: the axes, the test function, the
// given points, the lines of a data set and the interpolated points;
// nothing may cover any of them.
void markDrawing(Occupancy& occupancy, const Drawing& drawing, const Viewport& view);

enum class Corner { TopRight, TopLeft, BottomRight, BottomLeft };

// The rectangle of a box of the given size in a corner, inset from the edges.
DeviceRect cornerRect(Corner corner, double areaWidth, double areaHeight, double boxWidth,
                      double boxHeight, double inset);

}  // namespace tarvel
