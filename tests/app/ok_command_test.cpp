// The OK command over the headless toolkit: sampling, the list, the drawing
// and the refusals that must leave everything as it was.
#include <gtest/gtest.h>

#include <cmath>

#include "support/data_set_files.h"
#include "support/form_state.h"

namespace tarvel {
namespace {

using support::FormSnapshot;
using ui::HeadlessWindow;

const double kTwoPi = std::atan(1.0) * 4.0 * 2;

std::size_t countOps(const Drawing& picture, DrawOp::Kind kind)
{
    std::size_t count = 0;
    for (const DrawOp& op : picture.ops())
        count += op.kind == kind;
    return count;
}

TEST(FormLoad, SetsPiAndLeavesEverythingEmpty)
{
    HeadlessWindow w;
    EXPECT_EQ(w.form.Pi, 3.141592653589793);
    EXPECT_EQ(w.form.TwoPi, 6.283185307179586);
    EXPECT_FALSE(w.form.dataReady);
    EXPECT_TRUE(w.List1.lines.empty());
    EXPECT_TRUE(w.Picture1.ops().empty());
}

TEST(FormLoad, TheTestFunctionsReadTheTwoPiItSets)
{
    HeadlessWindow w;
    EXPECT_EQ(w.form.SinFunc(0.1), std::sin(kTwoPi * 0.1));
    w.form.TwoPi = 4;
    EXPECT_EQ(w.form.SinFunc(0.1), std::sin(4 * 0.1));
    EXPECT_EQ(w.form.Cos10Fu(0.1), std::pow(std::cos(4 * 0.1), 10.0));
}

TEST(FormLoad, ControlsStartInTheirInitialState)
{
    HeadlessWindow w;
    const std::pair<const char*, const char*> texts[] = {
        {"Text_nU", "11"}, {"Text_nPoly", "4"}, {"Text_a0", "1"},
        {"Text_a1", "1"},  {"Text_a2", "1"},    {"Text_a3", "1"},
        {"Text_a4", "1"},  {"Text_nI", "150"},  {"Text_nDeg", "1"}};
    for (const auto& [name, text] : texts)
        EXPECT_EQ(w.textBox(name).text(), text) << name;
    EXPECT_TRUE(w.Option_SinFunc.selected);
    EXPECT_TRUE(w.Option_Tarvel.selected);
    EXPECT_FALSE(w.Option_Cos10Fu.selected || w.Option_Polynom.selected ||
                 w.Option_DataSet.selected || w.Option_InterCubc.selected ||
                 w.Option_InterPwCb.selected);
    EXPECT_FALSE(w.Frame_Poly.visible);
    EXPECT_FALSE(w.Frame_DataSet.visible);
    EXPECT_TRUE(w.Frame_nDeg.visible);
}

TEST(OkCommand, DefaultSineListsFourteenLines)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    ASSERT_EQ(w.List1.lines.size(), 14u);
    EXPECT_EQ(w.List1.lines[0], " ");
    EXPECT_EQ(w.List1.lines[1], "Data points");
    EXPECT_EQ(w.List1.lines[2], " ");
    EXPECT_EQ(w.List1.lines[3], "0   0.0000   0.0000");
    EXPECT_EQ(w.List1.lines[4], "1   0.1000   0.5878");
    EXPECT_EQ(w.List1.lines[6], "3   0.3000   0.9511");
    EXPECT_EQ(w.List1.lines[9], "6   0.6000   -0.5878");
    EXPECT_EQ(w.List1.lines[13], "10   1.0000   0.0000") << "sin(2 pi) is a hair below 0";
    EXPECT_TRUE(w.form.dataReady);
    EXPECT_TRUE(w.messages.messages.empty());
}

TEST(OkCommand, AbscissaeAreProductsOfTheStep)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    const double step = 1.0 / 10;
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(w.form.xU[i], i * step) << "index " << i;
        EXPECT_EQ(w.form.yU[i], std::sin(kTwoPi * (i * step))) << "index " << i;
    }
    EXPECT_NE(w.form.xU[3], 3.0 / 10) << "3 * (1/10) differs from 3/10 in the last bits";
    EXPECT_EQ(w.form.nU, 11);
    EXPECT_EQ(w.form.lastU, 10);
}

