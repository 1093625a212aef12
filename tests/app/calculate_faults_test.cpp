// The Calculate command against faults that slipped past its other tests:
// each test is named after the fault it pins.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/status_text.h"
#include "plot/picture_scale.h"
#include "support/data_set_files.h"
#include "support/exact_bits.h"
#include "support/form_state.h"

namespace tarvel {
namespace {

using support::FormSnapshot;
using ui::HeadlessWindow;

const std::string kOverflow =
    "The given values are too large for this method: a coefficient or an interpolated value "
    "overflows the range of numbers. Scale the data down.";

// Pins: the interpolation abscissae formed as i / lastI instead of
// i * (1 / lastI). For these counts the two differ in the last bit at the
// indices listed; the values are those of the product.
TEST(CalculateFaults, InterpolationAbscissaeFormedAsQuotients)
{
    struct Row {
        const char* count;
        int index;
        double x;
    };
    const Row rows[] = {
        {"47", 9, 0x1.90b21642c859p-3},    {"47", 18, 0x1.90b21642c859p-2},
        {"47", 27, 0x1.2c8590b21642cp-1},  {"101", 35, 0x1.6666666666667p-2},
        {"101", 41, 0x1.a3d70a3d70a3ep-2}, {"101", 47, 0x1.e147ae147ae15p-2},
    };
    for (const Row& row : rows) {
        HeadlessWindow w;
        w.form.Command1_Click();
        w.setText("Text_nI", row.count);
        w.form.Command2_Click();
        ASSERT_TRUE(w.messages.messages.empty());
        EXPECT_TRUE(support::sameBitsAs(w.form.xI[static_cast<std::size_t>(row.index)], row.x))
            << "nI " << row.count << ", xI(" << row.index << ")";
    }
}

// Pins: Calculate redrawing without PictureScale. The spline overshoots the
// step, so the world fitted to the given points alone is too small.
TEST(CalculateFaults, RedrawWithoutRescalingToTheInterpolatedValues)
{
    HeadlessWindow w;
    support::TempDir dir;
    support::loadAndShow(w, dir, {0, 0.45, 0.55, 1}, {0, 0, 1, 1});
    const WorldRect afterOk = w.Picture1.world();
    w.select("Option_InterCubc");
    w.form.Command2_Click();
    ASSERT_TRUE(w.messages.messages.empty());
    const Form_Tarvel& f = w.form;
    const auto [lowest, highest] =
        std::minmax_element(f.yI.begin(), f.yI.begin() + static_cast<long>(f.lastI) + 1);
    ASSERT_GT(*highest, 1.0) << "the data must overshoot";
    EXPECT_EQ(f.yMax, *highest);
    EXPECT_EQ(f.yMin, std::min(0.0, *lowest));
    const WorldRect fitted = worldFor({f.yMin, f.yMax});
    EXPECT_EQ(w.Picture1.world().top, fitted.top);
    EXPECT_EQ(w.Picture1.world().bottom, fitted.bottom);
    EXPECT_GT(w.Picture1.world().top, afterOk.top);
}

// Pins: the finiteness check of the coefficients dropped, leaving only that
// of yI. With two interpolation points both are copied from given points,
// so only the coefficients overflow.
TEST(CalculateFaults, CoefficientFinitenessCheckDropped)
{
    for (const char* method : {"Option_InterCubc", "Option_InterPwCb"}) {
        HeadlessWindow w;
        support::TempDir dir;
        support::loadAndShow(w, dir, {0, 0.5, 1}, {1e308, 0, 1e308});
        w.select(method);
        w.setText("Text_nI", "2");
        const FormSnapshot before = FormSnapshot::of(w);
        w.form.Command2_Click();
        EXPECT_EQ(w.messages.messages, std::vector<std::string>{kOverflow}) << method;
        support::expectRefusalUnchanged(before, FormSnapshot::of(w), method);
    }
}

// Pins: a changed name of the entry in the message for a number too large
// to hold (the box and the words must match for every entry Calculate reads).
TEST(CalculateFaults, TooLargeNumberMessageNamesTheWrongEntry)
{
    struct Row {
        const char* box;
        const char* what;
    };
    const Row rows[] = {
        {"Text_nI", "number of interpolation points"},
        {"Text_nU", "number of given points"},
        {"Text_nDeg", "degree of the polynomial"},
    };
    for (const Row& row : rows) {
        HeadlessWindow w;
        w.form.Command1_Click();
        w.setText(row.box, "1e400");
        w.form.Command2_Click();
        EXPECT_EQ(w.messages.messages,
                  std::vector<std::string>{std::string("The ") + row.what +
                                           " is too large to be held as a number; numbers must "
                                           "lie between -1.7E+308 and 1.7E+308."})
            << row.box;
    }
}

// Pins: the overflow blamed on the method when the given values are large
// and negative: the largest value taken without its sign.
TEST(CalculateFaults, LargeNegativeValuesBlamedOnTheMethod)
{
    for (const char* method : {"Option_InterCubc", "Option_InterPwCb"}) {
        HeadlessWindow w;
        support::TempDir dir;
        support::loadAndShow(w, dir, {0, 0.5, 1}, {0, -1e308, 0});
        w.select(method);
        w.setText("Text_nI", "5");
        w.form.Command2_Click();
        EXPECT_EQ(w.messages.messages, std::vector<std::string>{kOverflow}) << method;
    }
}

// Pins: a fractional count compared as it reads with the points sampled:
// 5.5 given points reach indices 0..4, which the five sampled points hold.
TEST(CalculateFaults, FractionalCountOverTheSampledPointsRefused)
{
    HeadlessWindow w;
    w.setText("Text_nU", "5");
    w.form.Command1_Click();
    w.setText("Text_nU", "5.5");
    w.form.Command2_Click();
    EXPECT_TRUE(w.messages.messages.empty()) << w.messages.messages.front();
    EXPECT_EQ(w.form.nU, 5.5);
}

// Pins: the x of the largest error taken from the last of equal errors.
TEST(CalculateFaults, LargestErrorAtTheLastOfEqualErrors)
{
    const std::vector<ui::StudyPoint> points = {
        {0, 0.1, 1.0, 0.5}, {1, 0.2, 0.0, 0.5}, {2, 0.3, 0.5, 0.5}, {3, 0.4, 1.0, 0.5}};
    const std::optional<ErrorFigure> figure = errorFigure(points);
    ASSERT_TRUE(figure);
    EXPECT_EQ(figure->largest, 0.5);
    EXPECT_EQ(figure->at, 0.1);
}

// Pins: the note on negative degrees written for degree 0, which keeps the
// value of the nearest given point to the left instead of giving 0.
TEST(CalculateFaults, NegativeDegreeNoteForDegreeZero)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.setText("Text_nDeg", "0");
    w.form.Command2_Click();
    ASSERT_TRUE(w.messages.messages.empty());
    EXPECT_EQ(w.statusLine.current().find("negative"), std::string::npos)
        << w.statusLine.current();
    w.setText("Text_nDeg", "-0.5");
    w.form.Command2_Click();
    EXPECT_NE(w.statusLine.current().find("A negative degree gives 0"), std::string::npos)
        << w.statusLine.current();
}

struct WindowRow {
    const char* name;
    std::vector<double> xU;
    const char* degree;
    std::string message;
};

// Pins: the check of the polynomial windows skipping the last interval, and
// looking at one point too few of each window. In both data sets only the
// window named holds the equal abscissae, and only at the place named.
TEST(CalculateFaults, PolynomialWindowCheckMissesTheLastIntervalOrTheLastPoint)
{
    const WindowRow rows[] = {
        {"equal pair only in the window of the last interval",
         {0, 0.25, 0.5, 0.5, 1},
         "2",
         "Polynomial interpolation needs distinct abscissae; given points 2 and 3 both have "
         "x = 0.5000."},
        {"equal pair only as the last point of a window",
         {0, 0.2, 0.4, 0.6, 0.8, 0.8},
         "3",
         "Polynomial interpolation needs distinct abscissae; given points 4 and 5 both have "
         "x = 0.8000."},
    };
    for (const WindowRow& row : rows) {
        HeadlessWindow w;
        support::TempDir dir;
        support::loadAndShow(w, dir, row.xU, std::vector<double>(row.xU.size(), 1.0));
        w.setText("Text_nDeg", row.degree);
        w.form.Command2_Click();
        EXPECT_EQ(w.messages.messages, std::vector<std::string>{row.message}) << row.name;
    }
}

struct CapacityRow {
    const char* name;
    const char* method;
    const char* nU;
    const char* nI;
    std::string message;  // empty: accepted
};

// Pins: limits checked with >= instead of >, refusing 1001 interpolation or
// given points, 101 points for the cubic spline or 302 for the PW spline;
// and the rows one past each limit, which must be refused.
TEST(CalculateFaults, CountsAtEachCapacityAcceptedAndOnePastRefused)
{
    const CapacityRow rows[] = {
        {"1001 interpolation points", "Option_Tarvel", "11", "1001", ""},
        {"1002 interpolation points", "Option_Tarvel", "11", "1002",
         "The number of interpolation points Ni must not be 1 (no spacing) and must not exceed "
         "1001; it is 1002."},
        {"1001 given points", "Option_Tarvel", "1001", "150", ""},
        {"101 points, cubic spline", "Option_InterCubc", "101", "150", ""},
        {"102 points, cubic spline", "Option_InterCubc", "102", "150",
         "The cubic spline takes from 1 to 101 given points; there are 102."},
        {"302 points, PW spline", "Option_InterPwCb", "302", "150", ""},
        {"303 points, PW spline", "Option_InterPwCb", "303", "150",
         "The PW cubic spline takes from 2 to 302 given points; there are 303."},
    };
    for (const CapacityRow& row : rows) {
        HeadlessWindow w;
        w.setText("Text_nU", row.nU);
        w.form.Command1_Click();
        ASSERT_TRUE(w.messages.messages.empty()) << row.name;
        w.select(row.method);
        w.setText("Text_nI", row.nI);
        w.form.Command2_Click();
        const std::vector<std::string> expected = row.message.empty()
                                                      ? std::vector<std::string>{}
                                                      : std::vector<std::string>{row.message};
        EXPECT_EQ(w.messages.messages, expected) << row.name;
        if (row.message.empty()) {
            EXPECT_EQ(w.form.lastI, std::stod(row.nI) - 1) << row.name;
        }
    }
}

// Pins: the first interpolated point drawn with the radius of the given
// points. Every interpolated circle is small and blue, every given one
// larger and red.
TEST(CalculateFaults, FirstInterpolatedCircleDrawnWithTheGivenRadius)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.form.Command2_Click();
    std::size_t blue = 0;
    for (const DrawOp& op : w.Picture1.ops()) {
        if (op.kind != DrawOp::Kind::Circle)
            continue;
        if (op.colour == ui::kBlue) {
            EXPECT_EQ(op.radius, 0.001) << "interpolated circle " << blue;
            ++blue;
        } else {
            EXPECT_EQ(op.colour, ui::kRed);
            EXPECT_EQ(op.radius, 0.005);
        }
    }
    EXPECT_EQ(blue, 150u);
}

}  // namespace
}  // namespace tarvel
