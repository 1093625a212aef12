// The interpolation lab without a window: node drags with their undo, the
// counts it steps through, the texts it copies and saves, the whole-file
// writer, the refusals of the model and its figures, the convergence worker,
// the slow methods' work done later, and what closing would lose.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <future>
#include <cerrno>
#include <mutex>
#include <set>
#include <span>
#include <stop_token>
#include <sstream>

#include "interp/error_figures.h"
#include "lab/convergence_study.h"
#include "lab/lab_counts.h"
#include "lab/lab_export.h"
#include "lab/method_refusal.h"
#include "lab/lab_model.h"
#include "lab/lab_picture.h"
#include "lab/second_panel.h"
#include "lab/stoppable_threads.h"
#include "support/exact_bits.h"

namespace tarvel {
namespace {

NodeList threeNodes()
{
    return {{0, 1}, {0.5, 2}, {1, 0}};
}

LabStart startWith(LabFunction function, int count, std::initializer_list<StudyMethod> shown,
                   NodeList data = {})
{
    LabStart start;
    start.settings.function = function;
    start.settings.count = count;
    for (const StudyMethod method : shown)
        start.settings.shown[methodIndex(method)] = true;
    start.data = std::move(data);
    return start;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(LabNodes, ADragIsOneStepOfUndoAndRedo)
{
    LabNodes nodes;
    nodes.reset(threeNodes());
    nodes.beginDrag();
    nodes.moveNode(1, 0, 2.5, false);
    nodes.moveNode(1, 0, 3.5, false);
    nodes.finishDrag();
    EXPECT_TRUE(nodes.edited());
    EXPECT_EQ(nodes.nodes()[1], (Node{0.5, 3.5}));
    ASSERT_TRUE(nodes.undo());
    EXPECT_EQ(nodes.nodes(), threeNodes());
    EXPECT_FALSE(nodes.undo());
    ASSERT_TRUE(nodes.redo());
    EXPECT_EQ(nodes.nodes()[1], (Node{0.5, 3.5}));
    EXPECT_FALSE(nodes.redo());
}

TEST(LabNodes, ANewDragAfterUndoDropsTheRedoHistory)
{
    LabNodes nodes;
    nodes.reset(threeNodes());
    nodes.beginDrag();
    nodes.moveNode(1, 0, 2.5, false);
    nodes.finishDrag();
    ASSERT_TRUE(nodes.undo());
    ASSERT_TRUE(nodes.canRedo());
    nodes.beginDrag();
    nodes.moveNode(2, 0, -1, false);
    nodes.finishDrag();
    EXPECT_FALSE(nodes.canRedo());
    EXPECT_FALSE(nodes.redo());
    EXPECT_EQ(nodes.nodes()[1], (Node{0.5, 2})) << "the undone drag stays undone";
    EXPECT_EQ(nodes.nodes()[2], (Node{1, -1}));
}

TEST(LabNodes, ShiftDragKeepsXStrictlyBetweenNeighbours)
{
    struct Case {
        const char* name;
        std::size_t node;
        double x;
        double expected;
    };
    const Case cases[] = {
        {"inside", 1, 0.25, 0.25},
        {"past the right neighbour", 1, 7, std::nextafter(1.0, 0.0)},
        {"onto the left neighbour", 1, 0, std::nextafter(0.0, 1.0)},
        {"first node below 0", 0, -3, 0},
        {"last node beyond 1", 2, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LabNodes nodes;
        nodes.reset(threeNodes());
        ASSERT_TRUE(nodes.moveNode(c.node, c.x, 9, true));
        EXPECT_TRUE(support::sameBitsAs(nodes.nodes()[c.node].x, c.expected));
        EXPECT_FALSE(orderProblem(nodes.nodes()));
    }
}

TEST(LabNodes, RefusedMovesChangeNothing)
{
    LabNodes nodes;
    nodes.reset(threeNodes());
    nodes.beginDrag();
    EXPECT_FALSE(nodes.moveNode(3, 0.5, 1, false));
    EXPECT_FALSE(nodes.moveNode(1, 0.5, std::nan(""), false));
    EXPECT_FALSE(nodes.moveNode(1, INFINITY, 1, true));
    nodes.finishDrag();
    EXPECT_EQ(nodes.nodes(), threeNodes());
    EXPECT_FALSE(nodes.canUndo()) << "a drag that moved nothing is no step";
}

TEST(LabNodes, ResetBringsTheFunctionBackAsOneStep)
{
    LabNodes nodes;
    nodes.reset(threeNodes());
    nodes.moveNode(0, 0, 5, false);
    nodes.beginDrag();
    nodes.moveNode(2, 0, 5, false);
    nodes.finishDrag();
    ASSERT_TRUE(nodes.restoreOriginal());
    EXPECT_FALSE(nodes.edited());
    ASSERT_TRUE(nodes.undo());
    EXPECT_EQ(nodes.nodes()[2].y, 5);
    EXPECT_FALSE(nodes.restoreOriginal() && nodes.restoreOriginal());
}

TEST(LabNodes, UndoKeepsOnlyTheNewestSteps)
{
    LabNodes nodes;
    nodes.reset(threeNodes());
    for (std::size_t k = 0; k < LabNodes::kUndoDepth + 5; ++k) {
        nodes.beginDrag();
        nodes.moveNode(1, 0, static_cast<double>(k) + 10, false);
        nodes.finishDrag();
    }
    std::size_t steps = 0;
    while (nodes.undo())
        ++steps;
    EXPECT_EQ(steps, LabNodes::kUndoDepth);
    EXPECT_EQ(nodes.nodes()[1].y, 14);
}

TEST(LabCounts, AboutSixtyRisingCountsFromTwoTo1001WithTheCurrentOne)
{
    for (const int current : {2, 11, 37, 500, 1001, 0, 5000}) {
        SCOPED_TRACE(current);
        const std::vector<int> counts = convergenceCounts(current);
        EXPECT_GE(counts.size(), 60u);
        EXPECT_LE(counts.size(), 61u);
        EXPECT_EQ(counts.front(), 2);
        EXPECT_EQ(counts.back(), 1001);
        EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
        EXPECT_EQ(std::set<int>(counts.begin(), counts.end()).size(), counts.size());
        const bool inRange = current >= 2 && current <= 1001;
        EXPECT_EQ(std::count(counts.begin(), counts.end(), current), inRange ? 1 : 0);
    }
}

TEST(LabCounts, PlayStepsUpwardFromTwoAndStopsAt1001)
{
    std::vector<int> steps{2};
    while (const std::optional<int> next = nextPlayCount(steps.back()))
        steps.push_back(*next);
    EXPECT_EQ(steps, convergenceCounts(2));
    EXPECT_EQ(nextPlayCount(3), 4);
    EXPECT_FALSE(nextPlayCount(1001));
}

TEST(LabExport, NumbersAreTabSeparatedWithSeventeenDigitsInTheViewsColumns)
{
    const auto row = [](std::string method, std::optional<double> error, std::optional<double> at,
                        std::optional<double> rms, std::optional<double> overshoot,
                        std::optional<double> lebesgue, std::string order) {
        NumbersRow figures;
        figures.method = std::move(method);
        figures.largestError = error;
        figures.atX = at;
        figures.rmsError = rms;
        figures.overshoot = overshoot;
        figures.lebesgueConstant = lebesgue;
        figures.observedOrder = std::move(order);
        return figures;
    };
    NumbersRow global = row("global", 1.9156504940605894, 0.0333, 0.1, 0, std::nullopt, "rho=1.25");
    NumbersRow linear = row("linear", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 1.0,
                            "4.0000000000000009");
    NumbersRow aaa = row("aaa", 4e-16, 0.5, 1e-16, 0, std::nullopt, "");
    aaa.supportPoints = 3;
    aaa.nearestPole = std::complex<double>(0.5, -0.1);
    // 2^-2000, below the smallest double.
    ScaledNumber omega;
    omega.multiply(0x1p-1000);
    omega.multiply(0x1p-1000);
    for (NumbersRow* each : {&global, &linear, &aaa}) {
        each->largestOmega = omega;
        each->largestOmegaX = 0.25;
    }
    const NumbersRow rows[] = {global, linear, aaa};
    const std::string common = "method\tlargest error\tat x\tRMS error\tovershoot"
                               "\tLebesgue constant\tobserved order";
    const struct {
        LabView view;
        std::string header;
        std::string globalLine;
        std::string linearLine;
        std::string aaaLine;
    } cases[] = {
        {LabView::Values, common,
         "global\t1.9156504940605894\t0.033300000000000003\t0.10000000000000001\t0\t\trho=1.25",
         "linear\t\t\t\t\t1\t4.0000000000000009",
         "aaa\t3.9999999999999999e-16\t0.5\t9.9999999999999998e-17\t0\t\t"},
        {LabView::Poles, common + "\tsupport points\tnearest pole",
         "global\t1.9156504940605894\t0.033300000000000003\t0.10000000000000001\t0\t\trho=1.25\t\t",
         "linear\t\t\t\t\t1\t4.0000000000000009\t\t",
         "aaa\t3.9999999999999999e-16\t0.5\t9.9999999999999998e-17\t0\t\t\t3\t"
         "0.5 ± 0.10000000000000001i"},
        {LabView::Omega, common + "\tlargest |ω|",
         "global\t1.9156504940605894\t0.033300000000000003\t0.10000000000000001\t0\t\trho=1.25"
         "\t8.70980981622e-603",
         "linear\t\t\t\t\t1\t4.0000000000000009\t8.70980981622e-603",
         "aaa\t3.9999999999999999e-16\t0.5\t9.9999999999999998e-17\t0\t\t\t"
         "8.70980981622e-603"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(named(kLabViews, c.view).key));
        const std::vector<std::string> lines = linesOf(numbersText(rows, c.view));
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0], c.header);
        EXPECT_EQ(lines[1], c.globalLine);
        EXPECT_EQ(lines[2], c.linearLine);
        EXPECT_EQ(lines[3], c.aaaLine);
    }
}

TEST(LabExport, OvershootWithinRoundingOfTheNodeValuesShowsAsZero)
{
    const struct {
        double overshoot;
        double magnitude;
        double shown;
    } cases[] = {
        {2.220446049250313e-16, 1, 0},           // one unit of rounding at 1
        {8e-16, 1, 0},                           // a few
        {1e-15, 1, 1e-15},                       // more: a rise
        {2.220446049250313e-16, 1e-3, 2.220446049250313e-16},  // small data: a rise
        {1e-2, 1e13, 1e-2},
        {0.049, 0.951, 0.049},
        {0, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(overshootShown(c.overshoot, c.magnitude), c.shown)
            << c.overshoot << " at magnitude " << c.magnitude;
}

TEST(LabExport, ValuesHaveAHeaderAndTheThousandAndOnePoints)
{
    std::vector<double> ramp;
    for (int k = 0; k < kValuesPoints; ++k)
        ramp.push_back(2.0 * k);
    std::vector<double> gaps = ramp;
    gaps[1] = std::numeric_limits<double>::infinity();
    gaps[2] = std::numeric_limits<double>::quiet_NaN();
    const ValuesColumn columns[] = {{"f", ramp}, {"pchip''", gaps}, {"f'", {}}};
    const std::vector<std::string> lines = linesOf(valuesCsv(columns));
    ASSERT_EQ(lines.size(), 1002u);
    EXPECT_EQ(lines[0], "x,f,pchip'',f'");
    EXPECT_EQ(lines[1], "0,0,0,");
    EXPECT_EQ(lines[2], "0.001,2,,") << "a value that does not exist is left empty";
    EXPECT_EQ(lines[3], "0.002,4,,");
    EXPECT_EQ(lines[1001], "1,2000,2000,");
}

struct RefusalCase {
    const char* name;
    LabStart start;
    std::function<Refusal(LabModel&)> change;
    const char* says;  // a part of the refusal
};

LabStart typedStart(std::string_view text)
{
    LabStart start = startWith(LabFunction::Expression, 11, {StudyMethod::Clamped});
    start.expression = parseExpression(text).expression;
    return start;
}

LabStart ownNodesStart()
{
    LabStart start = startWith(LabFunction::Sine, 11, {StudyMethod::Linear});
    start.settings.ownNodes = true;
    start.ownXs = {0, 0.4, 1};
    return start;
}

TEST(LabModel, RefusedChangesSayWhyAndChangeNothing)
{
    const NodeList data = {{0, 0}, {0.3, 1}, {0.6, 0}, {1, 2}};
    const RefusalCase cases[] = {
        {"one node", startWith(LabFunction::Runge, 11, {StudyMethod::Global}),
         [](LabModel& m) { return m.setCount(1); }, "from 2 to 1001"},
        {"1002 nodes", startWith(LabFunction::Runge, 11, {StudyMethod::Global}),
         [](LabModel& m) { return m.setCount(1002); }, "1002 is not"},
        {"negative degree", startWith(LabFunction::Sine, 11, {StudyMethod::Local}),
         [](LabModel& m) { return m.setParameter(StudyMethod::Local, -1); }, "from 0 to 100"},
        {"degree 101", startWith(LabFunction::Sine, 11, {StudyMethod::Local}),
         [](LabModel& m) { return m.setParameter(StudyMethod::Local, 101); }, "101 is not"},
        {"blending degree 21", startWith(LabFunction::Sine, 31, {StudyMethod::Fh}),
         [](LabModel& m) { return m.setParameter(StudyMethod::Fh, 21); }, "from 0 to 20; 21"},
        {"even B-spline degree", startWith(LabFunction::Sine, 11, {StudyMethod::BSpline}),
         [](LabModel& m) { return m.setParameter(StudyMethod::BSpline, 4); },
         "is an odd whole number from 1 to 9; 4 is not"},
        {"data without given points", startWith(LabFunction::Sine, 11, {StudyMethod::Local}),
         [](LabModel& m) { return m.setFunction(LabFunction::Data); }, "press OK there"},
        {"error view of data", startWith(LabFunction::Data, 11, {StudyMethod::Linear}, data),
         [](LabModel& m) { return m.setView(LabView::Error); }, "no exact function"},
        {"data in the error view",
         [&] {
             LabStart s = startWith(LabFunction::Sine, 11, {StudyMethod::Linear}, data);
             s.settings.view = LabView::Convergence;
             return s;
         }(),
         [](LabModel& m) { return m.setFunction(LabFunction::Data); }, "values or Lebesgue"},
        {"count of data", startWith(LabFunction::Data, 11, {StudyMethod::Linear}, data),
         [](LabModel& m) { return m.setCount(20); }, "keep their own (4 points)"},
        {"family of data", startWith(LabFunction::Data, 11, {StudyMethod::Linear}, data),
         [](LabModel& m) { return m.setFamily(NodeFamily::Gauss); }, "keep their own"},
        {"test polynomial of degree -1 (a division by 0)",
         [] {
             LabStart s = startWith(LabFunction::Polynomial, 11, {StudyMethod::Linear});
             s.polynomial.degree = -1;
             return s;
         }(),
         [](LabModel& m) { return m.setFunction(LabFunction::Polynomial); }, "not -1"},
        {"test polynomial whose coefficients overflow",
         [] {
             LabStart s = startWith(LabFunction::Sine, 11, {StudyMethod::Linear});
             s.polynomial.coefs = {1e308, 1e308, 0, 0, 0};
             return s;
         }(),
         [](LabModel& m) { return m.setFunction(LabFunction::Polynomial); }, "overflows"},
        {"your function chosen with none typed",
         startWith(LabFunction::Sine, 11, {StudyMethod::Linear}),
         [](LabModel& m) { return m.setFunction(LabFunction::Expression); }, "Type your function"},
        {"a typed function with a syntax error",
         startWith(LabFunction::Sine, 11, {StudyMethod::Linear}),
         [](LabModel& m) { return m.setExpression("2 + 3*"); },
         "col 7: a number, x, a name or '(' expected after '*'"},
        {"a typed function replaced by a syntax error", typedStart("x^2"),
         [](LabModel& m) { return m.setExpression("x^"); }, "col 3: "},
        {"a typed function infinite at 0", typedStart("x^2"),
         [](LabModel& m) { return m.setExpression("log(x)"); },
         "f is not finite at x = 0: log(0) = −∞"},
        {"a typed function with a pole inside",
         startWith(LabFunction::Runge, 11, {StudyMethod::Linear}),
         [](LabModel& m) { return m.setExpression("1/(x-0.5)"); },
         "f is not finite at x = 0.5: 1/0 = ∞"},
        {"a typed function not defined below a half",
         startWith(LabFunction::Runge, 11, {StudyMethod::Linear}),
         [](LabModel& m) { return m.setExpression("sqrt(x-0.5)"); },
         "f is not finite at x = 0: sqrt(−0.5) is not a number"},
        {"one node of your own", startWith(LabFunction::Sine, 11, {StudyMethod::Linear}),
         [](LabModel& m) {
             return m.replaceNodes({{0.5, 0}}, false);
         },
         "From 2 to 1001 nodes are taken; these are 1."},
        {"your own nodes at one x", startWith(LabFunction::Sine, 11, {StudyMethod::Linear}),
         [](LabModel& m) {
             return m.replaceNodes({{0, 0}, {0.5, 0}, {0.5, 1}}, false);
         },
         "x must rise: x(2) = 0.5 is not above x(1) = 0.5"},
        {"data nodes without y", startWith(LabFunction::Data, 4, {StudyMethod::Linear}, data),
         [](LabModel& m) {
             return m.replaceNodes({{0, 0}, {0.5, 0}}, false);
         },
         "take an x and a y"},
        {"your own nodes in the convergence view",
         [] {
             LabStart s = startWith(LabFunction::Sine, 11, {StudyMethod::Linear});
             s.settings.view = LabView::Convergence;
             return s;
         }(),
         [](LabModel& m) {
             return m.replaceNodes({{0, 0}, {0.5, 0}}, false);
         },
         "your own nodes have none"},
        {"the number of your own nodes", ownNodesStart(),
         [](LabModel& m) { return m.setCount(12); }, "keep their number (3)"},
        {"the convergence view of your own nodes", ownNodesStart(),
         [](LabModel& m) { return m.setView(LabView::Convergence); }, "your own nodes have none"},
        {"a typed function 0/0 at 0", startWith(LabFunction::Runge, 11, {StudyMethod::Linear}),
         [](LabModel& m) { return m.setExpression("sin(x)/x"); },
         "f is not finite at x = 0: 0/0 is not a number"},
        {"Undo with no step", ownNodesStart(), [](LabModel& m) { return m.undo(); },
         "There is no change of the nodes to undo."},
        {"Redo with no step", ownNodesStart(), [](LabModel& m) { return m.redo(); },
         "There is no change of the nodes to redo."},
        {"noise between decades", startWith(LabFunction::Sine, 11, {StudyMethod::Linear}),
         [](LabModel& m) { return m.setNoise(3e-6); },
         "a decade from 1e-15 to 1e-2 of the values' range; 3e-6 is not"},
        {"the bound view of data", startWith(LabFunction::Data, 4, {StudyMethod::Global}, data),
         [](LabModel& m) { return m.setView(LabView::Bound); }, "no exact function"},
        {"a node past the last", startWith(LabFunction::Sine, 11, {StudyMethod::Global}),
         [](LabModel& m) { return m.setPickedNode(11); },
         "There is no node 11: the nodes are numbered 0 to 10."},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        LabModel model(c.start);
        model.moveNode(1, 0, 7, false);
        const LabSettings before = model.settings();
        const NodeList nodes = model.nodes();
        const Refusal refusal = c.change(model);
        ASSERT_TRUE(refusal);
        EXPECT_NE(refusal->find(c.says), std::string::npos) << *refusal;
        EXPECT_EQ(model.settings(), before);
        EXPECT_EQ(model.nodes(), nodes);
    }
}

// The method's reason is a sentence of its own after "unavailable".
TEST(LabPicture, TheDescriptionGivesAnUnavailableMethodsReasonAsASentence)
{
    LabModel model(startWith(LabFunction::Sine, 101, {StudyMethod::Local}));
    model.setParameter(StudyMethod::Local, 100);
    ASSERT_FALSE(model.setCount(20));
    const std::string text = pictureDescription(model);
    EXPECT_NE(text.find("Local Lagrange polynomial: unavailable. The local Lagrange polynomial "
                        "through 20 nodes takes a degree from 0 to 19"),
              std::string::npos)
        << text;
}

TEST(LabPicture, TheBoundViewSaysWhyItHasNoBand)
{
    struct Case {
        const char* name;
        LabStart start;
        std::function<void(LabModel&)> change;
        const char* says;
    };
    const Case cases[] = {
        {"65 nodes", startWith(LabFunction::Runge, 65, {StudyMethod::Global}), [](LabModel&) {},
         "Global polynomial: The band takes f⁽⁶⁵⁾, and the Taylor coefficients reach the order 64: "
         "take at most 64 nodes."},
        {"local degree 64", startWith(LabFunction::Sine, 101, {StudyMethod::Local}),
         [](LabModel& m) { m.setParameter(StudyMethod::Local, 64); },
         "take a degree of at most 63."},
        {"a kink", startWith(LabFunction::Abs, 11, {StudyMethod::Global}), [](LabModel&) {},
         "f has a kink at x = 0.5: without f⁽¹¹⁾ there no band bounds its error."},
        {"a node moved off f", startWith(LabFunction::Sine, 11, {StudyMethod::Global}),
         [](LabModel& m) { m.moveNode(3, 0.3, 2, false); }, "the nodes were moved off f"},
        {"no polynomial shown", startWith(LabFunction::Sine, 11, {StudyMethod::Natural}),
         [](LabModel&) {}, "The band belongs to the global and the local polynomial"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LabModel model(c.start);
        ASSERT_FALSE(model.setView(LabView::Bound));
        c.change(model);
        const LabPicture picture = labPicture(model, {});
        EXPECT_TRUE(picture.series.empty());
        EXPECT_NE(picture.emptyReason.find(c.says), std::string::npos) << picture.emptyReason;
    }
    // Beside a band, the other method's reason is the picture's note.
    LabModel both(startWith(LabFunction::Sine, 70, {StudyMethod::Global, StudyMethod::Local}));
    ASSERT_FALSE(both.setView(LabView::Bound));
    const LabPicture picture = labPicture(both, {});
    ASSERT_EQ(picture.series.size(), 2u);
    EXPECT_EQ(picture.series[1].label.rfind("band of Local Lagrange polynomial (degree 1): "
                                            "max|f⁽²⁾|/2! = 19.74 (a maximum on 2001 grid points)",
                                            0),
              0u)
        << picture.series[1].label;
    EXPECT_NE(picture.note.find("take at most 64 nodes"), std::string::npos);
    // A whole power of a base near 0 at grid points keeps its high derivatives finite.
    LabStart power = startWith(LabFunction::Expression, 40, {StudyMethod::Global});
    power.expression = parseExpression("cos(2pi x)^10").expression;
    LabModel typed(power);
    ASSERT_FALSE(typed.setView(LabView::Bound));
    const LabPicture band = labPicture(typed, {});
    EXPECT_EQ(band.emptyReason, "");
    EXPECT_EQ(band.series.size(), 2u);
}

TEST(LabModel, APickedNodeGivesEachLinearMethodItsCurveAndMarksTheOthers)
{
    LabModel model(startWith(LabFunction::Runge, 11,
                             {StudyMethod::Global, StudyMethod::Natural, StudyMethod::Pchip}));
    ASSERT_FALSE(model.setView(LabView::Cardinal));
    ASSERT_FALSE(model.setPickedNode(3));
    const std::size_t atNode = 150;  // curveGrid()[150] = 0.3, node 3
    ASSERT_EQ(curveGrid()[atNode], 0.3);
    for (const StudyMethod method : {StudyMethod::Global, StudyMethod::Natural}) {
        ASSERT_EQ(model.cardinal(method).size(), curveGrid().size());
        EXPECT_NEAR(model.cardinal(method)[atNode], 1, 1e-14);
        EXPECT_NEAR(model.cardinal(method)[100], 0, 1e-14);  // node 2
    }
    EXPECT_TRUE(model.cardinal(StudyMethod::Pchip).empty());
    const LabPicture picture = labPicture(model, {});
    ASSERT_EQ(picture.series.size(), 3u);
    EXPECT_EQ(picture.series[2].label, "PCHIP: not linear in the data");
    EXPECT_TRUE(picture.series[2].x.empty());
    EXPECT_EQ(picture.pickedNode, 3u);
    EXPECT_EQ(picture.nodes[3].y, 1);
    EXPECT_EQ(picture.nodes[4].y, 0);
    EXPECT_NE(pictureDescription(model).find("PCHIP: not linear in the data"), std::string::npos);
    // Fewer nodes keep the pick among them.
    ASSERT_FALSE(model.setCount(3));
    EXPECT_EQ(model.settings().pickedNode, 2u);
    EXPECT_NEAR(model.cardinal(StudyMethod::Global).back(), 1, 1e-14);
}

TEST(LabModel, MethodsThatCannotTakeTheNodesSayWhyAndDrawNothing)
{
    const NodeList unordered = {{0, 0}, {0.6, 1}, {0.3, 0}, {1, 2}};
    LabStart start = startWith(LabFunction::Data, 4, {}, unordered);
    start.settings.shown.fill(true);
    LabModel model(start);
    for (const StudyMethod method : kStudyMethods) {
        SCOPED_TRACE(studyMethodKey(method));
        EXPECT_FALSE(model.outcome(method).available());
        EXPECT_FALSE(model.outcome(method).refusal.empty());
        EXPECT_TRUE(model.outcome(method).value.empty());
    }
    EXPECT_NE(model.outcome(StudyMethod::Clamped).refusal.find("f′(0)"), std::string::npos);
    const LabPicture picture = labPicture(model, {});
    EXPECT_TRUE(picture.series.empty());
    EXPECT_EQ(picture.nodes.size(), 4u);
    const std::vector<ValuesColumn> noFunction = model.valuesColumns();
    ASSERT_EQ(noFunction.size(), 3u) << "the columns of f, left empty";
    EXPECT_TRUE(noFunction[0].values.empty());

    LabModel local(startWith(LabFunction::Sine, 3, {StudyMethod::Local}));
    ASSERT_FALSE(local.setParameter(StudyMethod::Local, 5));
    EXPECT_FALSE(local.outcome(StudyMethod::Local).available());
    ASSERT_FALSE(local.setParameter(StudyMethod::Local, 2));
    EXPECT_TRUE(local.outcome(StudyMethod::Local).available()) << "no stale refusal";

    // Each parameter reaches its own method alone: k = 5 needs six nodes.
    LabModel bspline(startWith(LabFunction::Sine, 5, {StudyMethod::BSpline, StudyMethod::Fh}));
    EXPECT_NE(bspline.outcome(StudyMethod::BSpline).refusal.find("from 1 to 3; it is 5"),
              std::string::npos)
        << bspline.outcome(StudyMethod::BSpline).refusal;
    EXPECT_TRUE(bspline.outcome(StudyMethod::Fh).available());
    ASSERT_FALSE(bspline.setParameter(StudyMethod::BSpline, 3));
    EXPECT_TRUE(bspline.outcome(StudyMethod::BSpline).available());
    EXPECT_EQ(bspline.outcome(StudyMethod::BSpline).interpolant->parameter(), 3);
    EXPECT_EQ(bspline.outcome(StudyMethod::Fh).interpolant->parameter(), 3);
}

TEST(LabPicture, ConvergenceScaleStopsAboveTenThousandSoDivergenceDoesNotFlattenTheRest)
{
    LabStart start = startWith(LabFunction::Runge, 11, {StudyMethod::Global, StudyMethod::Natural});
    start.settings.view = LabView::Convergence;
    const LabModel model(start);
    const ConvergenceTable table = {{StudyMethod::Global, {{2, 0.5}, {1001, 1e280}}},
                                    {StudyMethod::Natural, {{2, 0.5}, {1001, 1e-9}}}};
    const WorldRect world = labPicture(model, table).world;
    EXPECT_LT(world.top, 5.0);
    EXPECT_GT(world.top, 4.0);
    EXPECT_LT(world.bottom, -9.0);

    const ConvergenceTable converging = {{StudyMethod::Natural, {{2, 0.5}, {1001, 1e-9}}}};
    EXPECT_LT(labPicture(model, converging).world.top, 0.5) << "a scale that fits is kept";
}

TEST(LabModel, FiguresOfRungeAtElevenEvenlySpacedNodes)
{
    LabModel model(startWith(LabFunction::Runge, 11, {StudyMethod::Global, StudyMethod::Linear}));
    const MethodOutcome& global = model.outcome(StudyMethod::Global);
    ASSERT_TRUE(global.figures);
    EXPECT_NEAR(global.figures->maxError, 1.9157, 1e-4);
    ASSERT_TRUE(global.lebesgueConstant);
    EXPECT_GT(*global.lebesgueConstant, 29);  // Λ of 11 evenly spaced nodes is about 29.9
    const std::vector<NumbersRow> rows = model.numbersRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].method, "global");
    EXPECT_EQ(rows[1].method, "linear");
    EXPECT_FALSE(rows[1].lebesgueConstant) << "linear has no Lebesgue function here";

    const std::vector<ValuesColumn> columns = model.valuesColumns();
    std::vector<std::string> names;
    for (const ValuesColumn& column : columns)
        names.push_back(column.name);
    EXPECT_EQ(names, (std::vector<std::string>{"f", "f'", "f''", "global", "global'", "global''",
                                               "linear", "linear'", "linear''"}));
    ASSERT_EQ(columns[3].values.size(), static_cast<std::size_t>(kValuesPoints));
    for (const int k : {0, 1, 333, 999, 1000}) {
        const auto at = static_cast<std::size_t>(k);
        const double x = valuesAbscissa(k);
        EXPECT_TRUE(support::sameBitsAs(columns[3].values[at], global.interpolant->value(x))) << k;
        const FunctionValues f = evaluateFunction(*model.function(), x);
        EXPECT_TRUE(support::sameBitsAs(columns[1].values[at], f.first)) << k;
        EXPECT_TRUE(support::sameBitsAs(columns[2].values[at], f.second)) << k;
        double value = 0;
        double first = 0;
        double second = 0;
        global.interpolant->evaluate(std::span(&x, 1), std::span(&value, 1), std::span(&first, 1),
                                     std::span(&second, 1));
        EXPECT_TRUE(support::sameBitsAs(columns[4].values[at], first)) << k;
        EXPECT_TRUE(support::sameBitsAs(columns[5].values[at], second)) << k;
    }
}

TEST(LabModel, ATypedFunctionIsStudiedWithItsExactDerivatives)
{
    LabModel model(startWith(LabFunction::Runge, 11, {StudyMethod::Clamped, StudyMethod::Natural}));
    ASSERT_FALSE(model.setExpression("exp(x) sin(10x)"));
    EXPECT_EQ(model.settings().function, LabFunction::Expression);
    EXPECT_EQ(model.functionLabel(), "f(x) = exp(x) sin(10x)");
    const std::shared_ptr<const Expression> f = model.expression();
    ASSERT_TRUE(f);
    const std::vector<double>& grid = errorGrid();
    for (const std::size_t k : {std::size_t{0}, std::size_t{2500}, grid.size() - 1}) {
        const FunctionValues at = f->values(grid[k]);
        EXPECT_EQ(model.exact(0)[k], at.value) << k;
        EXPECT_EQ(model.exact(1)[k], at.first) << k;
        EXPECT_EQ(model.exact(2)[k], at.second) << k;
    }
    EXPECT_EQ(model.nodes()[3].y, f->value(model.nodes()[3].x));
    // The clamped spline's end slopes are f'(0) = 10 and f'(1) = e (sin 10 + 10 cos 10).
    const Interpolant& clamped = *model.outcome(StudyMethod::Clamped).interpolant;
    double x[] = {0, 1};
    double value[2], first[2], second[2];
    clamped.evaluate(x, value, first, second);
    EXPECT_NEAR(first[0], 10, 1e-12);
    EXPECT_NEAR(first[1], std::exp(1.0) * (std::sin(10.0) + 10 * std::cos(10.0)), 1e-12);

    ASSERT_FALSE(model.setFunction(LabFunction::Sine));
    ASSERT_FALSE(model.setFunction(LabFunction::Expression)) << "the typed function is kept";
    EXPECT_EQ(model.functionLabel(), "f(x) = exp(x) sin(10x)");

    ASSERT_FALSE(model.setExpression("sqrt(x)"));
    EXPECT_FALSE(model.outcome(StudyMethod::Clamped).available())
        << "f'(0) of sqrt(x) is not finite";
    EXPECT_TRUE(model.outcome(StudyMethod::Natural).available());
}

TEST(LabModel, YourOwnNodesTakeTheFunctionsValuesAndEachChangeIsOneStepOfUndo)
{
    LabModel model(startWith(LabFunction::Runge, 11, {StudyMethod::Natural}));
    const NodeList family = model.nodes();
    ASSERT_FALSE(model.replaceNodes({{0.1, 9}, {0.3, 9}, {0.35, 9}, {0.9, 9}}, true));
    EXPECT_TRUE(model.settings().ownNodes);
    EXPECT_EQ(model.settings().count, 4);
    ASSERT_EQ(model.nodes().size(), 4u);
    const StudyFunction runge = *model.function();
    for (const Node& node : model.nodes())
        EXPECT_EQ(node.y, functionValue(runge, node.x)) << "with a function, y is f(x)";
    EXPECT_TRUE(model.outcome(StudyMethod::Natural).available());

    ASSERT_FALSE(model.replaceNodes({{0.1, 0}, {0.3, 0}, {0.9, 0}}, false));
    EXPECT_EQ(model.settings().count, 3);
    ASSERT_FALSE(model.undo());
    EXPECT_EQ(model.nodes().size(), 4u);
    EXPECT_EQ(model.settings().count, 4) << "the count follows an undone change";
    ASSERT_FALSE(model.undo());
    EXPECT_EQ(model.nodes(), family);

    // Choosing a family and then your own nodes again brings them back.
    ASSERT_FALSE(model.redo());
    ASSERT_FALSE(model.setFamily(NodeFamily::Lobatto));
    EXPECT_FALSE(model.settings().ownNodes);
    ASSERT_EQ(model.nodes().size(), 4u) << "n stays the number of nodes";
    EXPECT_EQ(model.nodes()[1].x, familyNodes(NodeFamily::Lobatto, 4)[1]);
    ASSERT_FALSE(model.setFunction(LabFunction::Sine));
    ASSERT_FALSE(model.setOwnNodes(true));
    ASSERT_EQ(model.nodes().size(), 4u);
    EXPECT_EQ(model.nodes()[2], (Node{0.35, functionValue(*model.function(), 0.35)}));

    // Found by the lab session fuzzer: Reset after own nodes left n at their number.
    ASSERT_FALSE(model.replaceNodes({{0.2, 0}, {0.5, 0}}, false));
    ASSERT_TRUE(model.resetNodes());
    EXPECT_EQ(model.nodes().size(), 4u);
    EXPECT_EQ(model.settings().count, 4);

    const NodeList data = {{0, 0}, {0.3, 1}, {0.6, 0}, {1, 2}};
    LabModel given(startWith(LabFunction::Data, 4, {StudyMethod::Linear}, data));
    ASSERT_FALSE(given.replaceNodes({{0, 5}, {2, 6}}, true));
    EXPECT_EQ(given.nodes(), (NodeList{{0, 5}, {2, 6}})) << "data keep their own y";
    EXPECT_EQ(given.settings().count, 2);
}

// Each step of a session, then what the lab shows after it: a choice of
// family or own nodes is one step of Undo, and Undo brings back the nodes
// before it, edits and all, with their family, count and own mark.
TEST(LabModel, ChoosingOtherNodesIsOneStepOfUndo)
{
    LabModel model(startWith(LabFunction::Runge, 11, {StudyMethod::Natural}));
    const NodeList evenly = model.nodes();
    ASSERT_FALSE(model.replaceNodes({{0.1, 0}, {0.3, 0}, {0.35, 0}, {0.9, 0}}, true));
    const NodeList undragged = model.nodes();
    model.beginDrag();
    model.moveNode(1, 0.3, 5, false);
    model.finishDrag();
    const NodeList own = model.nodes();
    NodeList lobatto;
    for (const double x : familyNodes(NodeFamily::Lobatto, 4))
        lobatto.push_back({x, functionValue(*model.function(), x)});
    const auto undo = [&model] { return model.undo(); };
    const auto redo = [&model] { return model.redo(); };
    const struct {
        const char* step;
        std::function<Refusal()> act;
        bool ownNodes;
        NodeFamily family;
        const NodeList& nodes;
        bool edited;
    } rows[] = {
        {"a family chosen", [&model] { return model.setFamily(NodeFamily::Lobatto); }, false,
         NodeFamily::Lobatto, lobatto, false},
        {"undone: the own nodes, dragged", undo, true, NodeFamily::Equispaced, own, true},
        {"redone: the family again", redo, false, NodeFamily::Lobatto, lobatto, false},
        {"own nodes chosen again", [&model] { return model.setOwnNodes(true); }, true,
         NodeFamily::Lobatto, undragged, false},
        {"undone: the family", undo, false, NodeFamily::Lobatto, lobatto, false},
        {"undone: the own nodes", undo, true, NodeFamily::Equispaced, own, true},
        {"undone: before the drag", undo, true, NodeFamily::Equispaced, undragged, true},
        {"undone: the family's nodes", undo, false, NodeFamily::Equispaced, evenly, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.step);
        const Refusal refusal = row.act();
        ASSERT_FALSE(refusal) << *refusal;
        EXPECT_EQ(model.settings().ownNodes, row.ownNodes);
        EXPECT_EQ(model.settings().family, row.family);
        EXPECT_EQ(model.settings().count, static_cast<int>(row.nodes.size()));
        EXPECT_EQ(model.nodes(), row.nodes);
        EXPECT_EQ(model.edited(), row.edited);
        EXPECT_TRUE(model.outcome(StudyMethod::Natural).available());
    }

    // Own nodes have no family, so no step brings them into the convergence view.
    ASSERT_FALSE(model.redo());
    ASSERT_FALSE(model.setFamily(NodeFamily::Gauss));
    ASSERT_FALSE(model.setView(LabView::Convergence));
    const LabSettings before = model.settings();
    const NodeList nodes = model.nodes();
    const Refusal refusal = model.undo();
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("brings back your own nodes"), std::string::npos) << *refusal;
    EXPECT_EQ(model.settings(), before);
    EXPECT_EQ(model.nodes(), nodes);
}

// Runge's slopes at the ends differ in sign, f'(0) = -f'(1), so an end slope
// taken at the wrong end shows.
TEST(LabModel, ClampedSplineTakesEachEndSlopeAtItsOwnEnd)
{
    const LabModel model(startWith(LabFunction::Runge, 11, {StudyMethod::Clamped}));
    const Interpolant& p = *model.outcome(StudyMethod::Clamped).interpolant;
    const std::vector<double>& slope = model.exact(1);
    EXPECT_NEAR(p.at(0).first, slope.front(), 1e-12);
    EXPECT_NEAR(p.at(1).first, slope.back(), 1e-12);
    EXPECT_GT(std::abs(slope.front() - slope.back()), 0.1);
}

TEST(LabModel, LebesgueConstantFollowsTheLocalDegree)
{
    LabModel model(startWith(LabFunction::Runge, 21, {StudyMethod::Local}));
    for (const int degree : {2, 8, 3}) {
        ASSERT_FALSE(model.setParameter(StudyMethod::Local, degree));
        MethodSettings settings;
        settings.parameters.set(StudyMethod::Local, degree);
        const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, 21);
        const auto direct =
            lebesgueConstant(*buildInterpolant(StudyMethod::Local, xs, xs, settings).interpolant);
        ASSERT_TRUE(model.outcome(StudyMethod::Local).lebesgueConstant) << degree;
        EXPECT_EQ(*model.outcome(StudyMethod::Local).lebesgueConstant, direct->value)
            << "degree " << degree;
    }
}

TEST(LabPicture, ConvergenceViewDrawsOnlyTheShownMethods)
{
    LabStart start = startWith(LabFunction::Runge, 11, {StudyMethod::Global});
    start.settings.view = LabView::Convergence;
    const LabModel model(start);
    const ConvergenceTable table = {{StudyMethod::Global, {{2, 0.5}, {11, 0.1}}},
                                    {StudyMethod::Natural, {{2, 0.5}, {11, 0.01}}}};
    const LabPicture picture = labPicture(model, table);
    ASSERT_FALSE(picture.series.empty());
    for (const LabSeries& series : picture.series)
        EXPECT_EQ(series.label.find(studyMethodName(StudyMethod::Natural)), std::string::npos)
            << series.label;
}

// Chebyshev roots do not reach 0 and 1: the stretches beyond them are
// dashed and apart from the curve.
TEST(LabPicture, ExtrapolatedStretchesAreDashedApartFromTheCurve)
{
    LabStart start = startWith(LabFunction::Runge, 9, {StudyMethod::Global});
    start.settings.family = NodeFamily::Gauss;
    const LabModel model(start);
    const LabPicture picture = labPicture(model, {});
    const std::span<const double> xs = model.outcome(StudyMethod::Global).interpolant->xs();
    std::size_t dashed = 0;
    for (const LabSeries& series : picture.series) {
        if (!series.dashed)
            continue;
        ++dashed;
        EXPECT_TRUE(series.label.empty()) << "no second legend line";
        EXPECT_FALSE(std::isnan(series.y.front()));
        EXPECT_FALSE(std::isnan(series.y.back()));
    }
    EXPECT_EQ(dashed, 1u);
    const auto found =
        std::find_if(picture.series.begin(), picture.series.end(),
                     [](const LabSeries& s) { return s.label == "Global polynomial"; });
    ASSERT_NE(found, picture.series.end());
    const LabSeries& curve = *found;
    for (std::size_t k = 0; k < curve.x.size(); ++k)
        EXPECT_EQ(std::isnan(curve.y[k]), curve.x[k] < xs.front() || curve.x[k] > xs.back())
            << curve.x[k];
}

TEST(LabText, LargestErrorSaysWhenItLiesOutsideTheNodes)
{
    ErrorFigures inside;
    inside.maxError = 0.25;
    inside.maxErrorX = 0.5;
    inside.insideMaxError = 0.25;
    inside.insideMaxErrorX = 0.5;
    EXPECT_EQ(largestErrorText(inside), "largest error 0.25 at x = 0.5");
    ErrorFigures outside = inside;
    outside.maxError = 1.6e10;
    outside.maxErrorX = 0;
    outside.maxErrorOutside = true;
    outside.insideMaxError = 0.003;
    EXPECT_EQ(largestErrorText(outside),
              "largest error 1.6e10 at x = 0, outside the nodes; inside them 0.003 at x = 0.5");
    outside.insideMaxError.reset();
    EXPECT_EQ(largestErrorText(outside), "largest error 1.6e10 at x = 0, outside the nodes");
}

TEST(LabModel, ADragMovesTheFiguresAndUndoBringsThemBackBitForBit)
{
    LabModel model(startWith(LabFunction::Sine, 21, {StudyMethod::Natural, StudyMethod::Pchip}));
    const NumbersRow before = model.numbersRows()[0];
    model.beginDrag();
    ASSERT_TRUE(model.moveNode(10, 0, 0.8, false));
    model.finishDrag();
    EXPECT_TRUE(model.edited());
    EXPECT_EQ(labPicture(model, {}).nodesLabel, "edited nodes (21, evenly spaced)");
    EXPECT_GT(*model.numbersRows()[0].largestError, 0.7);
    ASSERT_FALSE(model.undo());
    const NumbersRow after = model.numbersRows()[0];
    EXPECT_TRUE(support::sameBitsAs(*after.largestError, *before.largestError));
    EXPECT_TRUE(support::sameBitsAs(*after.rmsError, *before.rmsError));
    EXPECT_EQ(labPicture(model, {}).nodesLabel, "nodes (21, evenly spaced)");
}

TEST(LabModel, EachViewDrawsWhatItNames)
{
    struct Case {
        LabView view;
        std::size_t series;  // f where the view shows it, then the two methods
        const char* firstLabel;
        const char* xCaption;
        const char* yCaption;
    };
    const Case cases[] = {
        {LabView::Values, 3, "sin(2πx)", "x", "p(x), f(x)"},
        {LabView::Error, 2, "error of Global polynomial", "x", "p(x) − f(x)"},
        {LabView::LogError, 2, "error of Global polynomial", "x", "|p(x) − f(x)|"},
        {LabView::Derivative, 3, "sin(2πx): f′", "x", "p′(x), f′(x)"},
        {LabView::Second, 3, "sin(2πx): f″", "x", "p″(x), f″(x)"},
        {LabView::Lebesgue, 1, "Lebesgue function of Global polynomial", "x",
         "Lebesgue function λ(x)"},
        {LabView::Bound, 2, "|p − f| of Global polynomial", "x",
         "|p(x) − f(x)| under max|f⁽ⁿ⁾|/n! · |ω(x)|"},
        {LabView::Omega, 3, "ω(x), largest |ω| 3.673e-5 at x = 0.0375", "x", "node polynomial ω(x)"},
        {LabView::Cardinal, 2, "Global polynomial", "x",
         "curve for the value 1 at the picked node"},
        {LabView::Poles, 1, "nodes (9, evenly spaced)", "Re z", "Im z"},
        {LabView::Convergence, 2, "reference slope n⁻²", "n (number of nodes)",
         "largest error max |p − f|"},
    };
    LabModel model(startWith(LabFunction::Sine, 9, {StudyMethod::Global, StudyMethod::Akima}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstLabel);
        ASSERT_FALSE(model.setView(c.view));
        const LabPicture picture = labPicture(model, {});
        ASSERT_EQ(picture.series.size(), c.series);
        EXPECT_EQ(picture.series[0].label, c.firstLabel);
        if (c.view != LabView::Convergence && c.view != LabView::Poles) {
            EXPECT_EQ(picture.series[0].x.size(), static_cast<std::size_t>(kCurvePoints));
        }
        EXPECT_EQ(picture.nodes.empty(), c.view != LabView::Values && c.view != LabView::Cardinal);
        EXPECT_LT(picture.world.bottom, picture.world.top);
        EXPECT_EQ(picture.xCaption, c.xCaption);
        EXPECT_EQ(picture.yCaption, c.yCaption);
    }
    // The reference slopes, told apart by their dashes and named at their ends.
    const LabPicture convergence = labPicture(model, {});
    ASSERT_EQ(convergence.series.size(), 2u);
    EXPECT_EQ(convergence.series[0].endLabel, "n⁻²");
    EXPECT_EQ(convergence.series[1].endLabel, "n⁻⁴");
    EXPECT_NE(convergence.series[0].dash, LineDash::Solid);
    EXPECT_NE(convergence.series[1].dash, LineDash::Solid);
    EXPECT_NE(convergence.series[0].dash, convergence.series[1].dash);
}

// Runge's function is rational, so AAA finds its poles: drawn beside the
// function's own, with the support points and the nearest pole in words.
TEST(LabPicture, PolesViewShowsTheApproximantsPolesBesideTheFunctions)
{
    LabModel model(startWith(LabFunction::Runge, 101, {StudyMethod::Global}));
    ASSERT_FALSE(model.setView(LabView::Poles));
    LabPicture picture = labPicture(model, {});
    ASSERT_EQ(picture.series.size(), 2u);
    EXPECT_EQ(picture.series[1].label, "singularities of f");
    EXPECT_EQ(picture.emptyReason,
              "The poles and zeros belong to the AAA approximant: show it.");
    model.setShown(StudyMethod::Aaa, true);
    picture = labPicture(model, {});
    ASSERT_EQ(picture.series.size(), 4u);
    EXPECT_EQ(picture.series[0].x.size(), 101u) << "the nodes, on the real axis";
    EXPECT_EQ(picture.series[0].y, std::vector<double>(101, 0.0));
    const LabSeries& poles = picture.series[2];
    EXPECT_EQ(poles.label, "poles of the AAA approximant");
    EXPECT_EQ(poles.apart, PointMarks::Dots);
    ASSERT_EQ(poles.x.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
        EXPECT_NEAR(poles.x[k], 0.5, 1e-8);
        EXPECT_NEAR(poles.y[k], k == 0 ? -0.1 : 0.1, 1e-8);
    }
    EXPECT_EQ(picture.note, "AAA: 3 support points; nearest pole 0.5 ± 0.1i, 0.1 from the nodes");
    EXPECT_TRUE(picture.emptyReason.empty());
    EXPECT_NE(pictureDescription(model).find(picture.note), std::string::npos);
    EXPECT_LT(picture.world.left, 0);
    EXPECT_GT(picture.world.right, 1);
    EXPECT_GT(picture.world.top, 0.1);
    EXPECT_LT(picture.world.bottom, -0.1);
    // Data have no function, and the view takes them all the same.
    LabModel data(startWith(LabFunction::Data, 3, {StudyMethod::Aaa}, threeNodes()));
    EXPECT_FALSE(data.setView(LabView::Poles));
    EXPECT_EQ(labPicture(data, {}).series.size(), 3u);
}

// The monomial form of the global polynomial stalls where the barycentric
// form goes on to rounding, and the legend names the form.
TEST(LabModel, TheGlobalFormChangesTheFiguresAndTheLegend)
{
    LabStart start = startWith(LabFunction::Runge, 101, {StudyMethod::Global});
    start.settings.family = NodeFamily::Lobatto;
    LabModel model(start);
    const double barycentric = model.outcome(StudyMethod::Global).figures->maxError;
    EXPECT_LT(barycentric, 1e-8);
    EXPECT_FALSE(model.setGlobalForm(GlobalForm::Monomial));
    EXPECT_GT(model.outcome(StudyMethod::Global).figures->maxError, 1e-4);
    EXPECT_EQ(labPicture(model, {}).series[1].label, "Global polynomial (Monomial form)");
    EXPECT_FALSE(model.setGlobalForm(GlobalForm::Barycentric));
    EXPECT_EQ(model.outcome(StudyMethod::Global).figures->maxError, barycentric);
    EXPECT_EQ(labPicture(model, {}).series[1].label, "Global polynomial");
}

// The title says which function at which nodes, and the legend names the
// node family, so that a figure tells its own story.
TEST(LabModel, TitleAndLegendNameTheFunctionAndTheNodeFamily)
{
    struct Case {
        const char* name;
        LabStart start;
        NodeFamily family;
        LabView view;
        const char* title;
        const char* nodes;
        std::optional<NodeList> pasted = std::nullopt;
    };
    const NodeList three = {{0, 1}, {0.5, 2}, {1, 0}};
    const Case cases[] = {
        {"evenly spaced", startWith(LabFunction::Runge, 11, {StudyMethod::Global}),
         NodeFamily::Equispaced, LabView::Values, "Runge 1/(1 + 25(2x − 1)²), 11 evenly spaced nodes",
         "nodes (11, evenly spaced)"},
        {"Chebyshev points", startWith(LabFunction::Runge, 11, {StudyMethod::Global}),
         NodeFamily::Lobatto, LabView::Values, "Runge 1/(1 + 25(2x − 1)²), 11 Chebyshev points",
         "nodes (11, Chebyshev points)"},
        {"Chebyshev roots", startWith(LabFunction::Sine, 5, {StudyMethod::Linear}),
         NodeFamily::Gauss, LabView::Values, "sin(2πx), 5 Chebyshev roots",
         "nodes (5, Chebyshev roots)"},
        {"convergence", startWith(LabFunction::Cos10, 11, {StudyMethod::Natural}),
         NodeFamily::Equispaced, LabView::Convergence,
         "cos¹⁰(2πx), evenly spaced nodes: largest error against n", ""},
        {"given points", startWith(LabFunction::Data, 3, {StudyMethod::Linear}, three),
         NodeFamily::Equispaced, LabView::Values, "Data (no function), 3 nodes",
         "nodes (3)"},
        {"pasted nodes, no longer of the family they replaced",
         startWith(LabFunction::Sine, 11, {StudyMethod::Linear}), NodeFamily::Equispaced,
         LabView::Values, "sin(2πx), 3 edited own nodes", "edited nodes (3, your own)", three},
    };
    for (const Case& c : cases) {
        LabModel model(c.start);
        if (c.start.settings.function != LabFunction::Data) {
            ASSERT_FALSE(model.setFamily(c.family)) << c.name;
        }
        if (c.pasted) {
            ASSERT_FALSE(model.replaceNodes(*c.pasted, true)) << c.name;
        }
        ASSERT_FALSE(model.setView(c.view)) << c.name;
        const LabPicture picture = labPicture(model, {});
        EXPECT_EQ(picture.title, c.title) << c.name;
        EXPECT_EQ(picture.nodesLabel, c.nodes) << c.name;
    }
}

TEST(Convergence, PointsArriveCountByCountAndMatchOneComputedAlone)
{
    ConvergenceRequest request;
    request.function = StudyFunction{StudyFunctionId::Runge, {}};
    request.family = NodeFamily::Lobatto;
    request.methods = {StudyMethod::Global, StudyMethod::Local};
    request.parameters.set(StudyMethod::Local, 4);
    request.counts = {2, 3, 41};
    std::vector<ConvergencePoint> points;
    computeConvergence(request, {}, [&](const ConvergencePoint& p) { points.push_back(p); });
    ASSERT_EQ(points.size(), 6u);
    EXPECT_EQ(points[0].count, 2);
    EXPECT_EQ(points[1].method, StudyMethod::Local);
    EXPECT_FALSE(points[1].largestError) << "degree 4 at 2 nodes is refused";
    EXPECT_NEAR(*points[4].largestError, 3.398775e-4, 1e-9);

    std::stop_source stop;
    std::size_t delivered = 0;
    computeConvergence(request, stop.get_token(), [&](const ConvergencePoint&) {
        if (++delivered == 2)
            stop.request_stop();
    });
    EXPECT_EQ(delivered, 2u);
}

TEST(Convergence, LocalPointsUseTheChosenDegree)
{
    ConvergenceRequest request;
    request.function = StudyFunction{StudyFunctionId::Runge, {}};
    request.family = NodeFamily::Equispaced;
    request.methods = {StudyMethod::Local};
    request.counts = {41};
    const std::vector<double> exact = valuesOnGrid(request.function);
    const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, 41);
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(functionValue(request.function, x));
    for (const int degree : {1, 4, 7}) {
        request.parameters.set(StudyMethod::Local, degree);
        MethodSettings settings;
        settings.parameters.set(StudyMethod::Local, degree);
        const Interpolant p = *buildInterpolant(StudyMethod::Local, xs, ys, settings).interpolant;
        const auto point = convergencePoint(request, StudyMethod::Local, 41, exact);
        ASSERT_TRUE(point.largestError) << degree;
        EXPECT_EQ(*point.largestError, errorFigures(p, exact).maxError) << "degree " << degree;
    }
}