TEST(OkCommand, TwoPointsSpanTheInterval)
{
    HeadlessWindow w;
    w.setText("Text_nU", "2");
    w.form.Command1_Click();
    EXPECT_EQ(w.form.xU[0], 0.0);
    EXPECT_EQ(w.form.xU[1], 1.0);
    EXPECT_EQ(w.List1.lines.size(), 5u);
}

struct PolynomialCase {
    const char* name;
    const char* degree;
    std::array<const char*, 5> coefs;
    std::function<double(double)> expected;
};

TEST(OkCommand, PolynomialTestFunction)
{
    const PolynomialCase cases[] = {
        {"default quartic",
         "4",
         {"1", "1", "1", "1", "1"},
         [](double x) {
             return (1 + 1 * std::pow(x, 1) + std::pow(x, 2) + std::pow(x, 3) + std::pow(x, 4)) / 5;
         }},
        {"degree 2.5 sums k = 0, 1, 2 and divides by 3.5",
         "2.5",
         {"1", "2", "3", "100", "100"},
         [](double x) { return (1 + 2 * x + 3 * std::pow(x, 2)) / 3.5; }},
        {"degree 0 is a0 / 1", "0", {"7", "5", "5", "5", "5"}, [](double) { return 7.0; }},
        {"negative coefficients",
         "3",
         {"-1", "0.5", "-2", "4", "9"},
         [](double x) { return (-1 + 0.5 * x + -2 * std::pow(x, 2) + 4 * std::pow(x, 3)) / 4; }},
    };
    for (const PolynomialCase& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessWindow w;
        w.select("Option_Polynom");
        w.setText("Text_nU", "9");
        w.setText("Text_nPoly", c.degree);
        const char* boxes[] = {"Text_a0", "Text_a1", "Text_a2", "Text_a3", "Text_a4"};
        for (int k = 0; k < 5; ++k)
            w.setText(boxes[k], c.coefs[static_cast<std::size_t>(k)]);
        w.form.Command1_Click();
        ASSERT_TRUE(w.messages.messages.empty());
        for (int i = 0; i <= 8; ++i)
            EXPECT_NEAR(w.form.yU[i], c.expected(i * (1.0 / 8)), 1e-15) << "index " << i;
    }
}

TEST(OkCommand, DefaultPolynomialValues)
{
    HeadlessWindow w;
    w.select("Option_Polynom");
    w.setText("Text_nU", "3");
    w.form.Command1_Click();
    EXPECT_EQ(w.form.yU[0], 0.2);
    EXPECT_EQ(w.form.yU[1], 0.3875);
    EXPECT_EQ(w.form.yU[2], 1.0);
    EXPECT_EQ(w.List1.lines[4], "1   0.5000   0.3875");
}

TEST(OkCommand, Cos10IsOneAtTheEndsAndZeroAtTheQuarters)
{
    HeadlessWindow w;
    w.select("Option_Cos10Fu");
    w.setText("Text_nU", "5");
    w.form.Command1_Click();
    EXPECT_EQ(w.List1.lines[3], "0   0.0000   1.0000");
    EXPECT_EQ(w.List1.lines[4], "1   0.2500   0.0000");
    EXPECT_EQ(w.List1.lines[5], "2   0.5000   1.0000");
    EXPECT_EQ(w.List1.lines[6], "3   0.7500   0.0000");
    EXPECT_EQ(w.List1.lines[7], "4   1.0000   1.0000");
}

TEST(OkCommand, ListUsesTheLocaleDecimalSeparator)
{
    HeadlessWindow w({}, ",");
    w.form.Command1_Click();
    EXPECT_EQ(w.List1.lines[9], "6   0,6000   -0,5878");
}

