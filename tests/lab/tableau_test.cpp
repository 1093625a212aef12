// The divided-difference table and Neville's tableau step by step: the
// polynomial does not depend on the order the nodes are taken in, Neville's
// last entry is p(x), refused steps change nothing; and the seeded noise on
// the node values.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <stop_token>

#include "interp/error_figures.h"
#include "interp/newton_form.h"
#include "interp/nodes.h"
#include "lab/convergence.h"
#include "lab/lab_model.h"
#include "lab/noise.h"
#include "lab/tableau.h"
#include "plot/ticks.h"

namespace tarvel {
namespace {

NodeList sampled(NodeFamily family, int count, double (*f)(double))
{
    NodeList nodes;
    for (const double x : familyNodes(family, count))
        nodes.push_back({x, f(x)});
    return nodes;
}

double runge(double x)
{
    return 1 / (1 + 25 * (2 * x - 1) * (2 * x - 1));
}

double sine(double x)
{
    return std::sin(2 * std::numbers::pi * x);
}

// p(x) of the nodes taken, by the Newton form of the table.
double newtonValue(const TableauSteps& steps, double x)
{
    const DividedDifferenceTable table = steps.table();
    return newtonAt(NewtonForm{table.xs, table.coefficients()}, x).value;
}

TableauSteps stepsOf(const NodeList& nodes, TableauOrder order)
{
    TableauSteps steps;
    steps.setNodes(nodes);
    EXPECT_FALSE(steps.setOrder(order));
    return steps;
}

TEST(Tableau, ThePolynomialDoesNotDependOnTheOrderOfTheNodes)
{
    struct Case {
        const char* name;
        NodeList nodes;
    };
    const Case cases[] = {
        {"Runge at 16 evenly spaced nodes", sampled(NodeFamily::Equispaced, 16, runge)},
        {"sine at 16 Chebyshev points", sampled(NodeFamily::Lobatto, 16, sine)},
        {"Runge at 9 Chebyshev roots", sampled(NodeFamily::Gauss, 9, runge)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TableauSteps left = stepsOf(c.nodes, TableauOrder::LeftToRight);
        const TableauSteps leja = stepsOf(c.nodes, TableauOrder::Leja);
        // Clicked from the right end inward, alternating sides.
        TableauSteps clicked = stepsOf(c.nodes, TableauOrder::Clicked);
        for (std::size_t k = 0; k < c.nodes.size(); ++k)
            ASSERT_FALSE(clicked.takeNode(k % 2 ? k / 2 : c.nodes.size() - 1 - k / 2));
        ASSERT_EQ(leja.taken().size(), c.nodes.size());
        ASSERT_NE(leja.taken(), left.taken());
        std::vector<double> xs;
        std::vector<double> ys;
        for (const Node& node : c.nodes) {
            xs.push_back(node.x);
            ys.push_back(node.y);
        }
        const BuildResult global = buildInterpolant(StudyMethod::Global, xs, ys, {});
        ASSERT_TRUE(global.interpolant);
        // Rounding as sixteen evenly spaced nodes amplify it, left to right
        // worst: about 1e-11 at x = 1.
        for (int k = 0; k <= 200; ++k) {
            const double x = k / 200.0;
            const double p = global.interpolant->value(x);
            for (const TableauSteps& steps : {std::cref(left), std::cref(leja), std::cref(clicked)})
                EXPECT_NEAR(newtonValue(steps, x), p, 3e-11 * (1 + std::fabs(p))) << x;
        }
    }
}

TEST(Tableau, DividedDifferencesOfACubicEndInItsLeadingCoefficientThenZero)
{
    const std::vector<double> xs = {0.9, 0.1, 0.5, 0.3, 0.7};
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(2 * x * x * x - x + 0.25);
    const DividedDifferenceTable table = dividedDifferences(xs, ys);
    ASSERT_EQ(table.rows.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i)
        ASSERT_EQ(table.rows[i].size(), i + 1);
    EXPECT_EQ(table.rows[1][1], (ys[1] - ys[0]) / (xs[1] - xs[0]));
    EXPECT_NEAR(table.rows[3][3], 2, 1e-13);
    EXPECT_NEAR(table.rows[4][3], 2, 1e-13);
    EXPECT_NEAR(table.rows[4][4], 0, 1e-12);
}

TEST(Tableau, NevillesLastEntryIsTheInterpolantsValue)
{
    const NodeList nodes = sampled(NodeFamily::Equispaced, 12, runge);
    std::vector<double> xs;
    std::vector<double> ys;
    for (const Node& node : nodes) {
        xs.push_back(node.x);
        ys.push_back(node.y);
    }
    const BuildResult global = buildInterpolant(StudyMethod::Global, xs, ys, {});
    ASSERT_TRUE(global.interpolant);
    for (const double at : {0.0, 0.03, 1.0 / 3, 0.5, 0.97, 1.0, -0.1, 1.2}) {
        SCOPED_TRACE(at);
        TableauSteps steps = stepsOf(nodes, TableauOrder::Leja);
        ASSERT_FALSE(steps.pickX(at));
        const std::optional<NevilleTableau> tableau = steps.neville();
        ASSERT_TRUE(tableau);
        ASSERT_EQ(tableau->rows.size(), nodes.size());
        const double p = global.interpolant->value(at);
        EXPECT_NEAR(tableau->rows.back().back(), p, 1e-11 * (1 + std::fabs(p)));
        EXPECT_NEAR(tableau->rows.back().back(), newtonValue(steps, at), 1e-11 * (1 + std::fabs(p)));
        // The first column is the values of the nodes as taken.
        EXPECT_EQ(tableau->rows[3][0], nodes[steps.taken()[3]].y);
    }
}

TEST(Tableau, LejaOrderStartsAtAnEndThenSpreadsTheNodes)
{
    EXPECT_EQ(lejaOrder(std::vector<double>{0, 0.25, 0.5, 0.75, 1}),
              (std::vector<std::size_t>{0, 4, 2, 1, 3}));
    EXPECT_EQ(lejaOrder(std::vector<double>{0.1, 0.2, 0.9}), (std::vector<std::size_t>{0, 2, 1}));
    EXPECT_EQ(lejaOrder(std::vector<double>{0.7, 0.1, 0.4}), (std::vector<std::size_t>{1, 0, 2}));
}

TEST(Tableau, StepsGrowAndShrinkInTheChosenOrder)
{
    const NodeList nodes = sampled(NodeFamily::Equispaced, 5, sine);
    TableauSteps steps = stepsOf(nodes, TableauOrder::Leja);
    EXPECT_EQ(steps.taken(), (std::vector<std::size_t>{0, 4, 2, 1, 3}));
    ASSERT_FALSE(steps.removeStep());
    ASSERT_FALSE(steps.removeStep());
    EXPECT_EQ(steps.taken(), (std::vector<std::size_t>{0, 4, 2}));
    ASSERT_FALSE(steps.setOrder(TableauOrder::LeftToRight));
    EXPECT_EQ(steps.taken(), (std::vector<std::size_t>{0, 1, 2}));
    ASSERT_FALSE(steps.addStep());
    EXPECT_EQ(steps.taken(), (std::vector<std::size_t>{0, 1, 2, 3}));
    // A moved value keeps the steps; another number of nodes starts again.
    NodeList moved = nodes;
    moved[1].y = 7;
    steps.setNodes(moved);
    EXPECT_EQ(steps.table().rows[1][0], 7);
    EXPECT_EQ(steps.taken().size(), 4u);
    steps.setNodes(sampled(NodeFamily::Equispaced, 6, sine));
    EXPECT_EQ(steps.taken().size(), 6u);
    // The plot shows p_0 ... p_5 and the newest term, named in the legend.
    const std::vector<LabSeries> series = steps.series();
    ASSERT_EQ(series.size(), 7u);
    EXPECT_EQ(series[5].label, "p₅ (tableau, newest)");
    EXPECT_EQ(series[6].label, "newest term f[x₀…x₅]·ω₅(x)");
    // The newest term is p_5 − p_4 wherever it is drawn.
    for (std::size_t k = 0; k < series[6].x.size(); k += 50)
        EXPECT_NEAR(series[6].y[k], series[5].y[k] - series[4].y[k], 1e-13) << k;
}

TEST(Tableau, RefusedStepsSayWhyAndChangeNothing)
{
    const NodeList five = sampled(NodeFamily::Equispaced, 5, sine);
    struct Case {
        const char* name;
        NodeList nodes;
        TableauOrder order;
        std::function<Refusal(TableauSteps&)> step;
        const char* says;
    };
    const Case cases[] = {
        {"a step past the last node", five, TableauOrder::LeftToRight,
         [](TableauSteps& s) { return s.addStep(); }, "All 5 nodes are in the tableau."},
        {"a step back from no node", five, TableauOrder::Clicked,
         [](TableauSteps& s) { return s.removeStep(); }, "holds no node to take away"},
        {"a step forward while clicking", five, TableauOrder::Clicked,
         [](TableauSteps& s) { return s.addStep(); }, "Click the node to take next"},
        {"a click while not clicking", five, TableauOrder::Leja,
         [](TableauSteps& s) { return s.takeNode(2); }, "Choose the order by clicking"},
        {"a node clicked twice", five, TableauOrder::Clicked,
         [](TableauSteps& s) {
             s.takeNode(3);
             return s.takeNode(3);
         },
         "Node 3 is in the tableau already."},
        {"a node that is not there", five, TableauOrder::Clicked,
         [](TableauSteps& s) { return s.takeNode(5); }, "There is no node 5."},
        {"an x that is no number", five, TableauOrder::LeftToRight,
         [](TableauSteps& s) { return s.pickX(std::nan("")); }, "needs a finite x; nan is not"},
        {"17 nodes", sampled(NodeFamily::Equispaced, 17, sine), TableauOrder::LeftToRight,
         [](TableauSteps& s) { return s.removeStep(); },
         "at most 16 nodes, and the lab has 17: lower the number of nodes."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TableauSteps steps;
        steps.setNodes(c.nodes);
        steps.setOrder(c.order);
        steps.pickX(0.3);
        const Refusal refusal = c.step(steps);
        const std::vector<std::size_t> taken = steps.taken();
        const Refusal again = c.step(steps);
        ASSERT_TRUE(refusal);
        ASSERT_TRUE(again);
        EXPECT_NE(refusal->find(c.says), std::string::npos) << *refusal;
        EXPECT_EQ(steps.taken(), taken);
        EXPECT_EQ(steps.order(), c.order);
        EXPECT_EQ(steps.pickedX(), 0.3);
    }
}

TEST(Tableau, CopiedTablesAreTabSeparatedWithSeventeenDigits)
{
    TableauSteps steps = stepsOf({{0, 1}, {0.5, 2}, {1, 0.1}}, TableauOrder::LeftToRight);
    steps.pickX(0.25);
    std::istringstream in(steps.text());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    const std::vector<std::string> expected = {
        "Divided differences",
        "x\tf[x_i]\torder 1\torder 2",
        "0\t1",
        "0.5\t2\t2",
        "1\t0.10000000000000001\t-3.7999999999999998\t-5.7999999999999998",
        "",
        "Neville at x = 0.25",
        "x\tP_i\torder 1\torder 2",
        "0\t1",
        "0.5\t2\t1.5",
        "1\t0.10000000000000001\t2.9500000000000002\t1.8625",
    };
    EXPECT_EQ(lines, expected);
}

TEST(Noise, IsSeededReproducibleAndOfTheChosenSize)
{
    LabStart start;
    start.settings.function = LabFunction::Runge;
    start.settings.count = 21;
    start.settings.shown[methodIndex(StudyMethod::Global)] = true;
    const LabModel clean(start);
    start.settings.noise = 1e-3;
    start.settings.noiseSeed = 42;
    const LabModel noisy(start);
    EXPECT_EQ(LabModel(start).nodes(), noisy.nodes()) << "the same seed draws the same noise";
    LabModel reseeded(start);
    reseeded.setNoiseSeed(nextNoiseSeed(42));
    const double amplitude = noiseAmplitude(clean.nodes(), 1e-3);
    // Runge's values at 21 evenly spaced nodes range from 1/26 to 1.
    EXPECT_NEAR(amplitude, 1e-3 * (1 - 1.0 / 26), 1e-18);
    const std::pair<NodeList, double> sizes[] = {
        {{{0, 2}, {1, 2}}, 2e-3},   // constant values: their size
        {{{0, 0}, {1, 0}}, 1e-3},   // all 0: the level itself
        {{{0, -3}, {1, 1}}, 4e-3},  // the range, not the largest value
    };
    for (const auto& [values, size] : sizes)
        EXPECT_EQ(noiseAmplitude(values, 1e-3), size);
    double largest = 0;
    for (std::size_t i = 0; i < clean.nodes().size(); ++i) {
        const double dy = noisy.nodes()[i].y - clean.nodes()[i].y;
        EXPECT_EQ(noisy.nodes()[i].x, clean.nodes()[i].x);
        EXPECT_EQ(noisy.nodes()[i].y, clean.nodes()[i].y + amplitude * noiseDeviate(42, i)) << i;
        EXPECT_NE(reseeded.nodes()[i].y, noisy.nodes()[i].y) << i;
        largest = std::max(largest, std::fabs(dy));
    }
    EXPECT_GT(largest, 0.5 * amplitude);
    EXPECT_LT(largest, 5 * amplitude);
    EXPECT_FALSE(noisy.edited()) << "the noise is part of the values taken, not an edit";
    NodeList huge = {{0, 1.7e308}, {0.5, 0}, {1, -1.7e308}};
    addNoise(huge, 1e-2, 3);
    for (const Node& node : huge)
        EXPECT_TRUE(std::isfinite(node.y)) << "values near the largest doubles stay numbers";
    // The deviates are standard normal numbers: mean 0, variance 1.
    double sum = 0;
    double squares = 0;
    constexpr int kDraws = 20000;
    for (int i = 0; i < kDraws; ++i) {
        const double z = noiseDeviate(7, static_cast<std::size_t>(i));
        sum += z;
        squares += z * z;
    }
    EXPECT_NEAR(sum / kDraws, 0, 0.03);
    EXPECT_NEAR(squares / kDraws, 1, 0.03);
}

TEST(Noise, TheConvergenceViewDrawsItAtEveryCount)
{
    // At 101 Chebyshev points the global polynomial of the sine is exact to
    // rounding; noise 1e-6 of the range leaves an error of its size there.
    ConvergenceRequest request;
    request.function = StudyFunction{StudyFunctionId::Sine, {}};
    request.family = NodeFamily::Lobatto;
    const std::vector<double> exact = valuesOnGrid(request.function);
    EXPECT_LT(*convergencePoint(request, StudyMethod::Global, 101, exact).largestError, 1e-13);
    request.noise = 1e-6;
    const double noisy = *convergencePoint(request, StudyMethod::Global, 101, exact).largestError;
    EXPECT_GT(noisy, 1e-6);
    EXPECT_LT(noisy, 1e-4);
}

TEST(Noise, TheSentenceSaysHowManyTimesTheNoiseEachErrorIs)
{
    LabStart start;
    start.settings.function = LabFunction::Sine;
    start.settings.count = 21;
    start.settings.shown[methodIndex(StudyMethod::Global)] = true;
    start.settings.shown[methodIndex(StudyMethod::Linear)] = true;
    start.settings.noise = 1e-6;
    const LabModel model(start);
    // Each method moves by at most its Lebesgue constant times the largest
    // noise on a node: the global polynomial of 21 evenly spaced nodes by
    // thousands, the linear spline by at most 1.
    const std::string sentence = model.noiseEffect();
    const std::string opening = "Noise 1e-6 of the range, seed 1: Global polynomial error ";
    ASSERT_EQ(sentence.substr(0, opening.size()), opening) << sentence;
    const auto times = [&sentence](const std::string& name) {
        const std::size_t at = sentence.find(name + " error ");
        const std::size_t from = sentence.find(": ", at) + 2;
        std::string digits = sentence.substr(from, sentence.find(" ×", from) - from);
        std::erase(digits, ',');
        return std::stod(digits);
    };
    const double globalTimes = times("Global polynomial");
    EXPECT_GT(globalTimes, 1000) << sentence;
    EXPECT_LE(globalTimes, *model.outcome(StudyMethod::Global).lebesgueConstant * 1.05);
    EXPECT_LE(times("Linear interpolation"), 1.05) << sentence;
    // A worker asked to stop gives up before the next method.
    const std::optional<NoiseEffectInputs> inputs = model.noiseEffectInputs();
    ASSERT_TRUE(inputs);
    EXPECT_EQ(noiseEffectsOf(*inputs).size(), 2u);
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_TRUE(noiseEffectsOf(*inputs, stopped.get_token()).empty());
    LabModel dragged(start);
    dragged.moveNode(3, 0.15, 2, false);
    EXPECT_EQ(dragged.noiseEffect(), "") << "edited nodes hold no noise to tell apart";
    EXPECT_FALSE(dragged.noiseEffectInputs());
    start.settings.noise = 0;
    EXPECT_EQ(LabModel(start).noiseEffect(), "");

    const std::pair<double, const char*> ratios[] = {
        {3123.4, "3,100"}, {1.234, "1.2"}, {99.6, "100"}, {987654, "990,000"}, {4.5e9, "4.5e9"},
        {125, "130"}};
    for (const auto& [ratio, text] : ratios)
        EXPECT_EQ(amplificationText(ratio), text) << ratio;
}

}  // namespace
}  // namespace tarvel