TEST(Convergence, ARunDeliversEveryPointThenFinishesAndCancelWaits)
{
    ConvergenceRequest request;
    request.function = StudyFunction{StudyFunctionId::Sine, {}};
    request.methods = {StudyMethod::Linear, StudyMethod::Pchip};
    request.counts = {5, 9, 17};
    std::mutex mutex;
    std::condition_variable finished;
    std::vector<ConvergencePoint> points;
    bool done = false;
    ConvergenceRun run;
    run.start(
        request,
        [&](const ConvergencePoint& p) {
            const std::lock_guard lock(mutex);
            points.push_back(p);
        },
        [&] {
            const std::lock_guard lock(mutex);
            done = true;
            finished.notify_all();
        });
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(finished.wait_for(lock, std::chrono::seconds(60), [&] { return done; }));
        EXPECT_EQ(points.size(), 6u);
    }
    // A run cancelled at once: after cancel() returns nothing more arrives.
    std::size_t late = 0;
    run.start(request,
              [&](const ConvergencePoint&) {
                  const std::lock_guard lock(mutex);
                  ++late;
              },
              {});
    run.cancel();
    const std::size_t atCancel = late;
    run.cancel();
    EXPECT_EQ(late, atCancel);
    EXPECT_LE(late, 6u);
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

