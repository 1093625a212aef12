// The study aids without a toolkit: round tick steps at every scale, the
// short and the full number texts, the mapping back from the device,
// snapping, the readout, the copied values, kept results and the corner of
// the legend.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "data/number_text.h"
#include "plot/occupancy.h"
#include "plot/picture_scale.h"
#include "plot/plot_layout.h"
#include "plot/study_aids.h"
#include "plot/ticks.h"
#include "support/study_of.h"
#include "ui/headless/headless_toolkit.h"

namespace tarvel {
namespace {

// Whether step is 1, 2 or 5 times a power of ten.
bool roundStep(double step)
{
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    const double mantissa = step / power;
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (std::abs(mantissa - m) < 1e-9 * m)
            return true;
    return false;
}

double readBack(std::string text)
{
    for (char& c : text)
        if (c == ',')
            c = '.';
    return std::strtod(text.c_str(), nullptr);
}

struct TickCase {
    const char* name;
    double lo, hi;
    int maxTicks;
    double step;  // expected
};

TEST(Ticks, RoundStepsAtEveryScale)
{
    const double big = std::numeric_limits<double>::max();
    const TickCase cases[] = {
        {"sine picture", -1.1, 1.1, 8, 0.5},
        {"x of every picture", 0, 1, 10, 0.1},
        {"extent 1e-300", -1.1e-300, 1.1e-300, 8, 5e-301},
        {"extent 1e300", -1.1e300, 1.1e300, 8, 5e299},
        {"largest doubles", -big, big, 6, 1e308},
        {"negative-only data", -4.4, 0.4, 8, 1},
        {"all-zero data shows -1 .. 1", -1, 1, 8, 0.5},
        {"positive data", -0.2, 2.2, 5, 0.5},
        {"one tick only", 0, 7, 1, 10},
    };
    for (const TickCase& c : cases) {
        SCOPED_TRACE(c.name);
        const double step = tickStep(c.lo, c.hi, c.maxTicks);
        EXPECT_NEAR(step, c.step, c.step * 1e-12);
        EXPECT_TRUE(roundStep(step)) << step;
        const std::vector<double> ticks = ticksIn(c.lo, c.hi, c.maxTicks);
        ASSERT_FALSE(ticks.empty());
        EXPECT_LE(static_cast<int>(ticks.size()), c.maxTicks + 1);
        std::vector<std::string> labels;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_GE(ticks[i], c.lo);
            EXPECT_LE(ticks[i], c.hi);
            if (i > 0) {
                EXPECT_GT(ticks[i], ticks[i - 1]);
            }
            const std::string label = tickLabel(ticks[i], step, ".");
            EXPECT_NEAR(readBack(label), ticks[i], step * 1e-6) << label;
            EXPECT_LE(label.size(), 8u) << label;  // fits the margin
            for (const std::string& earlier : labels)
                EXPECT_NE(label, earlier);
            labels.push_back(label);
        }
    }
}

// Far from zero the multiples of a step outnumber the doubles: adding 1 to
// one of them beyond 2^53 leaves it as it is. The ticks still end, rise and
// stay within the range.
TEST(Ticks, TickLoopsEndAtEveryWorld)
{
    const double big = std::numeric_limits<double>::max();
    const struct {
        const char* name;
        double lo, hi;
        int maxTicks;
    } cases[] = {
        {"multiples beyond 2^53", 0x1p60, 0x1p60 + 0x1p10, 100},
        {"multiples beyond 2^53, below zero", -0x1p60 - 0x1p10, -0x1p60, 100},
        {"a world one double wide at 1e300", 1e300, std::nextafter(1e300, big), 40},
        {"a narrow world at the largest doubles", big - 1e293, big, 40},
        {"zoomed far in at 1e300", 1e300, 1e300 * (1 + 0x1p-40), 60},
        // Found by the plot layout fuzzer: a multiple a rounding outside,
        // and two multiples on one double.
        {"the lowest doubles", -1.7976931348623117e+308, -1.7976931348623109e+308, 211},
        {"sparse doubles", -1.4804531698866318e+307, -1.4804531698866138e+307, 147},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> ticks = ticksIn(c.lo, c.hi, c.maxTicks);
        EXPECT_LE(static_cast<int>(ticks.size()), c.maxTicks + 2);
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_GE(ticks[i], c.lo);
            EXPECT_LE(ticks[i], c.hi);
            if (i > 0) {
                EXPECT_GT(ticks[i], ticks[i - 1]);
            }
        }
    }
}

TEST(Ticks, NoStepForEmptyOrNonFiniteRanges)
{
    EXPECT_EQ(tickStep(0, 0, 8), 0);
    EXPECT_EQ(tickStep(1, -1, 8), 0);
    EXPECT_EQ(tickStep(0, std::numeric_limits<double>::infinity(), 8), 0);
    EXPECT_EQ(tickStep(std::nan(""), 1, 8), 0);
    EXPECT_EQ(tickStep(0, 1, 0), 0);
    EXPECT_TRUE(ticksIn(0, 0, 8).empty());
    const double big = std::numeric_limits<double>::max();
    EXPECT_EQ(tickStep(-big, big, 1), 0) << "one step over all doubles would be infinite";
    EXPECT_TRUE(ticksIn(-big, big, 1).empty());
}

struct TextCase {
    const char* name;
    double value;
    double step;  // tickLabel only
    const char* separator;
    const char* expected;
};

