// The Calculate command over the headless toolkit: the interpolation points,
// the evaluation loop, the coefficient listings and the refusals.
#include <gtest/gtest.h>

#include <cmath>

#include "support/data_set_files.h"
#include "support/form_state.h"

namespace tarvel {
namespace {

using support::FormSnapshot;
using ui::HeadlessWindow;

std::size_t countOps(const Drawing& picture, DrawOp::Kind kind, std::optional<ui::Colour> colour)
{
    std::size_t count = 0;
    for (const DrawOp& op : picture.ops())
        count += op.kind == kind && op.colour == colour;
    return count;
}

// Loads the points from a file in the window's browser directory and
// presses OK.
void useDataSet(HeadlessWindow& w, const std::vector<double>& xs, const std::vector<double>& ys)
{
    support::loadPoints(w, xs, ys);
    w.form.Command1_Click();
}

TEST(CalculateCommand, RefusedBeforeOk)
{
    HeadlessWindow w;
    const FormSnapshot before = FormSnapshot::of(w);
    w.form.Command2_Click();
    EXPECT_EQ(w.messages.messages, std::vector<std::string>{"Set the test function first !"});
    support::expectUnchanged(before, FormSnapshot::of(w), "before OK");
    EXPECT_EQ(w.form.lastI, 0) << "no interpolation point is built";
}

TEST(CalculateCommand, DefaultLinearInterpolationOfTheSine)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.form.Command2_Click();
    const Form_Tarvel& f = w.form;
    ASSERT_EQ(f.lastI, 149);
    EXPECT_EQ(f.yI[0], f.yU[0]);
    EXPECT_EQ(f.xI[149], 1.0);
    EXPECT_EQ(f.yI[149], f.yU[10]) << "copied from the last given point";
    for (int i = 1; i < 149; ++i) {
        const int j = static_cast<int>(std::floor(f.xI[i] * 10));
        ASSERT_TRUE(f.xU[j] < f.xI[i] && f.xI[i] < f.xU[j + 1]) << "point " << i;
        const double expected = 0.0 +
                                ((f.xI[i] - f.xU[j + 1]) / (f.xU[j] - f.xU[j + 1])) * f.yU[j] +
                                ((f.xI[i] - f.xU[j]) / (f.xU[j + 1] - f.xU[j])) * f.yU[j + 1];
        EXPECT_EQ(f.yI[i], expected) << "point " << i;
    }
    EXPECT_EQ(w.List1.lines.size(), 14u) << "polynomial interpolation lists nothing";
    EXPECT_EQ(countOps(w.Picture1, DrawOp::Kind::Circle, ui::kBlue), 150u);
    EXPECT_EQ(w.Picture1.ops().back().kind, DrawOp::Kind::Circle);
    EXPECT_EQ(w.Picture1.ops().back().colour, ui::kBlue) << "interpolated points lie on top";
    EXPECT_EQ(w.Picture1.ops().back().radius, 0.001);
}

TEST(CalculateCommand, PolynomialMethodReproducesThePolynomialTestFunction)
{
    for (const char* degree : {"2", "3", "4"}) {
        HeadlessWindow w;
        w.select("Option_Polynom");
        w.setText("Text_nPoly", degree);
        w.setText("Text_a1", "-3");
        w.setText("Text_a3", "2.5");
        w.setText("Text_nU", "13");
        w.form.Command1_Click();
        w.setText("Text_nDeg", "4");
        w.setText("Text_nI", "97");
        w.form.Command2_Click();
        ASSERT_TRUE(w.messages.messages.empty());
        for (int i = 0; i <= 96; ++i)
            EXPECT_NEAR(w.form.yI[i], w.form.Polynom(w.form.nPoly, w.form.xI[i]), 1e-13)
                << "degree " << degree << ", point " << i;
    }
}

TEST(CalculateCommand, DegreeCheck)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.setText("Text_nDeg", "10");
    w.form.Command2_Click();
    EXPECT_TRUE(w.messages.messages.empty()) << "nDeg = nU - 1 passes";

    w.setText("Text_nDeg", "11");
    w.setText("Text_nI", "20");
    const FormSnapshot before = FormSnapshot::of(w);
    w.form.Command2_Click();
    EXPECT_EQ(w.messages.messages, std::vector<std::string>{"nDeg must be lower then 11"});
    const FormSnapshot after = FormSnapshot::of(w);
    EXPECT_EQ(after.lastI, 19) << "the new interpolation points stay";
    EXPECT_EQ(after.nDeg, 11) << "the degree read stays";
    EXPECT_TRUE(support::sameBits(before.yI, after.yI));
    EXPECT_EQ(before.lines, after.lines);
    EXPECT_EQ(before.drawOps, after.drawOps);
}

