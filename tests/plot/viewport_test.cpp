// Where the picture puts huge values: the world fitted to the data by the
// picture's scale, then mapped onto the device. The expected heights are
// worked out by hand from the scale's rule (a margin of a tenth of yMax,
// corners held at the largest double), not by the mapping under test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "plot/drawing.h"
#include "plot/picture_scale.h"

namespace tarvel {
namespace {

constexpr double kLargest = std::numeric_limits<double>::max();
constexpr double kWidth = 600;
constexpr double kHeight = 220;

WorldRect fittedTo(const std::vector<double>& given)
{
    return worldFor(verticalExtent(given, static_cast<int>(given.size()) - 1, {}, -1));
}

struct HeightCase {
    const char* name;
    std::vector<double> given;
    double y;
    double fraction;  // of the height, from the top
};

TEST(Viewport, HugeValuesLandWhereTheScaleSays)
{
    const double denormMin = std::numeric_limits<double>::denorm_min();
    const HeightCase cases[] = {
        // y from -1.1e300 to 1.1e300
        {"1e300 of +-1e300, 5e299", {1e300, -1e300, 5e299}, 1e300, 0.1 / 2.2},
        {"-1e300 of +-1e300, 5e299", {1e300, -1e300, 5e299}, -1e300, 2.1 / 2.2},
        {"5e299 of +-1e300, 5e299", {1e300, -1e300, 5e299}, 5e299, 0.6 / 2.2},
        // beyond single precision, which once put it at a third of the height
        {"1e39 of +-1e39", {1e39, -1e39}, 1e39, 0.1 / 2.2},
        {"-1e39 of +-1e39", {1e39, -1e39}, -1e39, 2.1 / 2.2},
        {"3.5e38 of +-1e39", {1e39, -1e39}, 3.5e38, 0.75 / 2.2},
        // corners held at the largest doubles; their span overflows
        {"largest of +-largest", {kLargest, -kLargest, 0}, kLargest, 0},
        {"-largest of +-largest", {kLargest, -kLargest, 0}, -kLargest, 1},
        {"0 of +-largest", {kLargest, -kLargest, 0}, 0, 0.5},
        {"largest/2 of +-largest", {kLargest, -kLargest, 0}, kLargest / 2, 0.25},
        {"5e299 of +-largest", {kLargest, -kLargest, 0}, 5e299, 0.5 - 5e299 / kLargest / 2},
        // top held at the largest double, bottom at -0.1 of it
        {"largest of largest, largest/2", {kLargest, kLargest / 2}, kLargest, 0},
        {"largest/2 of largest, largest/2", {kLargest, kLargest / 2}, kLargest / 2, 0.5 / 1.1},
        {"0 of largest, largest/2", {kLargest, kLargest / 2}, 0, 1 / 1.1},
        // only negative: top at 0.1 of the largest, bottom held at -largest
        {"-largest alone", {-kLargest}, -kLargest, 1},
        {"0 with -largest", {-kLargest}, 0, 0.1 / 1.1},
        // at the other end of the range
        {"1e-300 of +-1e-300", {1e-300, -1e-300}, 1e-300, 0.1 / 2.2},
        {"smallest subnormal of +-it", {denormMin, -denormMin}, -denormMin, 1},
    };
    for (const HeightCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Viewport view(fittedTo(c.given), kWidth, kHeight);
        ASSERT_TRUE(view.valid());
        const double y = view.toDeviceY(c.y);
        ASSERT_TRUE(std::isfinite(y));
        EXPECT_NEAR(y / kHeight, c.fraction, 1e-12);
        EXPECT_NEAR(view.toDeviceX(0.5), kWidth / 2, 1e-9);
    }
}

constexpr double kMargin = 64;

struct SegmentCase {
    const char* name;
    WorldRect world;
    Segment in;  // world coordinates
    bool kept;
    Segment out;  // device coordinates; a cut end lies on the picture's edge
    // Where an end was cut: 0 exactly there; -1 or +1 when the cut may lie
    // up to the margin beyond that edge, above or below the picture.
    int beyond1 = 0;
    int beyond2 = 0;
};

void expectEnd(double x, double y, double wantX, double wantY, int beyond)
{
    EXPECT_NEAR(x, wantX, 1) << "a steep line is cut within a pixel of its x";
    if (beyond == 0) {
        EXPECT_NEAR(y, wantY, 1e-6);
    } else {
        const double farthest = wantY + beyond * kMargin;
        EXPECT_GE(y, std::min(wantY, farthest) - 1e-6);
        EXPECT_LE(y, std::max(wantY, farthest) + 1e-6);
    }
}

// A segment with an end whose device coordinate would overflow still shows
// its part inside the picture: the steep curve of a test polynomial with
// huge coefficients over a world fitted to small given values, the axis
// across a world near the largest doubles.
TEST(Viewport, SegmentsReachingFarBeyondTheWorldShowTheirVisiblePart)
{
    const double inf = std::numeric_limits<double>::infinity();
    const WorldRect unit{-0.1, 1.1, 1.1, -1.1};
    const WorldRect widest{-0.1, kLargest, 1.1, -kLargest};
    const SegmentCase cases[] = {
        {"inside", unit, {0, 0, 0.5, 1}, true, {50, 110, 300, 10}},
        {"just beyond the top", unit, {0, 0, 0, 1.2}, true, {50, 110, 50, 0}, 0, -1},
        {"up to 1e307", unit, {0, 0, 0, 1e307}, true, {50, 110, 50, 0}, 0, -1},
        {"steep to the right", unit, {0, 0, 0.01, 1e308}, true, {50, 110, 50, 0}, 0, -1},
        {"from below -1e308 to above 1e308", unit, {0.5, -1.7e308, 0.5, 1.7e308}, true,
         {300, 220, 300, 0}, +1, -1},
        {"from the largest double across", unit, {0.5, kLargest, 0.5, -kLargest}, true,
         {300, 0, 300, 220}, -1, +1},
        {"far beyond, beside the picture", unit, {2, 1e308, 2, -1e308}, false, {}},
        {"far to the right", unit, {0.5, 0, 1e308, 0}, true, {300, 110, 600, 110}},
        {"y axis of the widest world", widest, {0, -kLargest, 0, kLargest}, true,
         {50, 220, 50, 0}},
        {"x axis of the widest world", widest, {0, 0, 1, 0}, true, {50, 110, 550, 110}},
        {"infinite end", unit, {0, 0, 0.5, inf}, false, {}},
        {"not a number", unit, {0, 0, std::nan(""), 1}, false, {}},
    };
    for (const SegmentCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Viewport view(c.world, kWidth, kHeight);
        const auto device = view.segmentOnDevice(c.in, kMargin);
        ASSERT_EQ(device.has_value(), c.kept);
        if (!device)
            continue;
        expectEnd(device->x1, device->y1, c.out.x1, c.out.y1, c.beyond1);
        expectEnd(device->x2, device->y2, c.out.x2, c.out.y2, c.beyond2);
    }
}

}  // namespace
}  // namespace tarvel