// A model that leaves long work pending and one that does all at once, from
// the same start; the deferred one's results computed as the window's worker
// computes them.
struct DeferredAndAtOnce {
    LabModel deferred;
    LabModel atOnce;
    explicit DeferredAndAtOnce(const LabStart& start) : deferred(start), atOnce(start)
    {
        deferred.setDeferLongWork(true);
    }
    void completeDeferred()
    {
        for (const MethodWork& work : deferred.takeLongWork())
            EXPECT_TRUE(
                deferred.takeResult({work.method, work.generation, *builtOutcome(work)}));
    }
};

// Each change as the window makes it: the slow methods pending, the others
// computed; the results taken later are those computed at once, bit for bit.
TEST(LabModel, LongWorkDoneLaterGivesWhatWorkDoneAtOnceGives)
{
    const struct {
        const char* name;
        std::function<Refusal(LabModel&)> change;
        std::vector<StudyMethod> pending;
    } rows[] = {
        {"more nodes", [](LabModel& m) { return m.setCount(301); },
         {StudyMethod::Global, StudyMethod::Fh, StudyMethod::Trig, StudyMethod::Aaa}},
        {"a high local degree",
         [](LabModel& m) {
             m.setCount(301);
             return m.setParameter(StudyMethod::Local, 100);
         },
         {StudyMethod::Global, StudyMethod::Local, StudyMethod::Fh, StudyMethod::Trig,
          StudyMethod::Aaa}},
        {"the Lebesgue view at many nodes",
         [](LabModel& m) {
             m.setCount(301);
             return m.setView(LabView::Lebesgue);
         },
         {StudyMethod::Global, StudyMethod::Fh, StudyMethod::Trig, StudyMethod::Aaa}},
        {"a hundred nodes: AAA's build alone waits",
         [](LabModel& m) {
             m.setCount(101);
             return m.setParameter(StudyMethod::Local, 40);
         },
         {StudyMethod::Aaa}},
        {"fifty nodes: nothing waits", [](LabModel& m) { return m.setCount(50); }, {}},
        {"AAA shown again at many nodes",
         [](LabModel& m) {
             m.setShown(StudyMethod::Aaa, false);
             m.setCount(1001);
             m.setShown(StudyMethod::Aaa, true);
             return Refusal();
         },
         {StudyMethod::Global, StudyMethod::Fh, StudyMethod::Trig, StudyMethod::Aaa}},
        {"a drag: every curve drawn at once, every figure later",
         [](LabModel& m) {
             m.beginDrag();
             m.moveNode(5, 0.2, 0.7, false);
             m.finishDrag();
             return Refusal{};
         },
         {StudyMethod::Global, StudyMethod::Local, StudyMethod::Akima, StudyMethod::Fh,
          StudyMethod::Trig, StudyMethod::Aaa}},
    };
    for (const auto& row : rows) {
        const std::vector<StudyMethod> shown = {StudyMethod::Global, StudyMethod::Local,
                                                StudyMethod::Akima, StudyMethod::Fh,
                                                StudyMethod::Trig, StudyMethod::Aaa};
        LabStart start = startWith(LabFunction::Runge, 11, {});
        for (const StudyMethod method : shown)
            start.settings.shown[methodIndex(method)] = true;
        DeferredAndAtOnce models(std::move(start));
        models.deferred.setCount(31);
        models.atOnce.setCount(31);
        ASSERT_FALSE(row.change(models.deferred)) << row.name;
        ASSERT_FALSE(row.change(models.atOnce)) << row.name;
        for (const StudyMethod method : shown) {
            const bool waits =
                std::find(row.pending.begin(), row.pending.end(), method) != row.pending.end();
            const MethodOutcome& out = models.deferred.outcome(method);
            EXPECT_EQ(out.pending || out.previewed, waits)
                << row.name << ", " << studyMethodKey(method);
            if (!out.previewed)
                continue;
            // The curve drawn meanwhile is the finished one's at every drawn point.
            const std::vector<double>& full = models.atOnce.outcome(method).value;
            const std::size_t step = (full.size() - 1) / (kCurvePoints - 1);
            ASSERT_EQ(out.value.size(), full.size()) << row.name;
            for (std::size_t k = 0; k < full.size(); k += step)
                ASSERT_TRUE(support::sameBitsAs(out.value[k], full[k]))
                    << row.name << ", " << studyMethodKey(method) << " at " << k;
        }
        EXPECT_EQ(models.deferred.workPending(), !row.pending.empty()) << row.name;
        models.completeDeferred();
        EXPECT_FALSE(models.deferred.workPending()) << row.name;
        for (const StudyMethod method : kStudyMethods) {
            const MethodOutcome& later = models.deferred.outcome(method);
            const MethodOutcome& now = models.atOnce.outcome(method);
            const std::string what = std::string(row.name) + ", " + studyMethodKey(method);
            EXPECT_EQ(later.refusal, now.refusal) << what;
            ASSERT_EQ(later.interpolant.has_value(), now.interpolant.has_value()) << what;
            if (now.interpolant) {
                support::expectBits(what + " support points", later.interpolant->data().knots,
                                    now.interpolant->data().knots);
                support::expectBits(what + " weights", later.interpolant->data().weights,
                                    now.interpolant->data().weights);
            }
            support::expectBits(what + " values", later.value, now.value);
            support::expectBits(what + " Lebesgue function", later.lebesgue, now.lebesgue);
            ASSERT_EQ(later.lebesgueConstant.has_value(), now.lebesgueConstant.has_value()) << what;
            if (now.lebesgueConstant) {
                EXPECT_TRUE(support::sameBitsAs(*later.lebesgueConstant, *now.lebesgueConstant))
                    << what;
            }
            ASSERT_EQ(later.figures.has_value(), now.figures.has_value()) << what;
            if (now.figures) {
                EXPECT_TRUE(support::sameBitsAs(later.figures->maxError, now.figures->maxError))
                    << what;
            }
        }
    }
}