TEST(CalculateCommand, NonNumericCountRefusesEveryDegree)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.setText("Text_nU", "abc");
    w.setText("Text_nDeg", "0");
    w.form.Command2_Click();
    EXPECT_EQ(w.messages.messages, std::vector<std::string>{"nDeg must be lower then 0"});
}

TEST(CalculateCommand, NegativeDegreeGivesZeroInside)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.setText("Text_nDeg", "-2");
    w.form.Command2_Click();
    EXPECT_EQ(w.form.yI[1], 0.0);
    EXPECT_EQ(w.form.yI[149], w.form.yU[10]);
}

TEST(CalculateCommand, CubicSplineAppendsItsTable)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.select("Option_InterCubc");
    w.form.Command2_Click();
    ASSERT_EQ(w.List1.lines.size(), 14u + 3u + 10u);
    EXPECT_EQ(w.List1.lines[14], " ");
    EXPECT_EQ(w.List1.lines[15], "Cubic spline coefficients");
    EXPECT_EQ(w.List1.lines[16], " ");
    // Row 0 from a dense solve of the same system: slope 6.27748, cubic term -39.96309.
    EXPECT_EQ(w.List1.lines[17], "0   0.0000   6.2775   0.0000   -39.9631   ");
    EXPECT_EQ(w.List1.lines[26].substr(0, 2), "9 ");
    // Calculate never clears the list: a second run appends again.
    w.form.Command2_Click();
    EXPECT_EQ(w.List1.lines.size(), 14u + 2 * 13u);
    EXPECT_EQ(countOps(w.Picture1, DrawOp::Kind::Circle, ui::kBlue), 150u);
}

TEST(CalculateCommand, PwSplineAppendsItsTableAndPassesThroughThePoints)
{
    HeadlessWindow w;
    w.setText("Text_nU", "4");
    w.form.Command1_Click();
    w.select("Option_InterPwCb");
    w.setText("Text_nI", "7");
    w.form.Command2_Click();
    ASSERT_EQ(w.List1.lines.size(), 7u + 3u + 3u);
    EXPECT_EQ(w.List1.lines[11].substr(0, 4), "1   ");
    EXPECT_EQ(w.form.yI[2], w.form.yU[1]) << "2 * (1/6) equals 1/3: the value is copied";
}

TEST(CalculateCommand, PointsOutsideEveryIntervalKeepTheirValue)
{
    HeadlessWindow w;
    w.select("Option_Cos10Fu");
    w.form.Command1_Click();
    w.form.Command2_Click();
    ASSERT_EQ(w.form.yI[149], 1.0);
    w.select("Option_SinFunc");
    w.setText("Text_nU", "50");
    w.form.Command1_Click();
    w.form.Command2_Click();
    ASSERT_LT(w.form.xU[49], 1.0);
    EXPECT_EQ(w.form.xI[149], 1.0);
    EXPECT_EQ(w.form.yI[149], 1.0) << "1 lies above the last given point and keeps its value";
}

TEST(CalculateCommand, LoweringTheCountLeavesStaleEntriesUndrawn)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.form.Command2_Click();
    const double stale = w.form.yI[100];
    w.setText("Text_nI", "10");
    w.form.Command2_Click();
    EXPECT_EQ(w.form.yI[100], stale);
    EXPECT_EQ(countOps(w.Picture1, DrawOp::Kind::Circle, ui::kBlue), 10u);
}

TEST(CalculateCommand, EditedCountRestrictsTheGivenPoints)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.form.Command2_Click();
    const FormSnapshot first = FormSnapshot::of(w);
    w.select("Option_InterCubc");
    w.setText("Text_nU", "6");
    w.form.Command2_Click();
    EXPECT_EQ(w.form.nU, 6);
    EXPECT_EQ(w.List1.lines.size(), 14u + 3u + 5u);
    for (int i = 0; i <= 149; ++i) {
        if (w.form.xI[i] > 0.5) {
            EXPECT_EQ(w.form.yI[i], first.yI[i]) << "point " << i << " lies beyond point 5";
        }
    }
}

