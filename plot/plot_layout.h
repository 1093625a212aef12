// The geometry of a plot without any toolkit: the plot area inset from the
// picture's edges, the ticks of each axis with the labels that fit beside
// them, and where a legend may go without covering data. A widget measures
// its texts and hands the widths over; everything else is decided here.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plot/drawing.h"
#include "plot/occupancy.h"

namespace tarvel {

// How an axis reads its world coordinate: as the value itself, or as the
// power of ten of the value (world 2 stands for 100).
enum class AxisScale { Linear, Log10 };

struct AxisTick {
    double value = 0;   // world coordinate of the tick
    double pixel = 0;   // its position along the axis, in device pixels
    std::string label;  // empty: a tick without a label (thinned out)
};

// Measures a label along the axis, in pixels (its width on the x axis, its
// height on the y axis).
using LabelExtent = std::function<double(std::string_view)>;

// The ticks of one axis from world lo to hi, shown from device pixel
// `from` (at lo) to `to` (at hi; may be smaller than from). Labels never
// overlap: at least `gap` pixels lie between two labels, and labels are
// thinned (every second, every fifth, ...) rather than moved. The first and
// the last tick always carry their label when there is room for both.
// A Log10 axis ticks the whole powers of ten ("1e-3", "0.01", "1", "100");
// within fewer than two of them, 2, 3, … 9 times them ("0.002", "3e-7") or,
// closer still, evenly stepped numbers.
std::vector<AxisTick> axisTicks(double lo, double hi, double from, double to, AxisScale scale,
                                const LabelExtent& extent, double gap,
                                std::string_view decimalSeparator);

// The minor ticks of a Log10 axis, unlabelled: 2, 3, ... 9 times each power
// of ten between lo and hi, where a decade takes at least
// kMinorDecadePixels; none otherwise.
inline constexpr double kMinorDecadePixels = 40;
std::vector<AxisTick> minorDecadeTicks(double lo, double hi, double from, double to);

// A tick's label on a Log10 axis: the power of ten that world value
// `exponent` stands for, as "0.001", "1", "1000" near 1 and "1e-5", "1e6"
// beyond.
std::string decadeLabel(double exponent, std::string_view decimalSeparator);
// The labels of one axis's decades in one form: all as "0.001" … "1000"
// when each of them is, else all as "1e-3", "1e-4".
std::vector<std::string> decadeLabels(std::span<const double> exponents,
                                      std::string_view decimalSeparator);

// The frame's spacing: a tick's length, the gap between a label and its tick
// (or a caption and the labels), and the room kept along the picture's edge.
inline constexpr double kTickPixels = 4;
inline constexpr double kLabelGap = 3;
inline constexpr double kEdge = 2;

struct Insets {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// The plot area of a picture of width x height with the given margins; an
// area with no extent when the margins leave none.
DeviceRect plotAreaWithin(double width, double height, const Insets& margins);

// What a plot's frame has to make room for, measured by the caller in
// pixels. A height of 0 (or an empty title) leaves that text out.
struct FrameMeasures {
    double labelHeight = 0;    // a tick label's line
    double yLabelsWidth = 0;   // the widest y label
    double rightOverhang = 0;  // how far the last x label reaches past the plot area
    double titleHeight = 0;    // one line of the title
    double captionHeight = 0;  // both captions; the y caption stands upright
    bool withScale = true;     // off: no ticks, labels or captions, edge to edge
    std::string title;         // UTF-8
    LabelExtent titleWidth;    // a line of the title across
};

// A title broken at its spaces into lines no wider than `width`, at most
// `maxLines` of them: where a word would reach past the width, the line
// ends after its last comma, else before that word. The last line takes
// whatever is left, so it (or a single word longer than the width) may
// still be too wide for the caller to show whole.
std::vector<std::string> titleLines(std::string_view title, double width,
                                    const LabelExtent& extent, std::size_t maxLines);
inline constexpr std::size_t kTitleLines = 3;

// Where a plot's parts go. Title, captions, the strips of the tick labels
// and the plot area never overlap: the title sits above everything, the x
// caption under the x labels, the y caption left of the y labels, each
// spanning the plot area's side. A title wider than the plot area wraps
// onto further lines, kTitleLines at most. A text that would squeeze the
// plot area below kMinPlotExtent is left out (its rectangle empty), the
// title's last line first, then its others, then the captions.
struct PlotFrame {
    DeviceRect plotArea;
    DeviceRect xLabels;  // ticks and labels under the plot area
    DeviceRect yLabels;  // left of it
    DeviceRect title;    // its lines one under the other
    std::vector<std::string> titleLines;  // none when the title is left out
    DeviceRect xCaption;
    DeviceRect yCaption;
    double stripTop = 0;  // where a legend strip above the plot area starts
};
inline constexpr double kMinPlotExtent = 60;

// The frame of a picture of width x height; `legend` is taken from the
// edges (between the title and the plot area at the top) for a legend strip.
PlotFrame plotFrame(double width, double height, const Insets& legend,
                    const FrameMeasures& measures);

// Whether two rectangles share any area; an empty one shares none.
bool overlapping(const DeviceRect& a, const DeviceRect& b);
bool emptyRect(const DeviceRect& rect);

// Where a legend of boxWidth x boxHeight goes inside the plot area: a
// corner (top right, top left, bottom right, bottom left, in this order of
// preference) whose box, widened by `clearance` pixels, covers no occupied
// cell; nothing when every corner covers data. The occupancy is in the plot
// area's own coordinates.
std::optional<DeviceRect> freeLegendCorner(const Occupancy& occupancy, double boxWidth,
                                           double boxHeight, double inset, double clearance);

// The corner of that rectangle, for a caller that keeps the corner rather
// than the rectangle.
std::optional<Corner> freeLegendCornerOf(const Occupancy& occupancy, double boxWidth,
                                         double boxHeight, double inset, double clearance);

// A world rectangle zoomed by `factor` (above 1 shows less) about the world
// point (x, y), which stays where it is on the device.
WorldRect zoomedWorld(const WorldRect& world, double factor, double x, double y);

// A world rectangle moved by a device offset over an area of width x
// height pixels: dragging the picture right by dx shows what lay left.
WorldRect pannedWorld(const WorldRect& world, double dx, double dy, double width, double height);

// Why a zoom or a pan did not show the world it asked for.
enum class WorldLimit {
    None,
    Closest,   // an extent so narrow that its ends are hardly distinct doubles
    Farthest,  // beyond the largest doubles, or on a decade axis beyond their decades
};

struct LimitedWorld {
    WorldRect world;
    WorldLimit limit = WorldLimit::None;
};

// The world to show when a zoom or a pan asks for `asked` while `shown` is
// shown. An axis narrower than kClosestExtent times its larger end (or than
// the smallest normal doubles), or with an end that is not finite, leaves
// `shown` as it is. A decade axis keeps within kLowestDecade ..
// kHighestDecade: cut to that range when wider, moved inside it otherwise.
// The orientation of each axis stays.
LimitedWorld limitedWorld(const WorldRect& asked, const WorldRect& shown, AxisScale xScale,
                          AxisScale yScale);

inline constexpr double kClosestExtent = 0x1p-40;
inline constexpr double kLowestDecade = -323;   // 1e-323: the smallest doubles
inline constexpr double kHighestDecade = 308;   // 1e308: the largest ones

}  // namespace tarvel
