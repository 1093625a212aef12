// World coordinates fitted to the data, and the mapping and clipping that
// keep the painter on the picture.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "plot/picture_scale.h"

namespace tarvel {
namespace {

struct ScaleCase {
    const char* name;
    std::vector<double> given;
    std::vector<double> interpolated;
    int lastI;
    double yMin, yMax, top, bottom;
};

TEST(PictureScale, ExtentAndCorners)
{
    const double big = std::numeric_limits<double>::max();
    const ScaleCase cases[] = {
        {"values from -1 to 1", {-1, 0.5, 1}, {}, -1, -1, 1, 1.1, -1.1},
        {"all positive: the extent keeps 0", {0.2, 2, 1}, {}, -1, 0, 2, 2.2, -0.2},
        {"all negative: margin from |yMin|", {-4, -1, -2}, {}, -1, -4, 0, 0.4, -4.4},
        {"margin from yMax alone", {1, -5}, {}, -1, -5, 1, 1.1, -5.1},
        {"an interpolated value raises yMax", {0, 1}, {0.5, 3}, 1, 0, 3, 3.3, -0.3},
        {"lastI -1 ignores the interpolated values", {0, 1}, {7, 9}, -1, 0, 1, 1.1, -0.1},
        {"all zero shows -1 .. 1", {0, 0, 0}, {0}, 0, 0, 0, 1, -1},
        {"largest doubles stay finite", {big, -big}, {}, -1, -big, big, big, -big},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<double, 1001> yI{};
        std::copy(c.interpolated.begin(), c.interpolated.end(), yI.begin());
        const Extent extent =
            verticalExtent(c.given, static_cast<int>(c.given.size()) - 1, yI, c.lastI);
        EXPECT_EQ(extent.yMin, c.yMin);
        EXPECT_EQ(extent.yMax, c.yMax);
        const WorldRect world = worldFor(extent);
        EXPECT_EQ(world.left, -0.1);
        EXPECT_EQ(world.right, 1.1);
        EXPECT_DOUBLE_EQ(world.top, c.top);
        EXPECT_DOUBLE_EQ(world.bottom, c.bottom);
    }
}

TEST(PictureScale, NanTakesNoPartInTheExtent)
{
    const std::vector<double> given = {std::nan(""), 2, -1};
    const Extent extent = verticalExtent(given, 2, {}, -1);
    EXPECT_EQ(extent.yMin, -1);
    EXPECT_EQ(extent.yMax, 2);
}

TEST(Viewport, MapsCornersOntoTheDevice)
{
    const Viewport view({-0.1, 1.1, 1.1, -1.1}, 600, 220);
    ASSERT_TRUE(view.valid());
    EXPECT_DOUBLE_EQ(view.toDeviceX(-0.1), 0);
    EXPECT_DOUBLE_EQ(view.toDeviceX(1.1), 600);
    EXPECT_DOUBLE_EQ(view.toDeviceY(1.1), 0);
    EXPECT_DOUBLE_EQ(view.toDeviceY(-1.1), 220);
    EXPECT_DOUBLE_EQ(view.toDeviceY(0), 110);
    EXPECT_DOUBLE_EQ(view.toDeviceLength(0.005), 2.5) << "radius in x units";
}

TEST(Viewport, WidestWorldStillMaps)
{
    const double big = std::numeric_limits<double>::max();
    const Viewport view({-0.1, big, 1.1, -big}, 100, 100);
    ASSERT_TRUE(view.valid());
    EXPECT_DOUBLE_EQ(view.toDeviceY(0), 50);
    EXPECT_DOUBLE_EQ(view.toDeviceY(big), 0);
}

TEST(Viewport, EmptyOrBrokenWorldMapsNothing)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(Viewport({-0.1, 0, 1.1, 0}, 100, 100).valid());
    EXPECT_FALSE(Viewport({-0.1, inf, 1.1, 0}, 100, 100).valid());
    EXPECT_FALSE(Viewport({-0.1, 1, 1.1, 0}, 0, 100).valid());
}

struct ClipCase {
    const char* name;
    Segment in;
    bool kept;
    Segment out;
};

TEST(ClipSegment, KeepsThePartInsideTheArea)
{
    const double inf = std::numeric_limits<double>::infinity();
    const ClipCase cases[] = {
        {"inside", {1, 1, 9, 9}, true, {1, 1, 9, 9}},
        {"crosses the left edge", {-10, 5, 5, 5}, true, {0, 5, 5, 5}},
        {"huge vertical line", {5, -1e30, 5, 1e30}, true, {5, 0, 5, 10}},
        {"diagonal through the corners", {-5, -5, 15, 15}, true, {0, 0, 10, 10}},
        {"entirely above", {1, -5, 9, -1}, false, {}},
        {"misses beside a corner", {-5, 6, 6, -5}, true, {0, 1, 1, 0}},
        {"passes outside the corner", {-5, 4, 4, -5}, false, {}},
        {"infinite end", {0, 0, inf, 5}, false, {}},
    };
    for (const ClipCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto clipped = clipSegment(c.in, 0, 0, 10, 10);
        ASSERT_EQ(clipped.has_value(), c.kept);
        if (!clipped)
            continue;
        EXPECT_NEAR(clipped->x1, c.out.x1, 1e-9);
        EXPECT_NEAR(clipped->y1, c.out.y1, 1e-9);
        EXPECT_NEAR(clipped->x2, c.out.x2, 1e-9);
        EXPECT_NEAR(clipped->y2, c.out.y2, 1e-9);
    }
}

TEST(Drawing, LineToStartsAtTheCurrentPosition)
{
    Drawing drawing;
    drawing.setPoint(1, 2, std::nullopt);
    drawing.lineTo(3, 4, ui::kRed);
    drawing.circle(9, 9, 0.5f, ui::kBlue);  // a circle does not move the position
    drawing.lineTo(5, 6, ui::kRed);
    ASSERT_EQ(drawing.ops().size(), 4u);
    EXPECT_EQ(drawing.ops()[1].x1, 1);
    EXPECT_EQ(drawing.ops()[1].y1, 2);
    EXPECT_EQ(drawing.ops()[3].x1, 3);
    EXPECT_EQ(drawing.ops()[3].y1, 4);
    drawing.clear();
    EXPECT_TRUE(drawing.ops().empty());
}

}  // namespace
}  // namespace tarvel