// A slow build of a method not shown is not done at all: the method counts
// as available, with nothing to draw and no work, until it is shown.
TEST(LabModel, ASlowBuildOfAHiddenMethodWaitsUntilItIsShown)
{
    DeferredAndAtOnce models(startWith(LabFunction::Abs, 11, {StudyMethod::Linear}));
    models.deferred.setCount(1001);
    const MethodOutcome& aaa = models.deferred.outcome(StudyMethod::Aaa);
    EXPECT_TRUE(aaa.waitsUntilShown);
    EXPECT_TRUE(aaa.available());
    EXPECT_FALSE(aaa.interpolant);
    EXPECT_FALSE(models.deferred.workPending());
    EXPECT_TRUE(models.deferred.takeLongWork().empty());
    models.deferred.setShown(StudyMethod::Aaa, true);
    EXPECT_TRUE(models.deferred.outcome(StudyMethod::Aaa).pending);
    EXPECT_FALSE(models.deferred.outcome(StudyMethod::Aaa).waitsUntilShown);
    const std::vector<MethodWork> works = models.deferred.takeLongWork();
    ASSERT_EQ(works.size(), 1u);
    EXPECT_TRUE(works[0].build);
}

// Work of a state the model has left (the count changed again, a node
// moved) is dropped and changes nothing; the work is handed out once.
TEST(LabModel, LongWorkOfAnEarlierStateIsDropped)
{
    DeferredAndAtOnce models(startWith(LabFunction::Sine, 11, {StudyMethod::Global}));
    models.deferred.setCount(301);
    std::vector<MethodWork> first = models.deferred.takeLongWork();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_TRUE(models.deferred.takeLongWork().empty());
    models.deferred.setCount(300);
    std::vector<MethodWork> second = models.deferred.takeLongWork();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_FALSE(models.deferred.takeResult(
        {first[0].method, first[0].generation, *completedOutcome(first[0])}));
    EXPECT_TRUE(models.deferred.outcome(StudyMethod::Global).pending);
    EXPECT_TRUE(models.deferred.outcome(StudyMethod::Global).value.empty());
    models.deferred.beginDrag();
    ASSERT_TRUE(models.deferred.moveNode(3, 0.03, 0.5, false));
    models.deferred.finishDrag();
    EXPECT_FALSE(models.deferred.takeResult(
        {second[0].method, second[0].generation, *completedOutcome(second[0])}));
    EXPECT_TRUE(models.deferred.outcome(StudyMethod::Global).previewed);
    EXPECT_FALSE(models.deferred.outcome(StudyMethod::Global).figures);
}