TEST(Ticks, LabelsCarryTheDigitsThatTellTicksApart)
{
    const TextCase cases[] = {
        {"sum of steps rounds to the step's decimals", 0.6000000000000001, 0.2, ".", "0.6"},
        {"user's separator", 0.5, 0.5, ",", "0,5"},
        {"no trailing zeros", 1, 0.5, ".", "1"},
        {"whole numbers", 1500, 500, ".", "1500"},
        {"zero", 0, 0.2, ".", "0"},
        {"huge steps in exponent form", 1.2e300, 2e299, ".", "1.2e300"},
        {"tiny steps in exponent form", -5e-301, 5e-301, ".", "-5e-301"},
        {"millions", 2e6, 1e6, ".", "2e6"},
        {"smallest plain step", 0.0003, 0.0001, ".", "0.0003"},
        {"below it: exponent form", 1.5e-5, 5e-6, ",", "1,5e-5"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(tickLabel(c.value, c.step, c.separator), c.expected) << c.name;
}

TEST(NumberText, CompactReadoutNumbers)
{
    const TextCase cases[] = {
        {"four significant digits", 0.95105651629515353, 0, ".", "0.9511"},
        {"trailing zeros dropped", -12.5, 0, ".", "-12.5"},
        {"tiny in exponent form", 1.234567e-5, 0, ".", "1.235e-5"},
        {"rounding up into exponent form", 99999.5, 0, ".", "1e5"},
        {"huge", 4e300, 0, ".", "4e300"},
        {"smallest plain", 0.001, 0, ".", "0.001"},
        {"zero", 0, 0, ".", "0"},
        {"user's separator", -0.25, 0, ",", "-0,25"},
        {"infinity", std::numeric_limits<double>::infinity(), 0, ".", "inf"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(compactNumber(c.value, c.separator), c.expected) << c.name;
}

TEST(NumberText, FullNumbersReadBackExactlyWithAPeriod)
{
    EXPECT_EQ(fullNumber(0.1), "0.10000000000000001");
    for (const double value :
         {0.1, 1.0 / 3, -1e-300, 1.7976931348623157e308, 5e-324, 0.95105651629515353, -0.0})
        EXPECT_EQ(std::strtod(fullNumber(value).c_str(), nullptr), value) << fullNumber(value);
}

struct MappingCase {
    const char* name;
    WorldRect world;
};

TEST(Mapping, DeviceToWorldInvertsTheViewport)
{
    const double big = std::numeric_limits<double>::max();
    const MappingCase worlds[] = {
        {"sine", worldFor({-1, 1})},          {"tiny", worldFor({-1e-300, 1e-300})},
        {"huge", worldFor({-1e300, 1e300})},  {"largest doubles", worldFor({-big, big})},
        {"negative only", worldFor({-4, 0})},
    };
    const std::pair<double, double> sizes[] = {{609, 217}, {1200, 600}, {300, 120}};
    for (const MappingCase& m : worlds)
        for (const auto& [width, height] : sizes) {
            SCOPED_TRACE(std::string(m.name) + " at " + std::to_string(width));
            const Viewport view(m.world, width, height);
            const auto corner = toWorld(m.world, width, height, 0, 0);
            ASSERT_TRUE(corner);
            EXPECT_DOUBLE_EQ(corner->x, m.world.left);
            EXPECT_DOUBLE_EQ(corner->y, m.world.top);
            const auto far = toWorld(m.world, width, height, width, height);
            EXPECT_DOUBLE_EQ(far->x, m.world.right);
            EXPECT_DOUBLE_EQ(far->y, m.world.bottom);
            for (const auto& [dx, dy] : {std::pair{width / 3, height / 4}, {width * 0.9, height}}) {
                const auto at = toWorld(m.world, width, height, dx, dy);
                EXPECT_NEAR(view.toDeviceX(at->x), dx, 1e-6);
                EXPECT_NEAR(view.toDeviceY(at->y), dy, 1e-6);
            }
        }
    EXPECT_FALSE(toWorld({0, 1, 0, 0}, 100, 100, 5, 5));
}

TEST(Snapping, NearestPointWithinReach)
{
    const std::vector<DevicePoint> points = {
        {10, 10}, {20, 10}, {20, 10}, {std::nan(""), 30}, {100, 100}};
    EXPECT_EQ(nearestPoint(points, 11, 11, 6), 0u);
    EXPECT_EQ(nearestPoint(points, 19, 12, 6), 1u) << "of two equally near points the first";
    EXPECT_EQ(nearestPoint(points, 104, 100, 6), 4u);
    EXPECT_FALSE(nearestPoint(points, 107, 100, 6)) << "7 pixels away is out of reach";
    EXPECT_FALSE(nearestPoint(points, 50, 30, 6)) << "a point without x never snaps";
    EXPECT_FALSE(nearestPoint({}, 0, 0, 6));
}

class SineStudy : public ::testing::Test {
protected:
    SineStudy()
    {
        w.form.Command1_Click();
        w.form.Command2_Click();
        study = support::sineStudy(w.form);
        world = w.Picture1.world();
    }
    DevicePoint at(double x, double y) const
    {
        const Viewport view(world, kWidth, kHeight);
        return {view.toDeviceX(x), view.toDeviceY(y)};
    }
    std::string readout(DevicePoint p, bool errorView = false, const char* separator = ".") const
    {
        const YReading reading = errorView ? YReading{YReading::Kind::Error} : YReading{};
        return studyReadout(study, errorView ? errorWorld(study) : world, kWidth, kHeight, reading,
                            p.x, p.y, separator)
            .text;
    }
    static constexpr double kWidth = 609;
    static constexpr double kHeight = 217;
    ui::HeadlessWindow w;
    ui::Study study;
    WorldRect world;
};

TEST_F(SineStudy, ReadoutShowsTheGivenPointNearTheMouse)
{
    const DevicePoint p = at(0.3, w.form.yU[3]);
    // Interpolated point 45 lies a pixel from it; on the circle the given
    // point wins.
    EXPECT_EQ(readout({p.x + 2, p.y - 1}), "Given point 3: x = 0.3, y = 0.9511");
    EXPECT_EQ(readout(p, false, ","), "Given point 3: x = 0,3, y = 0,9511");
}

TEST_F(SineStudy, ReadoutShowsTheInterpolatedPointWithItsError)
{
    // Point 17 lies between given points, away from their circles.
    const double x = w.form.xI[17];
    const double p = w.form.yI[17];
    const double f = w.form.SinFunc(x);
    const std::string expected = "Interpolated point 17: x = " + compactNumber(x, ".") +
                                 ", p(x) = " + compactNumber(p, ".") +
                                 ", f(x) = " + compactNumber(f, ".") +
                                 ", p(x) \xE2\x88\x92 f(x) = " + compactNumber(p - f, ".");
    EXPECT_EQ(readout(at(x, p)), expected);
    // In the error view the point sits at its error.
    const Viewport errors(errorWorld(study), kWidth, kHeight);
    EXPECT_EQ(readout({errors.toDeviceX(x), errors.toDeviceY(p - f)}, true), expected);
}

TEST_F(SineStudy, KeyboardCursorSaysWhatTheMouseSaysOnEveryPoint)
{
    // The picture's cursor keys read points with pointText: on a point
    // away from any given point the mouse's readout must be the same words.
    const ui::StudyPoint& point = study.interpolated[17];
    EXPECT_EQ(pointText(point, PointKind::Interpolated, "."), readout(at(point.x, point.y)));
    EXPECT_EQ(pointText(study.given[3], PointKind::Given, ","),
              readout(at(0.3, w.form.yU[3]), false, ","));
    EXPECT_EQ(cursorKind(study), PointKind::Interpolated);
    EXPECT_EQ(cursorPoints(study), 150u);
    ui::Study okOnly = support::sineStudy(w.form, false);
    EXPECT_EQ(cursorKind(okOnly), PointKind::Given);
    EXPECT_EQ(cursorPoints(okOnly), 11u);
}

TEST_F(SineStudy, ReadoutAwayFromPointsShowsTheWorldUnderTheMouse)
{
    const DevicePoint p = at(0.5, 0.7);
    EXPECT_EQ(readout(p), "x = 0.5, y = 0.7");
    const Viewport errors(errorWorld(study), kWidth, kHeight);
    // Just below the top edge: the largest error sits at 1/1.1 of it.
    const double y = 0.99 * errorWorld(study).top;
    const std::string text = readout({errors.toDeviceX(0.5), errors.toDeviceY(y)}, true);
    EXPECT_EQ(text.rfind("x = 0.5, error = ", 0), 0u) << text;
}

TEST_F(SineStudy, CopiedValuesAreTheInterpolatedPointsInFull)
{
    std::istringstream text(valuesText(study));
    std::string line;
    std::getline(text, line);
    EXPECT_EQ(line, "i\tx\tp(x)\tf(x)\tp(x)-f(x)");
    int rows = 0;
    while (std::getline(text, line)) {
        std::istringstream fields(line);
        int i = -1;
        double x, p, f, e;
        fields >> i >> x >> p >> f >> e;
        ASSERT_EQ(i, rows);
        EXPECT_EQ(x, w.form.xI[static_cast<std::size_t>(i)]) << "row " << i;
        EXPECT_EQ(p, w.form.yI[static_cast<std::size_t>(i)]) << "row " << i;
        EXPECT_EQ(f, w.form.SinFunc(x)) << "row " << i;
        EXPECT_EQ(e, p - f) << "row " << i;
        ++rows;
    }
    EXPECT_EQ(rows, 150);
}

TEST_F(SineStudy, SavedValuesHoldEachKeptResultAsFurtherNamedColumns)
{
    const std::vector<KeptResult> kept = {
        {"PW cubic spline (11 given, 2 points)", {{0, 0.25, 0.5, {}}, {1, 0.75, -0.5, {}}}, 0},
        {"say \"x\"", std::vector<ui::StudyPoint>(152, ui::StudyPoint{0, 0.5, 2, {}}), 0},
    };
    const std::string text = valuesText(study, ',', kept);
    std::istringstream lines(text);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);)
        all.push_back(line);
    ASSERT_EQ(all.size(), 1u + 152u);  // the longest kept result sets the rows
    EXPECT_EQ(all[0], "i,x,p(x),f(x),p(x)-f(x),"
                      "\"x of PW cubic spline (11 given, 2 points)\","
                      "\"p(x) of PW cubic spline (11 given, 2 points)\","
                      "\"x of say \"\"x\"\"\",\"p(x) of say \"\"x\"\"\"");
    EXPECT_TRUE(all[1].ends_with(",0.25,0.5,0.5,2")) << all[1];
    EXPECT_TRUE(all[2].ends_with(",0.75,-0.5,0.5,2")) << all[2];
    EXPECT_TRUE(all[3].ends_with(",,,0.5,2")) << all[3];
    EXPECT_EQ(all[151], ",,,,,,,0.5,2");  // below the study's 150 points
    EXPECT_EQ(valuesText(study, ','), valuesText(study, ',', {}));
    const std::string tabbed = valuesText(study, '\t', kept);
    EXPECT_EQ(tabbed.substr(0, tabbed.find('\n')),
              "i\tx\tp(x)\tf(x)\tp(x)-f(x)\tx of PW cubic spline (11 given, 2 points)\t"
              "p(x) of PW cubic spline (11 given, 2 points)\t\"x of say \"\"x\"\"\"\t"
              "\"p(x) of say \"\"x\"\"\"");
}

TEST_F(SineStudy, DataSetValuesHaveNoExactColumns)
{
    const ui::Study dataSet = support::studyOf(w.form, nullptr, "runge.dsf", "the PW cubic spline");
    const std::string text = valuesText(dataSet);
    EXPECT_EQ(text.substr(0, text.find('\n')), "i\tx\tp(x)");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 2 * (1 + 150));
    EXPECT_FALSE(errorAvailable(dataSet));
    EXPECT_TRUE(errorAvailable(study));
}

TEST_F(SineStudy, ErrorWorldIsSymmetricAboutTheZeroLine)
{
    double largest = 0;
    for (int i = 0; i < 150; ++i)
        largest = std::max(largest, std::abs(w.form.yI[i] - w.form.SinFunc(w.form.xI[i])));
    const WorldRect errors = errorWorld(study);
    EXPECT_DOUBLE_EQ(errors.top, 1.1 * largest);
    EXPECT_DOUBLE_EQ(errors.bottom, -1.1 * largest);
    EXPECT_EQ(errors.left, -0.1);
    EXPECT_EQ(errors.right, 1.1);
    ui::Study exact = study;
    for (ui::StudyPoint& point : exact.interpolated)
        point.y = *point.exact;
    EXPECT_EQ(errorWorld(exact).top, 1.1) << "no error at all shows -1 .. 1";
}

TEST_F(SineStudy, KeptResultsHoldFourAndFollowTheSourceOfTheGivenPoints)
{
    KeptResults kept;
    ui::Study later = study;
    for (int n = 1; n <= 5; ++n) {
        later.methodName = "polynomial interpolation of degree " + std::to_string(n);
        later.methodLegend = "Polynomial interpolation of degree " + std::to_string(n);
        const KeptResults::Outcome outcome = kept.keep(later);
        EXPECT_TRUE(outcome.kept);
        EXPECT_EQ(outcome.dropped,
                  n == 5 ? "Polynomial interpolation of degree 1 (11 given, 150 points)" : "")
            << "the fifth lets the oldest go and names it";
    }
    ASSERT_EQ(kept.results().size(), 4u);
    EXPECT_EQ(kept.results().front().label,
              "Polynomial interpolation of degree 2 (11 given, 150 points)");
    for (std::size_t i = 1; i < 4; ++i)
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(kept.results()[i].colour, kept.results()[j].colour);
    for (const KeptResult& result : kept.results()) {
        EXPECT_NE(result.colour, ui::kRed);
        EXPECT_NE(result.colour, ui::kBlue);
    }

    ui::Study afterOk = study;
    afterOk.interpolated.clear();
    EXPECT_EQ(kept.follow(afterOk), 0u);
    EXPECT_FALSE(kept.keep(afterOk).kept) << "nothing to keep after OK";
    afterOk.given.resize(5);
    afterOk.given[4].y += 1e-12;
    EXPECT_EQ(kept.follow(afterOk), 0u) << "fewer or other points of the same function keep them";
    EXPECT_EQ(kept.results().size(), 4u);

    afterOk.source = "cos\xC2\xB9\xE2\x81\xB0(2\xCF\x80x)";
    EXPECT_EQ(kept.follow(afterOk), 4u) << "another function clears them";
    EXPECT_TRUE(kept.results().empty());
}

TEST(Occupancy, SegmentsAndPointsMarkTheirCells)
{
    Occupancy occupancy(100, 100, 4);
    occupancy.markSegment(0, 0, 99, 99);
    EXPECT_GT(occupancy.count({48, 48, 52, 52}), 0);
    EXPECT_EQ(occupancy.count({80, 0, 99, 20}), 0);
    occupancy.markPoint(90, 10, 1);
    EXPECT_GT(occupancy.count({80, 0, 99, 20}), 0);
    occupancy.markSegment(-1e300, 50, 1e300, 50);  // huge, clipped to the area
    EXPECT_GT(occupancy.count({0, 49, 3, 51}), 0);
    EXPECT_EQ(occupancy.count({200, 200, 300, 300}), 0) << "outside the area";
}

TEST(Occupancy, OneKeepingNothingCountsNothingWhateverIsMarked)
{
    Occupancy none = Occupancy::keepingNothing();
    none.markSegment(0, 0, 99, 99);
    none.markPoint(10, 10, 5);
    none.markRect({0, 0, 100, 100});
    EXPECT_EQ(none.count({0, 0, 100, 100}), 0);
    EXPECT_EQ(none.count({-1e300, -1e300, 1e300, 1e300}), 0);
}

TEST_F(SineStudy, DefaultPictureLeavesTheTopRightCornerFree)
{
    Occupancy occupancy(kWidth, kHeight);
    markDrawing(occupancy, w.Picture1, Viewport(world, kWidth, kHeight));
    const auto legend = freeLegendCorner(occupancy, 180, 70, 4, 2);
    ASSERT_TRUE(legend.has_value());
    EXPECT_EQ(legend->left, kWidth - 4 - 180) << "the top right corner";
    EXPECT_EQ(legend->top, 4);
    // The axes are drawn lines too: nothing may cover the y axis away from
    // the curve.
    const DevicePoint axis = at(0, 0.6);
    EXPECT_GT(occupancy.count({axis.x - 1, axis.y - 1, axis.x + 1, axis.y + 1}), 0);
}

struct CursorCase {
    const char* name;
    std::optional<std::size_t> at;
    std::size_t count;
    CursorStep step;
    std::optional<std::size_t> expected;
};

TEST(KeyboardCursor, StepsStopAtTheEndsAndStartAtTheFirstPoint)
{
    constexpr auto none = std::nullopt;
    const CursorCase cases[] = {
        {"first Right shows point 0", none, 5, CursorStep::Next, 0},
        {"first Left shows point 0", none, 5, CursorStep::Previous, 0},
        {"first End shows the last point", none, 5, CursorStep::Last, 4},
        {"Right moves one on", 2, 5, CursorStep::Next, 3},
        {"Left moves one back", 2, 5, CursorStep::Previous, 1},
        {"Right stops at the last point", 4, 5, CursorStep::Next, 4},
        {"Left stops at point 0", 0, 5, CursorStep::Previous, 0},
        {"Home goes to point 0", 3, 5, CursorStep::First, 0},
        {"End goes to the last point", 1, 5, CursorStep::Last, 4},
        {"a stale place beyond fewer points is pulled in", 9, 5, CursorStep::Previous, 3},
        {"a stale place steps no further than the last", 9, 5, CursorStep::Next, 4},
        {"one point", none, 1, CursorStep::Next, 0},
        {"no points: no cursor", none, 0, CursorStep::Next, none},
        {"no points after points: no cursor", 3, 0, CursorStep::Last, none},
    };
    for (const CursorCase& c : cases)
        EXPECT_EQ(stepCursor(c.at, c.count, c.step), c.expected) << c.name;
}


struct AxisCase {
    const char* name;
    double lo, hi;
    double from, to;  // device pixels at lo and at hi
    AxisScale scale;
    double charWidth;  // every label character this wide
    std::vector<std::string> mustLabel;
};

// Labels sit on their own ticks, never overlap, and the extreme ticks carry
// theirs; thinning drops labels, never moves them.
TEST(PlotLayout, TickLabelsSitOnTheirTicksApartWithTheExtremesLabelled)
{
    const double big = std::numeric_limits<double>::max();
    const AxisCase cases[] = {
        {"x of the picture", -0.1, 1.1, 40, 800, AxisScale::Linear, 7, {"-0.1", "0", "0.5", "1.1"}},
        {"y of the sine", -1.1, 1.1, 260, 10, AxisScale::Linear, 7, {"-1", "0", "1"}},
        {"narrow x: thinned", -0.1, 1.1, 0, 120, AxisScale::Linear, 9, {}},
        {"decades of the error, in one form", -4.75, 0.25, 250, 10, AxisScale::Log10, 7,
         {"1e-4", "1e-3", "1e0"}},
        {"largest doubles", -big, big, 300, 0, AxisScale::Linear, 7, {}},
        {"zoomed far in", 0.5, 0.5000001, 0, 600, AxisScale::Linear, 7, {}},
        // Every second label fits, but 1.2 crowds the last one: 1.2 gives way.
        {"crowded: the one before the last gives way", 0, 1.3, 0, 390, AxisScale::Linear, 10,
         {"1", "1.3"}},
    };
    for (const AxisCase& c : cases) {
        const auto extent = [&c](std::string_view text) {
            return c.charWidth * static_cast<double>(text.size());
        };
        const std::vector<AxisTick> ticks =
            axisTicks(c.lo, c.hi, c.from, c.to, c.scale, extent, 4, ".");
        ASSERT_GE(ticks.size(), 2u) << c.name;
        std::vector<const AxisTick*> labelled;
        for (const AxisTick& tick : ticks) {
            EXPECT_GE(tick.value, c.lo) << c.name;
            EXPECT_LE(tick.value, c.hi) << c.name;
            const double expected = c.from + (tick.value / 2 - c.lo / 2) / (c.hi / 2 - c.lo / 2) *
                                                 (c.to - c.from);
            EXPECT_NEAR(tick.pixel, expected, 1e-6) << c.name << " tick " << tick.label;
            if (!tick.label.empty())
                labelled.push_back(&tick);
        }
        EXPECT_FALSE(ticks.front().label.empty()) << c.name << ": the first tick";
        EXPECT_FALSE(ticks.back().label.empty()) << c.name << ": the last tick";
        for (std::size_t i = 1; i < labelled.size(); ++i) {
            const double apart = std::abs(labelled[i]->pixel - labelled[i - 1]->pixel);
            EXPECT_GE(apart, (extent(labelled[i]->label) + extent(labelled[i - 1]->label)) / 2 + 4)
                << c.name << ": " << labelled[i - 1]->label << " and " << labelled[i]->label;
        }
        for (const std::string& text : c.mustLabel)
            EXPECT_TRUE(std::any_of(labelled.begin(), labelled.end(),
                                    [&](const AxisTick* t) { return t->label == text; }))
                << c.name << ": " << text;
    }
}

TEST(PlotLayout, ZoomKeepsThePointUnderThePointerAndPanFollowsTheDrag)
{
    const WorldRect world{-0.1, 1.1, 1.1, -1.1};
    const double width = 600;
    const double height = 240;
    const Viewport before(world, width, height);
    const WorldRect zoomed = zoomedWorld(world, 2, 0.3, 0.5);
    const Viewport after(zoomed, width, height);
    EXPECT_NEAR(after.toDeviceX(0.3), before.toDeviceX(0.3), 1e-9);
    EXPECT_NEAR(after.toDeviceY(0.5), before.toDeviceY(0.5), 1e-9);
    EXPECT_NEAR(zoomed.right - zoomed.left, 0.6, 1e-15) << "twice as close: half the width";
    // Dragging right and down by a whole area shows the part left of and
    // above what was shown.
    const WorldRect panned = pannedWorld(world, width, height, width, height);
    EXPECT_NEAR(panned.left, -1.3, 1e-12);
    EXPECT_NEAR(panned.right, -0.1, 1e-12);
    EXPECT_NEAR(panned.bottom, 1.1, 1e-12);
    EXPECT_NEAR(panned.top, 3.3, 1e-12);
}

TEST(PlotLayout, ZoomAndPanStopWhereTheNumbersEnd)
{
    const double big = std::numeric_limits<double>::max();
    const double inf = std::numeric_limits<double>::infinity();
    const WorldRect shown{0, 1, 1, 0};
    const auto lin = AxisScale::Linear;
    const auto dec = AxisScale::Log10;
    const struct {
        const char* name;
        WorldRect asked;
        AxisScale x, y;
        WorldRect expected;
        WorldLimit limit;
    } cases[] = {
        {"an ordinary zoom", {0.25, 0.75, 0.75, 0.25}, lin, lin, {0.25, 0.75, 0.75, 0.25},
         WorldLimit::None},
        {"x narrower than its ends tell apart", {0.5, 1, 0.5 + 1e-13, 0}, lin, lin, shown,
         WorldLimit::Closest},
        {"y narrower than its ends tell apart", {0, 1e300 * (1 + 1e-13), 1, 1e300}, lin, lin,
         shown, WorldLimit::Closest},
        {"tiny about zero is fine", {-1e-300, 1e-300, 1e-300, -1e-300}, lin, lin,
         {-1e-300, 1e-300, 1e-300, -1e-300}, WorldLimit::None},
        {"an extent below the normal doubles", {0, 1, 1e-310, 0}, lin, lin, shown,
         WorldLimit::Closest},
        {"zoomed out past the largest doubles", {-inf, inf, inf, -inf}, lin, lin, shown,
         WorldLimit::Farthest},
        {"the whole range of doubles", {-big, big, big, -big}, lin, lin, {-big, big, big, -big},
         WorldLimit::None},
        {"decades above 1e308 moved down", {0, 400, 1, -10}, lin, dec, {0, 308, 1, -102},
         WorldLimit::Farthest},
        {"decades below 1e-323 moved up", {0, -300, 1, -400}, lin, dec, {0, -223, 1, -323},
         WorldLimit::Farthest},
        {"more decades than doubles have: all of them", {0, 1e6, 1, -1e6}, lin, dec,
         {0, 308, 1, -323}, WorldLimit::Farthest},
        {"a flipped axis stays flipped", {1, 1e6, 0, -1e6}, lin, dec, {1, 308, 0, -323},
         WorldLimit::Farthest},
        {"decades within range", {0, 10, 1, -10}, lin, dec, {0, 10, 1, -10}, WorldLimit::None},
    };
    for (const auto& c : cases) {
        const LimitedWorld limited = limitedWorld(c.asked, shown, c.x, c.y);
        EXPECT_EQ(limited.limit, c.limit) << c.name;
        EXPECT_EQ(limited.world, c.expected) << c.name;
    }
}

// A decade label is a number a reader can take in ("1e-300", "0.01"), at
// every world a zoom or a pan can reach, at any length of the axis.
TEST(PlotLayout, DecadeLabelsAreNumbersAtEveryReachableWorld)
{
    const struct {
        const char* name;
        double lo, hi;
        std::size_t labelsFrom300Pixels;  // at least this many labels on a longer axis
    } worlds[] = {
        {"all the decades of doubles", kLowestDecade, kHighestDecade, 2},
        // Denormals are too few bits to step: the decade alone is labelled.
        {"the smallest decades", kLowestDecade, kLowestDecade + 1e-9, 0},
        {"the largest decades", kHighestDecade - 3, kHighestDecade, 2},
        {"about 1", -0.5, 0.5, 2},
        {"within one decade, none whole", -3.4, -3.1, 2},
        {"across one whole decade", -3.9, -2.1, 3},
        {"a hundredth of a decade", -6.005, -5.995, 2},
        {"zoomed in on 1e300", 300, 300 * (1 + 0x1p-40), 2},
        {"zoomed in just below the largest doubles", 308 - 1e-6, 308, 2},
    };
    const auto extent = [](std::string_view text) {
        return 7.0 * static_cast<double>(text.size());
    };
    for (const auto& w : worlds)
        for (const double length : {40.0, 300.0, 3000.0}) {
            const std::vector<AxisTick> ticks =
                axisTicks(w.lo, w.hi, 0, length, AxisScale::Log10, extent, 4, ".");
            EXPECT_LE(ticks.size(), static_cast<std::size_t>(length / 28) + 2) << w.name;
            const auto labels = static_cast<std::size_t>(std::count_if(
                ticks.begin(), ticks.end(), [](const AxisTick& t) { return !t.label.empty(); }));
            if (length >= 300) {
                EXPECT_GE(labels, w.labelsFrom300Pixels) << w.name << " at " << length;
            }
            for (const AxisTick& tick : ticks) {
                EXPECT_GE(tick.value, w.lo) << w.name;
                EXPECT_LE(tick.value, w.hi) << w.name;
                if (tick.label.empty())
                    continue;
                char* end = nullptr;
                const double value = std::strtod(tick.label.c_str(), &end);
                EXPECT_EQ(*end, '\0') << w.name << ": " << tick.label;
                EXPECT_TRUE(std::isfinite(value)) << w.name << ": " << tick.label;
                // Within a hundredth of a decade: 1e-323 is a denormal, a few bits wide.
                EXPECT_NEAR(std::log10(value), tick.value, 0.01) << w.name << ": " << tick.label;
            }
        }
}

TEST(PlotLayout, LegendGoesInsideOnlyWhereItCoversNothing)
{
    struct Case {
        const char* name;
        std::vector<DeviceRect> data;
        std::optional<Corner> expected;
    };
    const Case cases[] = {
        {"empty plot: top right", {}, Corner::TopRight},
        {"one pixel of data top right", {{190, 10, 190, 10}}, Corner::TopLeft},
        {"data within the clearance of the box", {{150, 46, 150, 46}}, Corner::TopLeft},
        {"data in every corner", {{0, 0, 200, 2}, {0, 98, 200, 100}}, std::nullopt},
    };
    for (const Case& c : cases) {
        Occupancy occupancy(200, 100, 1);
        for (const DeviceRect& rect : c.data)
            occupancy.markRect(rect);
        const auto box = freeLegendCorner(occupancy, 60, 40, 4, 3);
        ASSERT_EQ(box.has_value(), c.expected.has_value()) << c.name;
        EXPECT_EQ(freeLegendCornerOf(occupancy, 60, 40, 4, 3), c.expected) << c.name;
        if (box) {
            const DeviceRect expected = cornerRect(*c.expected, 200, 100, 60, 40, 4);
            EXPECT_EQ(box->left, expected.left) << c.name;
            EXPECT_EQ(box->top, expected.top) << c.name;
        }
    }
}

// Title, captions, the tick labels' strips and the plot area never share a
// pixel and stay inside the picture, down to 320 x 240 and with a legend
// strip above or beside; a title wider than the plot area wraps after its
// comma or else at a space, every word kept in order; texts give way, the
// title's last line first, only where the plot area would shrink below its
// least extent.
TEST(PlotLayout, FramePartsLieApartInsideThePicture)
{
    struct Case {
        const char* name;
        double width, height;
        Insets legend;
        FrameMeasures measures;
        std::size_t titleLines;  // expected to be shown
        bool captions;
        const char* firstLine = nullptr;  // of a title that wraps
    };
    const LabelExtent sevenPerByte = [](std::string_view text) { return 7.0 * text.size(); };
    const FrameMeasures texts{15, 40, 12, 18, 15, true, "Runge, 11 evenly spaced nodes",
                              sevenPerByte};
    FrameMeasures noScale = texts;
    noScale.withScale = false;
    FrameMeasures longTitle = texts;
    longTitle.title = "Runge 1/(1 + 25(2x − 1)²), 11 evenly spaced nodes";
    FrameMeasures runOn = texts;
    runOn.title = "Runge 1/(1+25(2x−1)²),11 evenly spaced nodes of the lesson about "
                  "the Runge phenomenon and the Chebyshev points that mend it";
    const Case cases[] = {
        {"the lab's plot", 1100, 560, {}, texts, 1, true},
        {"the smallest plot", 320, 240, {}, texts, 1, true},
        {"legend strip above", 320, 240, {0, 60, 0, 0}, texts, 1, true},
        {"legend strip right", 320, 240, {0, 0, 150, 0}, texts, 3, true, "Runge,"},
        {"too low for the title", 320, 130, {}, texts, 0, true},
        {"too low for any text", 320, 95, {}, texts, 0, false},
        {"without the scale only the title", 320, 240, {}, noScale, 1, false},
        {"a long title on one wide line", 1100, 560, {}, longTitle, 1, true},
        {"a long title wraps after its comma", 320, 240, {}, longTitle, 2, true,
         "Runge 1/(1 + 25(2x − 1)²),"},
        {"too low for the second line", 320, 145, {}, longTitle, 1, true},
        {"three lines at most, broken at spaces", 320, 240, {}, runOn, 3, true,
         "Runge 1/(1+25(2x−1)²),11 evenly"},
    };
    for (const Case& c : cases) {
        const PlotFrame frame = plotFrame(c.width, c.height, c.legend, c.measures);
        ASSERT_EQ(frame.titleLines.size(), c.titleLines) << c.name;
        EXPECT_EQ(!emptyRect(frame.title), c.titleLines > 0) << c.name;
        EXPECT_EQ(!emptyRect(frame.xCaption), c.captions) << c.name;
        EXPECT_EQ(!emptyRect(frame.yCaption), c.captions) << c.name;
        if (c.titleLines > 0) {
            EXPECT_EQ(frame.title.bottom - frame.title.top,
                      c.measures.titleHeight * static_cast<double>(c.titleLines))
                << c.name;
            std::string joined;
            for (const std::string& line : frame.titleLines)
                joined += (joined.empty() ? "" : " ") + line;
            EXPECT_EQ(joined, c.measures.title) << c.name;
            const double room = frame.title.right - frame.title.left;
            for (std::size_t k = 0; k + 1 < frame.titleLines.size(); ++k)
                EXPECT_LE(c.measures.titleWidth(frame.titleLines[k]), room) << c.name;
            if (c.firstLine) {
                EXPECT_EQ(frame.titleLines[0], c.firstLine) << c.name;
            }
        }
        const std::pair<const char*, DeviceRect> parts[] = {
            {"plot area", frame.plotArea}, {"x labels", frame.xLabels},
            {"y labels", frame.yLabels},   {"title", frame.title},
            {"x caption", frame.xCaption}, {"y caption", frame.yCaption},
        };
        for (std::size_t a = 0; a < std::size(parts); ++a) {
            const DeviceRect& r = parts[a].second;
            if (emptyRect(r))
                continue;
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= c.width && r.bottom <= c.height)
                << c.name << ": " << parts[a].first << " leaves the picture";
            for (std::size_t b = a + 1; b < std::size(parts); ++b)
                EXPECT_FALSE(overlapping(r, parts[b].second))
                    << c.name << ": " << parts[a].first << " and " << parts[b].first;
        }
        const DeviceRect strips[] = {
            {0, frame.stripTop, c.width, frame.stripTop + c.legend.top},
            {c.width - c.legend.right, 0, c.width, c.height}};
        for (const DeviceRect& strip : strips) {
            for (const auto& [part, rect] : parts)
                EXPECT_FALSE(overlapping(strip, rect)) << c.name << ": legend and " << part;
        }
        EXPECT_GE(frame.plotArea.bottom - frame.plotArea.top, kMinPlotExtent) << c.name;
        EXPECT_GE(frame.plotArea.right - frame.plotArea.left, kMinPlotExtent) << c.name;
        if (c.captions) {
            EXPECT_EQ(frame.xCaption.left, frame.plotArea.left) << c.name << ": under the plot";
            EXPECT_EQ(frame.yCaption.bottom, frame.plotArea.bottom) << c.name << ": beside it";
        }
    }
}