TEST(CalculateCommand, FractionalCountsUseTheWholePart)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.setText("Text_nI", "10.5");
    w.setText("Text_nDeg", "2.5");
    w.form.Command2_Click();
    ASSERT_TRUE(w.messages.messages.empty());
    EXPECT_EQ(w.form.lastI, 9.5);
    EXPECT_EQ(w.form.xI[9], 9 * (1 / 9.5));
    EXPECT_EQ(countOps(w.Picture1, DrawOp::Kind::Circle, ui::kBlue), 10u);
}

// Index 0 was drawn even when no interpolation point was built, showing
// whatever an earlier run had left there.
TEST(CalculateCommand, NoInterpolationPointDrawsNoStaleCircle)
{
    for (const char* count : {"0", "abc", "-4", "0.5"}) {
        HeadlessWindow w;
        w.form.Command1_Click();
        w.setText("Text_nI", count);
        w.form.Command2_Click();
        EXPECT_TRUE(w.messages.messages.empty()) << count;
        EXPECT_LT(w.form.lastI, 0) << count;
        EXPECT_EQ(countOps(w.Picture1, DrawOp::Kind::Circle, ui::kBlue), 0u) << count;
    }
}

struct CalcRefusal {
    const char* name;
    std::function<void(HeadlessWindow&)> prepare;
    std::string message;
};