// A work computed in blocks, to give up soon when it is overtaken, gives
// what one pass over the whole grid gives, bit for bit; a work already
// overtaken gives nothing.
TEST(MethodWork, AWorkInBlocksGivesTheWholeGridsValuesAndStopsWhenOvertaken)
{
    const struct {
        const char* name;
        StudyMethod method;
        LabView view;
        int degree;
    } rows[] = {
        {"global values", StudyMethod::Global, LabView::Values, 3},
        {"local derivative at degree 60", StudyMethod::Local, LabView::Derivative, 60},
        {"local Lebesgue function", StudyMethod::Local, LabView::Lebesgue, 20},
        {"fh second derivative", StudyMethod::Fh, LabView::Second, 3},
        {"trig, no Lebesgue function", StudyMethod::Trig, LabView::Lebesgue, 3},
    };
    const std::vector<double>& grid = errorGrid();
    for (const auto& row : rows) {
        const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, 301);
        std::vector<double> ys(xs.size());
        std::transform(xs.begin(), xs.end(), ys.begin(),
                       [](double x) { return std::sin(6 * x) + x * x; });
        ys.back() = ys.front();  // periodic for trig
        MethodSettings settings;
        settings.parameters.set(StudyMethod::Local, row.degree);
        BuildResult built = buildInterpolant(row.method, xs, ys, settings);
        ASSERT_TRUE(built.interpolant) << row.name << ": " << refusalText(row.method, *built.refusal);
        MethodWork work;
        work.method = row.method;
        work.interpolant = *built.interpolant;
        work.view = row.view;
        const std::optional<MethodOutcome> out = completedOutcome(work);
        ASSERT_TRUE(out) << row.name;
        // The plain twin, from a copy that has weighed no window yet.
        const BuildResult fresh = buildInterpolant(row.method, xs, ys, settings);
        std::vector<double> value(grid.size());
        std::vector<double> first(row.view == LabView::Derivative ? grid.size() : 0);
        std::vector<double> second(row.view == LabView::Second ? grid.size() : 0);
        fresh.interpolant->evaluate(grid, value, first, second);
        support::expectBits(std::string(row.name) + " values", out->value, value);
        support::expectBits(std::string(row.name) + " p'", out->first, first);
        support::expectBits(std::string(row.name) + " p''", out->second, second);
        std::vector<double> lebesgue(grid.size());
        const bool hasLebesgue = lebesgueFunction(*fresh.interpolant, grid, lebesgue);
        if (row.view == LabView::Lebesgue && hasLebesgue)
            support::expectBits(std::string(row.name) + " Lebesgue", out->lebesgue, lebesgue);
        else
            EXPECT_TRUE(out->lebesgue.empty()) << row.name;
        ASSERT_EQ(out->lebesgueConstant.has_value(), hasLebesgue) << row.name;
        if (hasLebesgue) {
            EXPECT_TRUE(support::sameBitsAs(*out->lebesgueConstant,
                                            lebesgueConstant(*fresh.interpolant)->value))
                << row.name;
        }
        std::stop_source overtaken;
        overtaken.request_stop();
        EXPECT_FALSE(completedOutcome(work, overtaken.get_token())) << row.name;
    }
}