TEST(OkCommand, DrawsAxesCurveAndCircles)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    const auto& ops = w.Picture1.ops();
    ASSERT_EQ(ops.size(), 2u + 1u + 100u + 11u);
    EXPECT_EQ(ops[0].kind, DrawOp::Kind::Line);
    EXPECT_FALSE(ops[0].colour) << "axes use the foreground colour";
    EXPECT_EQ(ops[0].x2, 1.0);
    EXPECT_EQ(ops[1].y1, w.form.yMin);
    EXPECT_EQ(ops[1].y2, w.form.yMax);
    EXPECT_EQ(ops[2].kind, DrawOp::Kind::Point);
    EXPECT_FALSE(ops[2].colour);
    for (std::size_t k = 3; k < 103; ++k) {
        EXPECT_EQ(ops[k].kind, DrawOp::Kind::LineTo) << k;
        EXPECT_EQ(ops[k].colour, ui::kRed) << k;
    }
    EXPECT_EQ(ops[102].x2, 1.0000000000000007) << "the last vertex lies a hair above 1";
    for (std::size_t k = 103; k < ops.size(); ++k) {
        EXPECT_EQ(ops[k].kind, DrawOp::Kind::Circle);
        EXPECT_EQ(ops[k].radius, 0.005);
        EXPECT_EQ(ops[k].colour, ui::kRed);
        EXPECT_EQ(ops[k].x1, w.form.xU[k - 103]);
    }
    EXPECT_EQ(countOps(w.Picture1, DrawOp::Kind::Line), 2u) << "sampled points are not joined";
}

TEST(OkCommand, CurveHasTheSameSegmentsForAnyCount)
{
    for (const char* count : {"2", "1001"}) {
        HeadlessWindow w;
        w.setText("Text_nU", count);
        w.form.Command1_Click();
        EXPECT_EQ(countOps(w.Picture1, DrawOp::Kind::LineTo), 100u) << count;
    }
}

TEST(OkCommand, DataSetPointsAreListedAndJoined)
{
    support::TempDir dir;
    HeadlessWindow w(dir.path());
    support::loadPoints(w, {0.0, 0.25, 0.8}, {1.0, -2.0, 0.5});
    w.form.Command1_Click();
    EXPECT_EQ(w.List1.lines[4], "1   0.2500   -2.0000");
    EXPECT_EQ(w.form.xU[2], 0.8) << "the loaded points are not resampled";
    EXPECT_EQ(countOps(w.Picture1, DrawOp::Kind::Circle), 3u);
    EXPECT_EQ(countOps(w.Picture1, DrawOp::Kind::Line), 2u + 2u);
    // With no test function the curve lies along y = 0.
    for (const DrawOp& op : w.Picture1.ops()) {
        if (op.kind == DrawOp::Kind::LineTo) {
            EXPECT_EQ(op.y2, 0.0f);
        }
    }
}

// OK once formed the sampling step 1 / lastU before looking at the option,
// dividing by zero for a data set of one point.
TEST(OkCommand, OnePointDataSetFormsNoSamplingStep)
{
    support::TempDir dir;
    HeadlessWindow w(dir.path());
    support::loadPoints(w, {0.25}, {-3});
    w.form.Command1_Click();
    EXPECT_TRUE(w.messages.messages.empty());
    ASSERT_EQ(w.List1.lines.size(), 4u);
    EXPECT_EQ(w.List1.lines[3], "0   0.2500   -3.0000");
}

TEST(OkCommand, NoOptionSelectedAsksForOneAndListsThePointsAsTheyStand)
{
    HeadlessWindow w;
    w.form.Command1_Click();
    w.Option_SinFunc.selected = false;
    w.form.Command1_Click();
    EXPECT_EQ(w.messages.messages, std::vector<std::string>{"Choose an option"});
    EXPECT_EQ(w.List1.lines.size(), 14u);
    EXPECT_TRUE(w.form.dataReady);
}