TEST(CalculateCommand, RefusalsChangeNeitherValuesNorListNorPicture)
{
    const CalcRefusal refusals[] = {
        {"one interpolation point", [](HeadlessWindow& w) { w.setText("Text_nI", "1"); },
         "The number of interpolation points Ni must not be 1 (no spacing) and must not exceed "
         "1001; it is 1."},
        {"too many interpolation points", [](HeadlessWindow& w) { w.setText("Text_nI", "1002"); },
         "The number of interpolation points Ni must not be 1 (no spacing) and must not exceed "
         "1001; it is 1002."},
        {"interpolation count beyond the numbers",
         [](HeadlessWindow& w) { w.setText("Text_nI", "1e400"); },
         "The number of interpolation points is too large to be held as a number; numbers must "
         "lie between -1.7E+308 and 1.7E+308."},
        {"degree beyond the numbers", [](HeadlessWindow& w) { w.setText("Text_nDeg", "-1e400"); },
         "The degree of the polynomial is too large to be held as a number; numbers must lie "
         "between -1.7E+308 and 1.7E+308."},
        {"too many given points", [](HeadlessWindow& w) { w.setText("Text_nU", "1002"); },
         "The number of given points must not exceed 1001; it is 1002."},
        {"degree above 100",
         [](HeadlessWindow& w) {
             w.setText("Text_nU", "150");
             w.form.Command1_Click();
             w.setText("Text_nDeg", "101");
         },
         "Polynomial interpolation takes a degree of at most 100; it is 101."},
        {"cubic spline beyond 101 points",
         [](HeadlessWindow& w) {
             w.setText("Text_nU", "102");
             w.form.Command1_Click();
             w.select("Option_InterCubc");
         },
         "The cubic spline takes from 1 to 101 given points; there are 102."},
        {"cubic spline without points",
         [](HeadlessWindow& w) {
             w.setText("Text_nU", "0");
             w.select("Option_InterCubc");
         },
         "The cubic spline takes from 1 to 101 given points; there are 0."},
        {"PW spline with one point",
         [](HeadlessWindow& w) {
             w.setText("Text_nU", "1");
             w.select("Option_InterPwCb");
         },
         "The PW cubic spline takes from 2 to 302 given points; there are 1."},
        {"PW spline beyond 302 points",
         [](HeadlessWindow& w) {
             w.setText("Text_nU", "303");
             w.form.Command1_Click();
             w.select("Option_InterPwCb");
         },
         "The PW cubic spline takes from 2 to 302 given points; there are 303."},
        {"equal abscissae in a window",
         [](HeadlessWindow& w) {
             useDataSet(w, {0, 0.2, 0.2, 0.6, 1}, {0, 1, 2, 3, 4});
             w.setText("Text_nDeg", "2");
         },
         "Polynomial interpolation needs distinct abscissae; given points 1 and 2 both have "
         "x = 0.2000."},
        {"cubic spline with equal neighbours",
         [](HeadlessWindow& w) {
             useDataSet(w, {0, 0.5, 0.5, 1}, {0, 1, 2, 3});
             w.select("Option_InterCubc");
         },
         "The cubic spline needs distinct abscissae; given points 1 and 2 both have x = 0.5000."},
        {"cubic spline over points out of order",
         [](HeadlessWindow& w) {
             useDataSet(w, {0, 1, 0}, {0, 1, 2});
             w.select("Option_InterCubc");
         },
         "The given points must be in increasing or decreasing order of x; given point 2 "
         "(x = 0) is out of order after given point 1 (x = 1)."},
        {"PW spline over points out of order",
         [](HeadlessWindow& w) {
             useDataSet(w, {0, 1, 0}, {0, 1, 2});
             w.select("Option_InterPwCb");
         },
         "The given points must be in increasing or decreasing order of x; given point 2 "
         "(x = 0) is out of order after given point 1 (x = 1)."},
        {"cubic spline whose values overflow",
         [](HeadlessWindow& w) {
             useDataSet(w, {0, 0.5, 1}, {1.5e308, -1.5e308, 1.5e308});
             w.select("Option_InterCubc");
         },
         "The given values are too large for this method: a coefficient or an interpolated "
         "value overflows the range of numbers. Scale the data down."},
        {"polynomial interpolation whose values overflow",
         [](HeadlessWindow& w) {
             useDataSet(w, {0, 1e-3, 1}, {1.7e308, -1.7e308, 1.7e308});
             w.setText("Text_nDeg", "2");
         },
         "The given values are too large for this method: a coefficient or an interpolated "
         "value overflows the range of numbers. Scale the data down."},
        {"PW spline with a width whose cube underflows",
         [](HeadlessWindow& w) {
             useDataSet(w, {0, 1e-120, 1}, {0, 1, 2});
             w.select("Option_InterPwCb");
         },
         "The PW cubic spline needs given points further apart; given points 0 and 1 are too "
         "close for the cube of their distance to be held."},
        {"PW spline with equal neighbours",
         [](HeadlessWindow& w) {
             useDataSet(w, {0, 0.5, 1, 1}, {0, 1, 2, 3});
             w.select("Option_InterPwCb");
         },
         "The PW cubic spline needs distinct abscissae; given points 2 and 3 both have x = "
         "1.0000."},
        {"polynomial that grows beyond the numbers between close abscissae",
         [](HeadlessWindow& w) {
             useDataSet(w, {0, 1e-310, 1}, {0, 1, 0});
             w.setText("Text_nDeg", "2");
         },
         "The polynomial of degree 2 through these abscissae grows too large between them: an "
         "interpolated value overflows the range of numbers, although the given values are not "
         "large. Choose a lower degree."},
        {"cubic spline that grows beyond the numbers between close abscissae",
         [](HeadlessWindow& w) {
             useDataSet(w, {0, 1e-310, 1}, {0, 1, 0});
             w.select("Option_InterCubc");
         },
         "The cubic spline grows too large between these abscissae: a coefficient or an "
         "interpolated value overflows the range of numbers, although the given values are not "
         "large. Given points that lie very close together cause this; spread them further "
         "apart."},
    };
    for (const CalcRefusal& r : refusals) {
        support::TempDir dir;
        HeadlessWindow w(dir.path());
        w.form.Command1_Click();
        w.form.Command2_Click();  // values to keep
        r.prepare(w);
        w.messages.messages.clear();
        const FormSnapshot before = FormSnapshot::of(w);
        w.form.Command2_Click();
        EXPECT_EQ(w.messages.messages, std::vector<std::string>{r.message}) << r.name;
        const FormSnapshot after = FormSnapshot::of(w);
        SCOPED_TRACE(r.name);
        EXPECT_TRUE(support::sameBits(before.yI, after.yI)) << "yI changed";
        EXPECT_TRUE(support::sameBits(before.xU, after.xU)) << "xU changed";
        EXPECT_EQ(before.lines, after.lines);
        EXPECT_EQ(before.drawOps, after.drawOps);
    }
}

TEST(CalculateCommand, EqualAbscissaeOutsideEveryWindowAreAccepted)
{
    support::TempDir dir;
    HeadlessWindow w(dir.path());
    // Points 3 and 4 coincide; with degree 1 no window holds both, since the
    // empty interval between them holds no point.
    useDataSet(w, {0, 0.25, 0.5, 0.75, 0.75, 1}, {0, 1, 0, 1, 5, 0});
    w.form.Command2_Click();
    EXPECT_TRUE(w.messages.messages.empty());
}

}  // namespace
}  // namespace tarvel