TEST(MethodWork, ARunDeliversEachWorkAndCancelWaits)
{
    LabModel model(startWith(LabFunction::Runge, 101, {StudyMethod::Global, StudyMethod::Local}));
    model.setDeferLongWork(true);
    model.setCount(400);
    model.setParameter(StudyMethod::Local, 100);
    std::vector<MethodWork> works = model.takeLongWork();
    ASSERT_EQ(works.size(), 2u);
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<MethodWorkResult> results;
    MethodWorkRun run;
    run.start(works, [&](MethodWorkResult result) {
        const std::lock_guard lock(mutex);
        results.push_back(std::move(result));
        arrived.notify_all();
    });
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(
            arrived.wait_for(lock, std::chrono::seconds(60), [&] { return results.size() == 2; }));
    }
    for (MethodWorkResult& result : results)
        EXPECT_TRUE(model.takeResult(std::move(result)));
    EXPECT_FALSE(model.workPending());
    EXPECT_TRUE(model.outcome(StudyMethod::Local).lebesgueConstant);
    // A run cancelled at once: after cancel() returns nothing more arrives.
    std::size_t late = 0;
    run.start(works, [&](MethodWorkResult) {
        const std::lock_guard lock(mutex);
        ++late;
    });
    run.cancel();
    const std::size_t atCancel = late;
    run.cancel();
    EXPECT_EQ(late, atCancel);
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

