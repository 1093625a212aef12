// What OK and Calculate show and refuse: only the points this command
// settled are drawn and scaled, counts stay within the given points that
// exist, abscissae out of order are refused, and the status line and the
// study record say what was done.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <set>

#include "app/status_text.h"
#include "data/list_format.h"
#include "data/numeric_text.h"
#include "support/data_set_files.h"
#include "support/form_state.h"

namespace tarvel {
namespace {

using support::FormSnapshot;
using support::TempDir;
using ui::HeadlessWindow;

const std::string kCalculateRefused = "Calculate was refused; everything stays as it was.";
const std::string kOkRefused = "OK was refused; everything stays as it was.";

std::vector<const DrawOp*> blueCircles(const Drawing& picture)
{
    std::vector<const DrawOp*> circles;
    for (const DrawOp& op : picture.ops())
        if (op.kind == DrawOp::Kind::Circle && op.colour == ui::kBlue)
            circles.push_back(&op);
    return circles;
}

void ok(HeadlessWindow& w, const std::string& count = {})
{
    if (!count.empty())
        w.setText("Text_nU", count);
    w.form.Command1_Click();
}

void calculate(HeadlessWindow& w, const std::string& count = {})
{
    if (!count.empty())
        w.setText("Text_nI", count);
    w.form.Command2_Click();
}

void loadAndOk(HeadlessWindow& w, const std::vector<double>& xs, const std::vector<double>& ys,
               const std::string& name = "points.dsf")
{
    support::loadPoints(w, xs, ys, name);
    w.form.Command1_Click();
}

// Which interpolation points a Calculate over these given points settles,
// said without the evaluation loop: for increasing abscissae every point
// from the first to the last given x, for decreasing ones only the points
// that coincide with a given x.
std::vector<int> expectedSettled(const Form_Tarvel& f)
{
    const int lastU = loopBound(f.lastU);
    std::vector<int> settled;
    if (lastU < 0)
        return settled;
    const bool decreasing = lastU > 0 && f.xU[1] < f.xU[0];
    std::set<double> given(f.xU.begin(), f.xU.begin() + lastU + 1);
    for (int i = 0; i <= loopBound(f.lastI); ++i) {
        const double x = f.xI[static_cast<std::size_t>(i)];
        const bool inside =
            !decreasing && f.xU[0] <= x && x <= f.xU[static_cast<std::size_t>(lastU)];
        if (inside || given.count(x) > 0)
            settled.push_back(i);
    }
    return settled;
}

struct CalculateScenario {
    const char* name;
    std::function<void(HeadlessWindow&)> before;  // up to the Calculate under test
    std::size_t settledCount;                     // points the scenario must settle
};

TEST(PictureShowsOnlyTheLastCommand, CalculateDrawsAndScalesOnlyWhatItSettled)
{
    const CalculateScenario scenarios[] = {
        {"decreasing data after a sine",
         [](HeadlessWindow& w) {
             ok(w);
             calculate(w);
             w.select("Option_InterCubc");
             loadAndOk(w, {1, 0.75, 0.5, 0.25, 0}, {3, -1, 2, -2, 5});
         },
         2},  // only x = 0 and x = 1 meet an interpolation point i / 149
        {"data inside 0.2 .. 0.8",
         [](HeadlessWindow& w) {
             w.select("Option_Cos10Fu");
             ok(w);
             calculate(w);
             w.select("Option_InterPwCb");
             loadAndOk(w, {0.2, 0.35, 0.5, 0.65, 0.8}, {9, 8, 7, 8, 9});
         },
         90},  // i / 149 from 0.2 to 0.8: i = 30 .. 119
        {"given count lowered to 5",
         [](HeadlessWindow& w) {
             ok(w);
             calculate(w);
             w.setText("Text_nU", "5");
         },
         60},  // 0 .. 0.4: points 0 .. 59 of 150
        {"50 given points, 150 interpolation points",
         [](HeadlessWindow& w) {
             w.select("Option_Cos10Fu");
             ok(w);
             calculate(w);
             w.select("Option_SinFunc");
             ok(w, "50");
         },
         149},  // xI(149) = 1 lies a hair above xU(49)
        {"no interpolation point",
         [](HeadlessWindow& w) {
             ok(w);
             calculate(w);
             w.setText("Text_nI", "0");
         },
         0},
    };
    for (const CalculateScenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        TempDir dir;
        HeadlessWindow w(dir.path());
        s.before(w);
        const PointArray older = w.form.yI;
        calculate(w);
        ASSERT_TRUE(w.messages.messages.empty()) << w.messages.messages.front();
        const Form_Tarvel& f = w.form;
        const std::vector<int> settled = expectedSettled(f);
        EXPECT_EQ(settled.size(), s.settledCount);

        // The blue circles are exactly the settled points, in index order.
        const std::vector<const DrawOp*> circles = blueCircles(w.Picture1);
        ASSERT_EQ(circles.size(), settled.size());
        for (std::size_t k = 0; k < settled.size(); ++k) {
            const auto at = static_cast<std::size_t>(settled[k]);
            EXPECT_EQ(circles[k]->x1, f.xI[at]) << "circle " << k;
            EXPECT_EQ(circles[k]->y1, f.yI[at]) << "circle " << k;
        }
        // The study record holds the same points.
        const auto& studied = w.Picture1.study().interpolated;
        ASSERT_EQ(studied.size(), settled.size());
        for (std::size_t k = 0; k < settled.size(); ++k)
            EXPECT_EQ(studied[k].index, settled[k]);

        // Points not settled keep their older values.
        const std::set<int> isSettled(settled.begin(), settled.end());
        for (int i = 0; i < kPointCapacity; ++i) {
            if (isSettled.count(i) == 0) {
                ASSERT_TRUE(support::sameBits(f.yI[static_cast<std::size_t>(i)],
                                              older[static_cast<std::size_t>(i)]))
                    << "point " << i;
            }
        }

        // The scale fits the given points and the settled points only.
        double low = 0;
        double high = 0;
        for (int i = 0; i <= loopBound(f.lastU); ++i) {
            low = std::min(low, f.yU[static_cast<std::size_t>(i)]);
            high = std::max(high, f.yU[static_cast<std::size_t>(i)]);
        }
        for (const int i : settled) {
            low = std::min(low, f.yI[static_cast<std::size_t>(i)]);
            high = std::max(high, f.yI[static_cast<std::size_t>(i)]);
        }
        EXPECT_EQ(f.yMin, low);
        EXPECT_EQ(f.yMax, high);
    }
}

// OK stretched its scale to the interpolated values of an earlier Calculate,
// which it does not draw.
TEST(PictureShowsOnlyTheLastCommand, OkScalesWithoutInterpolatedValues)
{
    HeadlessWindow w;
    w.select("Option_Polynom");
    w.setText("Text_a0", "50");
    ok(w);
    calculate(w);
    ASSERT_GT(w.form.yMax, 10.0);
    w.select("Option_SinFunc");
    ok(w);
    EXPECT_EQ(w.form.yMax, *std::max_element(w.form.yU.begin(), w.form.yU.begin() + 11));
    EXPECT_EQ(w.form.yMin, *std::min_element(w.form.yU.begin(), w.form.yU.begin() + 11));
    EXPECT_TRUE(blueCircles(w.Picture1).empty());
    EXPECT_TRUE(w.Picture1.study().interpolated.empty());
}

TEST(PictureShowsOnlyTheLastCommand, RefusedCalculateAfterAGoodOneChangesNothing)
{
    HeadlessWindow w;
    ok(w);
    w.select("Option_InterCubc");
    calculate(w, "40");
    w.setText("Text_nU", "12");  // more than the 11 that exist
    w.setText("Text_nI", "150");
    const FormSnapshot before = FormSnapshot::of(w);
    const ui::Study study = w.Picture1.study();
    calculate(w);
    ASSERT_EQ(w.messages.messages.size(), 1u);
    support::expectUnchanged(before, FormSnapshot::of(w), "refused Calculate");
    EXPECT_EQ(w.form.nI, 40);
    EXPECT_EQ(blueCircles(w.Picture1).size(), 40u);
    EXPECT_EQ(w.Picture1.study().interpolated.size(), study.interpolated.size());
    EXPECT_EQ(w.statusLine.current(), kCalculateRefused);

    // A refusal found only while computing puts everything back as well.
    TempDir dir;
    HeadlessWindow v(dir.path());
    ok(v);
    calculate(v);
    loadAndOk(v, {0, 0.5, 1}, {1.5e308, -1.5e308, 1.5e308});
    v.select("Option_InterCubc");
    v.setText("Text_nI", "7");
    const FormSnapshot kept = FormSnapshot::of(v);
    const double nI = v.form.nI;
    calculate(v);
    ASSERT_EQ(v.messages.messages.size(), 1u);
    support::expectUnchanged(kept, FormSnapshot::of(v), "overflow");
    EXPECT_EQ(v.form.nI, nI) << "the interpolation points are put back";
    EXPECT_EQ(v.statusLine.current(), kCalculateRefused);
}

TEST(PictureShowsOnlyTheLastCommand, NoGivenPointDrawsNoCircle)
{
    TempDir dir;
    dir.write("empty.dsf", "0\n");
    HeadlessWindow w(dir.path());
    ok(w);
    w.select("Option_DataSet");
    w.clickFile("empty.dsf");
    ok(w);
    ASSERT_TRUE(w.messages.messages.empty());
    EXPECT_EQ(std::vector<std::string>(w.List1.lines.begin(), w.List1.lines.end()),
              (std::vector<std::string>{" ", "Data points", " "}));
    for (const DrawOp& op : w.Picture1.ops())
        EXPECT_NE(op.kind, DrawOp::Kind::Circle);
    EXPECT_EQ(w.Picture1.ops().size(), 2u + 101u) << "the axes and the curve along y = 0";
}

// ---------------------------------------------------------------------------
// Counts against the given points that exist.

std::string tooMany(int exist, const std::string& asked)
{
    const std::string n = std::to_string(exist);
    return "Only " + n + " given points exist, so the number of given points can be at most " + n +
           "; it is " + asked +
           ". For more, press OK with a test function or load a *.dsf file with more points.";
}

const std::string kNoDataSet = "No data set is loaded: pick a *.dsf file in the browser, then "
                               "press OK.";

struct CountRequest {
    const char* name;
    std::function<void(HeadlessWindow&)> before;
    const char* count;  // typed into Text_nU before the command
    void (Form_Tarvel::*command)();
    std::string refusal;  // empty: the command completes
};

TEST(CountRequests, NeverReachPastTheGivenPointsThatExist)
{
    const auto five = [](HeadlessWindow& w) {
        support::loadPoints(w, {0, 0.25, 0.5, 0.75, 1}, {1, 2, 3, 2, 1}, "five.dsf");
    };
    const auto okPress = &Form_Tarvel::Command1_Click;
    const auto calculatePress = &Form_Tarvel::Command2_Click;
    const CountRequest requests[] = {
        {"after sampling, Calculate with more", [](HeadlessWindow& w) { ok(w); }, "20",
         calculatePress, tooMany(11, "20")},
        {"after sampling, Calculate with all", [](HeadlessWindow& w) { ok(w); }, "11",
         calculatePress, ""},
        {"lowered then raised again",
         [](HeadlessWindow& w) {
             ok(w);
             w.setText("Text_nU", "4");
             calculate(w);
         },
         "11", calculatePress, ""},
        {"after a load, OK with more",
         [&](HeadlessWindow& w) {
             ok(w);
             five(w);
         },
         "20", okPress, tooMany(5, "20")},
        {"after a load, OK with fewer", five, "3", okPress, ""},
        {"a load over sampled points, Calculate with the old count",
         [&](HeadlessWindow& w) {
             ok(w);
             five(w);
             w.select("Option_SinFunc");
         },
         "11", calculatePress, tooMany(5, "11")},
        {"a failed load keeps the former count",
         [&](HeadlessWindow& w) {
             ok(w);
             five(w);
             std::ofstream(std::filesystem::path(w.File1.path()) / "bad.dsf") << "3\n0,0,0\n";
             w.clickFile("bad.dsf");
             w.messages.messages.clear();
         },
         "6", okPress, tooMany(5, "6")},
        {"a failed load, then the whole set",
         [&](HeadlessWindow& w) {
             five(w);
             w.clickFile("missing.dsf");
             w.messages.messages.clear();
         },
         "5", okPress, ""},
        {"data set before any load", [](HeadlessWindow& w) { w.select("Option_DataSet"); }, "11",
         okPress, kNoDataSet},
        {"data set after a load was sampled over",
         [&](HeadlessWindow& w) {
             five(w);
             ok(w);
             w.select("Option_SinFunc");
             ok(w);
             w.select("Option_DataSet");
         },
         "5", okPress, kNoDataSet},
        {"sampling after a load: the sampling's count holds",
         [&](HeadlessWindow& w) {
             five(w);
             w.select("Option_SinFunc");
             ok(w, "30");
         },
         "30", calculatePress, ""},
        {"an empty file", [](HeadlessWindow& w) { support::loadPoints(w, {}, {}, "empty.dsf"); },
         "0", okPress, ""},
        {"an empty file, then a count",
         [](HeadlessWindow& w) { support::loadPoints(w, {}, {}, "empty.dsf"); }, "1", okPress,
         tooMany(0, "1")},
        {"no option: the points as they stand",
         [](HeadlessWindow& w) {
             ok(w, "7");
             w.Option_SinFunc.selected = false;
         },
         "8", okPress, tooMany(7, "8")},
    };
    for (const CountRequest& r : requests) {
        SCOPED_TRACE(r.name);
        TempDir dir;
        HeadlessWindow w(dir.path());
        r.before(w);
        ASSERT_TRUE(w.messages.messages.empty()) << w.messages.messages.front();
        w.setText("Text_nU", r.count);
        const FormSnapshot before = FormSnapshot::of(w);
        (w.form.*r.command)();
        if (r.refusal.empty()) {
            EXPECT_TRUE(w.messages.messages.empty()) << w.messages.messages.front();
            EXPECT_EQ(w.statusLine.current().find("refused"), std::string::npos);
        } else {
            EXPECT_EQ(w.messages.messages, std::vector<std::string>{r.refusal});
            support::expectUnchanged(before, FormSnapshot::of(w), r.name);
            EXPECT_NE(w.statusLine.current().find("was refused"), std::string::npos);
        }
    }
}

// ---------------------------------------------------------------------------
// The order of the abscissae, for each method.

struct Ordering {
    const char* name;
    std::vector<double> xs;
    std::string refusal;  // empty: completes
    bool decreasingNote;  // the status line says why little was computed
};

TEST(AbscissaOrder, UnorderedRefusedForEveryMethodDecreasingKept)
{
    const Ordering orderings[] = {
        {"increasing", {0, 0.25, 0.5, 0.75, 1}, "", false},
        {"decreasing", {1, 0.75, 0.5, 0.25, 0}, "", true},
        {"back at point 2",
         {0, 0.5, 0.25, 0.75, 1},
         "The given points must be in increasing or decreasing order of x; given point 2 (x = "
         "0.25) is out of order after given point 1 (x = 0.5).",
         false},
        {"up at the last point",
         {1, 0.75, 0.5, 0.25, 0.3},
         "The given points must be in increasing or decreasing order of x; given point 4 (x = "
         "0.3) is out of order after given point 3 (x = 0.25).",
         false},
    };
    for (const char* method : {"Option_Tarvel", "Option_InterCubc", "Option_InterPwCb"}) {
        for (const Ordering& o : orderings) {
            SCOPED_TRACE(std::string(method) + ", " + o.name);
            TempDir dir;
            HeadlessWindow w(dir.path());
            ok(w);
            calculate(w);
            loadAndOk(w, o.xs, {0, 1, 0, 1, 0});
            w.select(method);
            const FormSnapshot before = FormSnapshot::of(w);
            calculate(w);
            if (!o.refusal.empty()) {
                EXPECT_EQ(w.messages.messages, std::vector<std::string>{o.refusal});
                support::expectUnchanged(before, FormSnapshot::of(w), o.name);
                continue;
            }
            EXPECT_TRUE(w.messages.messages.empty());
            const bool noted = w.statusLine.current().find("decreasing order") != std::string::npos;
            EXPECT_EQ(noted, o.decreasingNote) << w.statusLine.current();
            if (std::string(method) != "Option_Tarvel") {
                EXPECT_EQ(w.List1.lines.size(), 3u + 5u + 3u + 4u) << "the table is listed";
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Overflow refusals name their cause.

TEST(OverflowRefusal, ClusteredAbscissaeBlameTheDegreeNotTheValues)
{
    std::vector<double> xs;
    std::vector<double> ys;
    for (int i = 0; i <= 100; ++i) {
        xs.push_back(std::pow(i / 100.0, 8));
        ys.push_back(i % 2 == 0 ? 1 : -1);
    }
    TempDir dir;
    HeadlessWindow w(dir.path());
    loadAndOk(w, xs, ys);
    w.setText("Text_nDeg", "100");
    calculate(w);
    EXPECT_EQ(w.messages.messages,
              std::vector<std::string>{
                  "The polynomial of degree 100 through these abscissae grows too large between "
                  "them: an interpolated value overflows the range of numbers, although the "
                  "given values are not large. Choose a lower degree."});
}

TEST(OverflowRefusal, NumbersInMessagesAreCompact)
{
    HeadlessWindow w;
    ok(w);
    calculate(w, "1e308");
    EXPECT_EQ(w.messages.messages,
              std::vector<std::string>{"The number of interpolation points Ni must not be 1 (no "
                                       "spacing) and must not exceed 1001; it is 1e+308."});
}

TEST(FormatPlain, CompactBeyondTwentyDigits)
{
    EXPECT_EQ(formatPlain(1e308, "."), "1e+308");
    EXPECT_EQ(formatPlain(-1.7976931348623157e308, ","), "-1,79769313486232e+308");
    EXPECT_EQ(formatPlain(1e21, "."), "1e+21");
    EXPECT_EQ(formatPlain(1e20, "."), "100000000000000000000");
    EXPECT_EQ(formatPlain(2.5e-13, "."), "2.5e-13");
    EXPECT_EQ(formatPlain(1002, "."), "1002");
}

// ---------------------------------------------------------------------------
// Status sentences.

TEST(StatusText, ThreeSignificantDigits)
{
    const std::pair<double, const char*> rows[] = {
        {0.00123456, "1.23e-3"},
        {0.973, "0.973"},
        {150, "150"},
        {2.5, "2.5"},
        {0.0123, "0.0123"},
        {9999, "1e+4"},
        {12345, "1.23e+4"},
        {-0.5, "-0.5"},
        {0, "0"},
        {0.0099951, "0.01"},
        {1e-300, "1e-300"},
        {999.6, "1000"},
    };
    for (const auto& [value, text] : rows)
        EXPECT_EQ(formatThreeDigits(value, "."), text) << value;
    EXPECT_EQ(formatThreeDigits(0.973, ","), "0,973");
}

TEST(StatusText, NumberAlone)
{
    for (const char* alone : {"11", " 2.5 ", "-3", "+.5", "1e5", "1.E-3", "&HFF", "&o17", "7."})
        EXPECT_TRUE(isNumberAlone(alone)) << alone;
    for (const char* not_alone : {"", "2,5", "12abc", "abc", "1 5", "1e", "&H", ".", "-", "&HFG"})
        EXPECT_FALSE(isNumberAlone(not_alone)) << not_alone;
}

struct StatusCase {
    const char* name;
    std::function<void(HeadlessWindow&)> act;
    std::string sentence;
};

TEST(StatusText, SentenceAfterEachCommand)
{
    const auto dataSet = [](std::vector<double> xs) {
        return [xs](HeadlessWindow& w) {
            std::vector<double> ys(xs.size(), 1.0);
            loadAndOk(w, xs, ys, "runge.dsf");
        };
    };
    const std::vector<double> eleven = {0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1};
    const StatusCase cases[] = {
        {"OK with the sine", [](HeadlessWindow& w) { ok(w); },
         "11 given points of sin(2πx) listed and drawn."},
        {"OK with cos10",
         [](HeadlessWindow& w) {
             w.select("Option_Cos10Fu");
             ok(w, "21");
         },
         "21 given points of cos¹⁰(2πx) listed and drawn."},
        {"OK with a data set", dataSet(eleven), "11 given points of runge.dsf listed and drawn."},
        {"OK with a comma in a coefficient",
         [](HeadlessWindow& w) {
             w.select("Option_Polynom");
             w.setText("Text_a0", "2,5");
             ok(w);
         },
         "11 given points of the test polynomial listed and drawn. a0: '2,5' was read as 2 — "
         "the decimal point is a period."},
        {"OK with an empty data set",
         [](HeadlessWindow& w) {
             support::loadPoints(w, {}, {}, "none.dsf");
             ok(w);
         },
         "No given points in none.dsf: the list shows its header and the picture its axes."},
        {"Calculate over a data set",
         [&](HeadlessWindow& w) {
             dataSet(eleven)(w);
             w.select("Option_InterCubc");
             calculate(w);
         },
         "150 interpolation points by the natural cubic spline: 148 evaluated, 2 copied."},
        {"Calculate over data inside 0.2 .. 0.8",
         [&](HeadlessWindow& w) {
             dataSet({0.2, 0.5, 0.8})(w);
             w.select("Option_InterPwCb");
             calculate(w, "11");
         },
         "11 interpolation points by the PW cubic spline: 4 evaluated, 3 copied. 4 of them lie "
         "outside the given points (x from 0.2 to 0.8) and were not computed."},
        {"Calculate over decreasing data",
         [&](HeadlessWindow& w) {
             dataSet({1, 0.5, 0})(w);
             w.setText("Text_nDeg", "2");
             calculate(w, "5");
         },
         "5 interpolation points by polynomial interpolation of degree 2: 0 evaluated, 3 "
         "copied. The given points are in decreasing order of x: only interpolation points "
         "that coincide with a given point are settled; 2 were not computed."},
        {"Calculate with given points outside 0..1",
         [&](HeadlessWindow& w) {
             dataSet({-0.5, 0, 1, 1.5})(w);
             w.select("Option_InterCubc");
             calculate(w, "3");
         },
         "3 interpolation points by the natural cubic spline: 1 evaluated, 2 copied. 2 given "
         "points lie outside 0..1; the picture and the interpolation points cover 0..1 only."},
        {"Calculate with Ni read as 0",
         [&](HeadlessWindow& w) {
             dataSet(eleven)(w);
             calculate(w, "abc");
         },
         "Ni = 0 gives no interpolation points. Ni: 'abc' was read as 0."},
        {"Calculate with a comma in the degree",
         [&](HeadlessWindow& w) {
             dataSet(eleven)(w);
             w.setText("Text_nDeg", "2,5");
             calculate(w, "4");
         },
         "4 interpolation points by polynomial interpolation of degree 2: 2 evaluated, 2 "
         "copied. Degree of polynomial: '2,5' was read as 2 — the decimal point is a period."},
        {"Calculate with a negative degree",
         [&](HeadlessWindow& w) {
             dataSet(eleven)(w);
             w.setText("Text_nDeg", "-5");
             calculate(w, "4");
         },
         "4 interpolation points by polynomial interpolation of degree -5: 2 evaluated, 2 "
         "copied. A negative degree gives 0 at every point inside an interval."},
        {"Calculate refused", [](HeadlessWindow& w) { calculate(w); }, kCalculateRefused},
        {"OK refused", [](HeadlessWindow& w) { ok(w, "1"); }, kOkRefused},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        HeadlessWindow w(dir.path());
        c.act(w);
        EXPECT_EQ(w.statusLine.current(), c.sentence);
    }
}

TEST(StatusText, LocaleSeparatorInSentences)
{
    TempDir dir;
    HeadlessWindow w(dir.path(), ",");
    loadAndOk(w, {0.2, 0.5, 0.8}, {1, 2, 1});
    w.select("Option_InterCubc");
    calculate(w, "11");
    EXPECT_EQ(w.statusLine.current(),
              "11 interpolation points by the natural cubic spline: 4 evaluated, 3 copied. 4 of "
              "them lie outside the given points (x from 0,2 to 0,8) and were not computed.");
}

// ---------------------------------------------------------------------------
// The error against the test function.

struct Independent {
    double largest = 0;
    double at = 0;
    double rms = 0;
};

// Straight from the definitions, in long double.
Independent independentError(const Form_Tarvel& f, const std::function<double(double)>& exact)
{
    Independent e;
    long double squares = 0;
    int count = 0;
    for (int i = 0; i <= loopBound(f.lastI); ++i) {
        const double x = f.xI[static_cast<std::size_t>(i)];
        const double error = f.yI[static_cast<std::size_t>(i)] - exact(x);
        if (std::abs(error) > e.largest) {
            e.largest = std::abs(error);
            e.at = x;
        }
        squares += static_cast<long double>(error) * error;
        ++count;
    }
    e.rms = static_cast<double>(std::sqrt(squares / count));
    return e;
}

struct ErrorCase {
    const char* option;
    const char* method;
    std::function<double(double)> exact;
};

TEST(ErrorFigure, MatchesAnIndependentComputationForEachTestFunction)
{
    const double twoPi = 2 * std::numbers::pi;
    const ErrorCase cases[] = {
        {"Option_SinFunc", "Option_InterCubc", [=](double x) { return std::sin(twoPi * x); }},
        {"Option_Cos10Fu", "Option_Tarvel",
         [=](double x) { return std::pow(std::cos(twoPi * x), 10.0); }},
        {"Option_Polynom", "Option_InterPwCb",
         [](double x) { return (1 + x + x * x + x * x * x + x * x * x * x) / 5; }},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.option);
        HeadlessWindow w;
        w.select(c.option);
        ok(w, "7");
        w.select(c.method);
        calculate(w);
        const Independent expected = independentError(w.form, c.exact);
        const std::optional<ErrorFigure> figure = errorFigure(w.Picture1.study().interpolated);
        ASSERT_TRUE(figure);
        EXPECT_NEAR(figure->largest, expected.largest, 1e-12 * expected.largest);
        EXPECT_EQ(figure->at, expected.at);
        EXPECT_NEAR(figure->rms, expected.rms, 1e-12 * expected.rms);
        EXPECT_GT(figure->largest, 1e-4) << "7 points leave a visible error";
        const std::string quoted = "; largest error " + formatThreeDigits(expected.largest, ".") +
                                   " at x = " + formatThreeDigits(expected.at, ".") + "; RMS " +
                                   formatThreeDigits(expected.rms, ".") + ".";
        EXPECT_NE(w.statusLine.current().find(quoted), std::string::npos) << w.statusLine.current();
    }
}

TEST(ErrorFigure, NoneForADataSetOrWithoutPoints)
{
    TempDir dir;
    HeadlessWindow w(dir.path());
    loadAndOk(w, {0, 0.5, 1}, {0, 1, 0});
    calculate(w);
    EXPECT_FALSE(errorFigure(w.Picture1.study().interpolated));
    EXPECT_EQ(w.statusLine.current().find("error"), std::string::npos);
    EXPECT_FALSE(errorFigure({}));
    EXPECT_FALSE(errorFigure({{0, 0.5, 1.0, std::nullopt}}));
}

// ---------------------------------------------------------------------------
// The study record.

TEST(Study, RecordsWhatEachCommandDrew)
{
    TempDir dir;
    HeadlessWindow w(dir.path());
    w.select("Option_Cos10Fu");
    ok(w, "5");
    const ui::Study& afterOk = w.Picture1.study();
    ASSERT_EQ(afterOk.given.size(), 5u);
    EXPECT_EQ(afterOk.given[2].x, w.form.xU[2]);
    ASSERT_TRUE(afterOk.given[2].exact);
    EXPECT_EQ(*afterOk.given[2].exact, w.form.yU[2]);
    EXPECT_TRUE(afterOk.interpolated.empty());
    EXPECT_EQ(afterOk.functionName, "cos¹⁰(2πx)");
    EXPECT_EQ(afterOk.methodName, "");

    w.setText("Text_nDeg", "3");
    calculate(w, "9");
    const ui::Study& afterCalculate = w.Picture1.study();
    EXPECT_EQ(afterCalculate.methodName, "polynomial interpolation of degree 3");
    EXPECT_EQ(afterCalculate.methodLegend, "Polynomial interpolation of degree 3");
    ASSERT_EQ(afterCalculate.interpolated.size(), 9u);
    EXPECT_EQ(afterCalculate.interpolated[4].y, w.form.yI[4]);
    EXPECT_EQ(*afterCalculate.interpolated[4].exact, w.form.Cos10Fu(w.form.xI[4]));

    loadAndOk(w, {0, 1}, {2, 3}, "pair.dsf");
    const ui::Study& afterLoad = w.Picture1.study();
    EXPECT_EQ(afterLoad.dataSetName, "pair.dsf");
    EXPECT_EQ(afterLoad.functionName, "");
    EXPECT_FALSE(afterLoad.hasTestFunction());
    ASSERT_EQ(afterLoad.given.size(), 2u);
    EXPECT_FALSE(afterLoad.given[0].exact);
}

}  // namespace
}  // namespace tarvel