// Between the decades of a log axis lie unlabelled ticks at 2, 3, ... 9
// times the power of ten, where a decade is wide enough to hold them.
TEST(PlotLayout, DecadeAxesCarryMinorTicksWhereDecadesAreWide)
{
    struct Case {
        const char* name;
        double lo, hi, from, to;
        std::size_t count;
        double firstValue;
    };
    const Case cases[] = {
        {"three decades on 300 pixels", -3, 0, 0, 300, 24, std::log10(2.0) - 3},
        {"upward axis of the error", -2.5, -0.5, 250, 10, 16, std::log10(4.0) - 3},
        {"decades narrower than the least width", -12, 0, 0, 300, 0, 0},
        {"no extent", 1, 1, 0, 300, 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<AxisTick> ticks = minorDecadeTicks(c.lo, c.hi, c.from, c.to);
        ASSERT_EQ(ticks.size(), c.count) << c.name;
        if (ticks.empty())
            continue;
        EXPECT_NEAR(ticks.front().value, c.firstValue, 1e-12) << c.name;
        for (const AxisTick& tick : ticks) {
            EXPECT_TRUE(tick.label.empty()) << c.name;
            EXPECT_NE(tick.value, std::floor(tick.value)) << c.name << ": on a decade";
            EXPECT_NEAR(tick.pixel, c.from + (tick.value - c.lo) / (c.hi - c.lo) * (c.to - c.from),
                        1e-9)
                << c.name;
        }
    }
}

TEST(PlotLayout, DecadeLabelsArePlainNearOneAndExponentsBeyond)
{
    EXPECT_EQ(decadeLabel(0, "."), "1");
    EXPECT_EQ(decadeLabel(-3, ","), "0,001");
    EXPECT_EQ(decadeLabel(2, "."), "100");
    EXPECT_EQ(decadeLabel(-4, "."), "1e-4");
    EXPECT_EQ(decadeLabel(6, "."), "1e6");
    // One axis never mixes "0.001" with "1e-4".
    const struct {
        std::vector<double> exponents;
        std::vector<std::string> labels;
    } axes[] = {
        {{-3, -2, -1, 0}, {"0.001", "0.01", "0.1", "1"}},
        {{-6, -5, -4, -3, -2}, {"1e-6", "1e-5", "1e-4", "1e-3", "1e-2"}},
        {{4, 5, 6}, {"1e4", "1e5", "1e6"}},
        {{-1, -0.5, 0}, {"1e-1", "1e-0.5", "1e0"}},
        {{}, {}},
    };
    for (const auto& axis : axes)
        EXPECT_EQ(decadeLabels(axis.exponents, "."), axis.labels);
    EXPECT_EQ(decadeLabel(-300, "."), "1e-300");
}

TEST_F(SineStudy, LogErrorScalePlacesZeroErrorsBelowTheSmallestDecade)
{
    const LogErrorScale scale = logErrorScale(study);
    double smallest = 1;
    for (const ui::StudyPoint& point : study.interpolated)
        if (const auto error = errorOf(point); error && *error != 0)
            smallest = std::min(smallest, std::abs(*error));
    EXPECT_LT(scale.world.bottom, std::log10(smallest));
    EXPECT_LT(scale.reading.zeroLevel, std::floor(std::log10(smallest)));
    EXPECT_GT(scale.reading.zeroLevel, scale.world.bottom);
    ui::StudyPoint copied = study.given[3];
    copied.exact = copied.y;
    EXPECT_EQ(placedY(copied, scale.reading), scale.reading.zeroLevel);
    ui::StudyPoint off = copied;
    off.y += 0.01;
    EXPECT_NEAR(placedY(off, scale.reading), -2, 1e-9);
}

}  // namespace

}  // namespace tarvel