// What closing the lab would lose, after each step of a session.
TEST(LabModel, UnsavedEditsAreTheNodesEditedSinceTheLastSave)
{
    LabModel model(startWith(LabFunction::Sine, 5, {StudyMethod::Linear}));
    const auto drag = [&model] {
        model.beginDrag();
        model.moveNode(2, 0.5, model.nodes()[2].y + 0.25, false);
        model.finishDrag();
    };
    const struct {
        const char* step;
        std::function<void()> act;
        const char* unsaved;
    } rows[] = {
        {"opened", [] {}, ""},
        {"a node dragged", drag, "edited nodes"},
        {"saved", [&model] { model.markNodesSaved(); }, ""},
        {"dragged again", drag, "edited nodes"},
        {"undone to the saved nodes", [&model] { model.undo(); }, ""},
        {"undone to the function's nodes", [&model] { model.undo(); }, ""},
        {"redone", [&model] { model.redo(); }, ""},
        {"redone past the save", [&model] { model.redo(); }, "edited nodes"},
        {"reset", [&model] { model.resetNodes(); }, ""},
        {"a function typed", [&model] { ASSERT_FALSE(model.setExpression("exp(x) sin(10x)")); },
         "a typed function"},
        {"its nodes dragged", drag, "edited nodes and a typed function"},
        {"only the nodes saved", [&model] { model.markNodesSaved(); }, "a typed function"},
        {"the study saved", [&model] { model.markStudySaved(); }, ""},
        {"another function typed", [&model] { ASSERT_FALSE(model.setExpression("x^2")); },
         "a typed function"},
        {"a built-in function chosen", [&model] { model.setFunction(LabFunction::Runge); }, ""},
        {"own nodes pasted",
         [&model] { ASSERT_FALSE(model.replaceNodes({{0, 0}, {0.3, 0}, {1, 0}}, false)); },
         "edited nodes"},
        {"another function given to them", [&model] { model.setFunction(LabFunction::Sine); },
         "edited nodes"},
        {"they are saved", [&model] { model.markNodesSaved(); }, ""},
        {"a function given to the saved ones",
         [&model] { model.setFunction(LabFunction::Runge); }, ""},
    };
    for (const auto& row : rows) {
        row.act();
        EXPECT_EQ(model.unsavedEdits(), row.unsaved) << row.step;
    }
}