struct Refusal {
    const char* name;
    const char* option;
    const char* box;
    const char* text;
    const char* message;
};

TEST(OkCommand, RefusalsChangeNothing)
{
    const Refusal refusals[] = {
        {"one point of a test function", "Option_SinFunc", "Text_nU", "1",
         "The number of given points must lie from 2 to 1001 for a test function; it is 1."},
        {"no point", "Option_Cos10Fu", "Text_nU", "abc",
         "The number of given points must lie from 2 to 1001 for a test function; it is 0."},
        {"fractional below 2", "Option_SinFunc", "Text_nU", "1.5",
         "The number of given points must lie from 2 to 1001 for a test function; it is 1.5."},
        {"more than the slots", "Option_SinFunc", "Text_nU", "1002",
         "The number of given points must lie from 2 to 1001 for a test function; it is 1002."},
        {"data set beyond the slots", "Option_DataSet", "Text_nU", "1001.5",
         "The number of given points must not exceed 1001; it is 1001.5."},
        {"count overflows", "Option_SinFunc", "Text_nU", "1e400",
         "The number of given points is too large to be held as a number; numbers must lie "
         "between -1.7E+308 and 1.7E+308."},
        {"test degree 5", "Option_Polynom", "Text_nPoly", "5",
         "The degree nPoly of the test polynomial must be at most 4 and must not be -1; it is 5."},
        {"test degree overflows", "Option_Polynom", "Text_nPoly", "1e400",
         "The degree nPoly is too large to be held as a number; numbers must lie between "
         "-1.7E+308 and 1.7E+308."},
        {"test degree -1", "Option_Polynom", "Text_nPoly", "-1",
         "The degree nPoly of the test polynomial must be at most 4 and must not be -1; it is -1."},
        {"coefficient overflows", "Option_Polynom", "Text_a3", "-1E309",
         "The coefficient a3 is too large to be held as a number; numbers must lie between "
         "-1.7E+308 and 1.7E+308."},
        {"sum of coefficients overflows", "Option_Polynom", "Text_a0", "1.7e308",
         "The coefficients of the test polynomial are too large: their sum overflows a number."},
    };
    for (const Refusal& r : refusals) {
        HeadlessWindow w;
        w.form.Command1_Click();  // something to keep
        w.select(r.option);
        if (std::string(r.name) == "sum of coefficients overflows")
            w.setText("Text_a1", "1.7e308");
        w.setText(r.box, r.text);
        const FormSnapshot before = FormSnapshot::of(w);
        w.form.Command1_Click();
        EXPECT_EQ(w.messages.messages, std::vector<std::string>{r.message}) << r.name;
        support::expectUnchanged(before, FormSnapshot::of(w), r.name);
    }
}

TEST(OkCommand, RefusalBeforeAnyOkKeepsDataNotReady)
{
    HeadlessWindow w;
    w.setText("Text_nU", "0");
    w.form.Command1_Click();
    EXPECT_FALSE(w.form.dataReady);
    w.form.Command2_Click();
    EXPECT_EQ(w.messages.messages.back(), "Set the test function first !");
}

TEST(OkCommand, HugeCoefficientsDrawWithoutTrouble)
{
    HeadlessWindow w;
    w.select("Option_Polynom");
    w.setText("Text_a0", "1e300");
    w.setText("Text_a4", "-1e300");
    w.form.Command1_Click();
    EXPECT_TRUE(w.messages.messages.empty());
    EXPECT_TRUE(std::isfinite(w.Picture1.world().top));
    EXPECT_TRUE(std::isfinite(w.Picture1.world().bottom));
    for (const DrawOp& op : w.Picture1.ops())
        EXPECT_TRUE(std::isfinite(op.y1) && std::isfinite(op.y2)) << "huge values are held finite";
}

}  // namespace
}  // namespace tarvel