TEST(ConvergenceStudy, FollowsTheSettingsAndDropsWhatAnEarlierRunDelivers)
{
    LabModel model(startWith(LabFunction::Runge, 11, {StudyMethod::Fh, StudyMethod::BSpline}));
    ASSERT_FALSE(model.setParameter(StudyMethod::Fh, 4));
    const std::optional<ConvergenceRequest> request = convergenceRequestFor(model);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->methods, (std::vector<StudyMethod>{StudyMethod::Fh, StudyMethod::BSpline}));
    EXPECT_EQ(request->parameters.of(StudyMethod::Fh), 4) << "the parameter reaches the worker";
    EXPECT_EQ(request->counts, convergenceCounts(11));

    ConvergenceStudy study;
    const std::optional<std::uint64_t> first = study.begin(*request);
    ASSERT_TRUE(first);
    EXPECT_FALSE(study.begin(*request)) << "the same settings keep their run";
    ConvergenceRequest other = *request;
    other.parameters.set(StudyMethod::BSpline, 3);
    const std::optional<std::uint64_t> second = study.begin(other);
    ASSERT_TRUE(second);
    EXPECT_FALSE(study.take(*first, {StudyMethod::Fh, 11, 0.5}));
    EXPECT_FALSE(study.finish(*first));
    EXPECT_TRUE(study.table().empty());
    EXPECT_FALSE(study.complete());
    EXPECT_TRUE(study.take(*second, {StudyMethod::Fh, 11, 0.25}));
    EXPECT_TRUE(study.finish(*second));
    EXPECT_TRUE(study.complete());
    EXPECT_EQ(study.table().at(StudyMethod::Fh).at(11), 0.25);

    LabModel data(startWith(LabFunction::Data, 4, {StudyMethod::Linear},
                            {{0, 0}, {0.3, 1}, {0.6, 0}, {1, 2}}));
    EXPECT_FALSE(convergenceRequestFor(data)) << "no function to compare with";
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

// The second panel follows the first where nothing is chosen for it, takes
// what is chosen, and refuses, holding no model, what it cannot show.
TEST(SecondPanel, FollowsTheFirstPanelAndTakesItsOwnChoices)
{
    const NodeList data = {{0, 1}, {0.5, 2}, {1, 0}};
    struct Case {
        const char* name;
        LabFunction firstFunction;
        NodeFamily firstFamily;
        LabView firstView;
        PanelChoice choice;
        LabFunction function;  // what the panel shows, when it shows
        NodeFamily family;
        LabView view;
        bool refused;
    } cases[] = {
        {"other family by default", LabFunction::Sine, NodeFamily::Equispaced, LabView::Error, {},
         LabFunction::Sine, NodeFamily::Lobatto, LabView::Error, false},
        {"other of Chebyshev points", LabFunction::Sine, NodeFamily::Lobatto, LabView::Values, {},
         LabFunction::Sine, NodeFamily::Equispaced, LabView::Values, false},
        {"family chosen", LabFunction::Sine, NodeFamily::Equispaced, LabView::Values,
         {NodeFamily::Gauss, {}, {}}, LabFunction::Sine, NodeFamily::Gauss, LabView::Values, false},
        {"own function and view", LabFunction::Sine, NodeFamily::Equispaced, LabView::Values,
         {{}, LabFunction::Runge, LabView::LogError}, LabFunction::Runge, NodeFamily::Lobatto,
         LabView::LogError, false},
        {"own convergence view", LabFunction::Runge, NodeFamily::Equispaced, LabView::Values,
         {{}, {}, LabView::Convergence}, LabFunction::Runge, NodeFamily::Lobatto,
         LabView::Convergence, false},
        {"error view of data refused", LabFunction::Data, NodeFamily::Equispaced, LabView::Values,
         {{}, {}, LabView::Error}, {}, {}, {}, true},
        {"typed function refused when none was typed", LabFunction::Sine, NodeFamily::Equispaced,
         LabView::Values, {{}, LabFunction::Expression, {}}, {}, {}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LabStart start = startWith(c.firstFunction, 7, {StudyMethod::Global}, data);
        start.settings.family = c.firstFamily;
        start.settings.view = c.firstView;
        const LabModel first(std::move(start));
        SecondPanel panel;
        const Refusal refusal = panel.follow(first, c.choice);
        EXPECT_EQ(refusal.has_value(), c.refused);
        EXPECT_EQ(panel.model().has_value(), !c.refused);
        if (c.refused) {
            EXPECT_EQ(panel.refusal(), refusal);
            continue;
        }
        const LabSettings& s = panel.model()->settings();
        EXPECT_EQ(s.function, c.function);
        EXPECT_EQ(s.family, c.family);
        EXPECT_EQ(s.view, c.view);
        EXPECT_EQ(s.count, first.settings().count);
        EXPECT_EQ(s.shown, first.settings().shown);
    }
}

// A change of the first panel reaches the second: its count, its typed
// function, its own nodes (the panel keeps a family beside them).
TEST(SecondPanel, ComputesAgainWhenTheFirstPanelChanges)
{
    LabModel first(startWith(LabFunction::Sine, 7, {StudyMethod::Global}));
    SecondPanel panel;
    ASSERT_FALSE(panel.follow(first, {}));
    ASSERT_FALSE(first.setCount(9));
    ASSERT_FALSE(panel.follow(first, {}));
    EXPECT_EQ(panel.model()->nodes().size(), 9u);

    ASSERT_FALSE(first.setExpression("x^2"));
    ASSERT_FALSE(panel.follow(first, {}));
    ASSERT_FALSE(first.setExpression("x^3"));
    ASSERT_FALSE(panel.follow(first, {}));
    EXPECT_EQ(panel.model()->nodes().back().y, 1.0);
    EXPECT_EQ(panel.model()->functionLabel(), first.functionLabel());

    ASSERT_FALSE(first.replaceNodes({{0, 0}, {0.1, 0}, {1, 0}}, false));
    ASSERT_FALSE(panel.follow(first, {}));
    EXPECT_FALSE(panel.model()->settings().ownNodes);
    EXPECT_EQ(panel.model()->nodes().size(), 3u);
    EXPECT_NEAR(panel.model()->nodes()[1].x, 0.5, 1e-15);
}

#if defined(__linux__)
// A worker that took the window's share of a processor would stall its frames.
TEST(MethodWork, AWorkerThreadRunsBelowTheWindowsThread)
{
    std::promise<std::pair<int, int>> seen;
    StoppableThreads threads;
    threads.add([&seen](std::stop_token) {
        errno = 0;
        const int niceness = getpriority(PRIO_PROCESS, 0);
        seen.set_value({sched_getscheduler(0), niceness});
    });
    const auto [policy, niceness] = seen.get_future().get();
    EXPECT_TRUE(policy == SCHED_IDLE || niceness > 0) << policy << " " << niceness;
    EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);  // the caller's own class is kept
}
#endif

}  // namespace
}  // namespace tarvel
