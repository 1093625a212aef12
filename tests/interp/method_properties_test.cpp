// What the table's later methods must do beyond reproducing polynomials:
// slopes and second derivatives worked out by hand, the equalities between
// methods that their definitions promise, the closed forms of their weights,
// periodicity and monotonicity.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "interp/error_figures.h"
#include "interp/interpolant.h"
#include "lab/method_refusal.h"
#include "interp/nodes.h"

namespace tarvel {
namespace {

const std::vector<double> kUneven = {0, 0.1, 0.3, 0.35, 0.6, 1.0};
const std::vector<double> kUnevenValues = {0, 1, 0.5, 0.7, 0.2, 1.5};

Interpolant built(StudyMethod method, const std::vector<double>& xs, const std::vector<double>& ys,
                  int parameter = -1)
{
    MethodSettings settings;
    if (parameter >= 0)
        settings.parameters.set(method, parameter);
    BuildResult result = buildInterpolant(method, xs, ys, settings);
    EXPECT_TRUE(result.interpolant) << studyMethodKey(method) << ": " << refusalText(method, *result.refusal);
    return std::move(*result.interpolant);
}

std::vector<double> valuesOf(double (*f)(double), const std::vector<double>& xs)
{
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(f(x));
    return ys;
}

// p' or p'' at a node, from values nobody tuned.
struct NodeDerivative {
    std::string name;
    StudyMethod method;
    std::vector<double> xs, ys;
    double x;
    int order;
    double want;
};

class HandWorked : public ::testing::TestWithParam<NodeDerivative> {};

TEST_P(HandWorked, DerivativeAtANode)
{
    const NodeDerivative& c = GetParam();
    const PointValues got = built(c.method, c.xs, c.ys).at(c.x);
    EXPECT_NEAR(c.order == 1 ? got.first : got.second, c.want, 1e-12);
}

// Secants 1, 2, 1, 0, 0 on unit widths. At x = 2: Akima weighs 1 and 1
// (slope 1.5), makima 1.5 and 2.5 (slope (1.5 * 2 + 2.5 * 1) / 4), Steffen
// takes twice min(2, 1, 1.5 / 2). The periodic splines' second derivatives
// solve their cyclic systems by hand: 2a M0 + a M1 = 24 with a = 1 (two
// intervals) and 5 M0 + M1 = 54, M0 + 2 M1 = -54 (three).
const std::vector<double> kSteps = {0, 1, 2, 3, 4, 5};
const std::vector<double> kStepValues = {0, 1, 3, 4, 4, 4};
INSTANTIATE_TEST_SUITE_P(
    Slopes, HandWorked,
    ::testing::Values(
        NodeDerivative{"AkimaBetweenSecants2And1", StudyMethod::Akima, kSteps, kStepValues, 2, 1,
                       1.5},
        NodeDerivative{"MakimaBetweenSecants2And1", StudyMethod::Makima, kSteps, kStepValues, 2,
                       1, 1.375},
        NodeDerivative{"SteffenBetweenSecants2And1", StudyMethod::Steffen, kSteps, kStepValues,
                       2, 1, 1.5},
        NodeDerivative{"SteffenAtAnExtremumOfTheData", StudyMethod::Steffen, kSteps,
                       kStepValues, 3, 1, 0},
        NodeDerivative{"SteffenEndIsTheEndSecant", StudyMethod::Steffen, kSteps, kStepValues, 0,
                       1, 1},
        NodeDerivative{"PeriodicOverTwoIntervals", StudyMethod::Periodic, {0, 0.5, 1}, {0, 1, 0},
                       0.5, 2, -24},
        NodeDerivative{"PeriodicOverThreeIntervalsAtTheFirstNode", StudyMethod::Periodic,
                       {0, 1.0 / 3, 2.0 / 3, 1}, {0, 1, 0, 0}, 0, 2, 18},
        NodeDerivative{"PeriodicOverThreeIntervalsAtTheSecondNode", StudyMethod::Periodic,
                       {0, 1.0 / 3, 2.0 / 3, 1}, {0, 1, 0, 0}, 1.0 / 3, 2, -36}),
    [](const auto& row) { return row.param.name; });

// Two methods that must be the same function, values and derivatives.
struct SameFunction {
    std::string name;
    StudyMethod method;
    int parameter;
    StudyMethod as;
    int asParameter;
};

class Equals : public ::testing::TestWithParam<SameFunction> {};

TEST_P(Equals, TheMethodItReducesTo)
{
    const SameFunction& c = GetParam();
    const Interpolant p = built(c.method, kUneven, kUnevenValues, c.parameter);
    const Interpolant q = built(c.as, kUneven, kUnevenValues, c.asParameter);
    for (const double x : {-0.05, 0.05, 0.2, 0.32, 0.5, 0.9, 1.1}) {
        const PointValues a = p.at(x);
        const PointValues b = q.at(x);
        const double scale = 1 + std::fabs(b.second);
        EXPECT_NEAR(a.value, b.value, 1e-11) << "at " << x;
        EXPECT_NEAR(a.first, b.first, 1e-10 * scale) << "at " << x;
        EXPECT_NEAR(a.second, b.second, 1e-9 * scale) << "at " << x;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reductions, Equals,
    ::testing::Values(SameFunction{"CubicBSplineIsNotAKnot", StudyMethod::BSpline, 3,
                                   StudyMethod::NotAKnot, -1},
                      SameFunction{"LinearBSplineIsTheBrokenLine", StudyMethod::BSpline, 1,
                                   StudyMethod::Linear, -1},
                      SameFunction{"BSplineOfDegreeNMinusOneIsTheGlobalPolynomial",
                                   StudyMethod::BSpline, 5, StudyMethod::Global, -1},
                      SameFunction{"FhOfDegreeNMinusOneIsTheGlobalPolynomial", StudyMethod::Fh, 5,
                                   StudyMethod::Global, -1}),
    [](const auto& row) { return row.param.name; });

TEST(FloaterHormann, EvenlySpacedWeightsHaveTheirClosedForm)
{
    // d = 3, eight nodes: |w_k| = sum over J_k of C(3, k - i), signs
    // alternating, largest 8.
    const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, 8);
    const Interpolant p = built(StudyMethod::Fh, xs, xs, 3);
    const double want[] = {-1, 4, -7, 8, -8, 7, -4, 1};
    for (std::size_t k = 0; k < xs.size(); ++k)
        EXPECT_NEAR(p.weights()[k], want[k] / 8, 1e-13) << "weight " << k;
}

TEST(FloaterHormann, LebesgueConstantStaysSmallAtEvenlySpacedNodes)
{
    // Berrut's interpolant (d = 0) at n evenly spaced nodes: at most
    // 2 + ln n (Bos, De Marchi and Hormann); the polynomial's is 29.9.
    const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, 11);
    const auto berrut = lebesgueConstant(built(StudyMethod::Fh, xs, xs, 0));
    ASSERT_TRUE(berrut);
    EXPECT_GE(berrut->value, 1.0);
    EXPECT_LE(berrut->value, 2 + std::log(11.0));
    const auto polynomial = lebesgueConstant(built(StudyMethod::Fh, xs, xs, 10));
    EXPECT_NEAR(polynomial->value, 29.89, 0.01) << "d = n - 1 is the polynomial";
}

TEST(FloaterHormann, HasNoPoleBetweenClusteredNodes)
{
    // Clustered nodes and alternating values; a pole would send the
    // samples of a fine grid beyond any modest bound near it.
    const std::vector<double> xs = {0, 0.02, 0.5, 0.52, 0.55, 1};
    const std::vector<double> ys = {1, -1, 1, -1, 1, -1};
    for (const int d : {0, 1, 2, 3}) {
        const Interpolant p = built(StudyMethod::Fh, xs, ys, d);
        for (int k = 0; k <= 100000; ++k)
            ASSERT_LT(std::fabs(p.value(k / 100000.0)), 1000) << "d = " << d << " at " << k;
    }
}

double trigPolynomial(double x)
{
    const double a = 2 * std::numbers::pi * x;
    return 0.3 + std::cos(a) - 0.5 * std::sin(3 * a) + 0.2 * std::cos(3 * a);
}

TEST(Trigonometric, ReproducesTrigonometricPolynomialsBelowHalfTheNodes)
{
    const double period = 2 * std::numbers::pi;
    for (const int n : {8, 9}) {  // 7 and 8 intervals: odd and even, degree 3 below both halves
        const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, n);
        const Interpolant p = built(StudyMethod::Trig, xs, valuesOf(trigPolynomial, xs));
        for (const double x : {0.05, 0.3, 0.77, 1.4, -0.2}) {
            const double a = period * x;
            const double first = period * (-std::sin(a) - 1.5 * std::cos(3 * a) -
                                            0.6 * std::sin(3 * a));
            const double second = period * period *
                                  (-std::cos(a) + 4.5 * std::sin(3 * a) - 1.8 * std::cos(3 * a));
            EXPECT_NEAR(p.at(x).value, trigPolynomial(x), 1e-13) << n << " nodes at " << x;
            EXPECT_NEAR(p.at(x).first, first, 1e-12) << n << " nodes at " << x;
            EXPECT_NEAR(p.at(x).second, second, 1e-10) << n << " nodes at " << x;
        }
    }
}

TEST(Trigonometric, TakesTheNyquistTermAsACosine)
{
    // Eight intervals: (-1)^j at the nodes is cos(8 pi x), not a blend
    // with the sine that vanishes there too.
    const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, 9);
    std::vector<double> ys;
    for (std::size_t j = 0; j < xs.size(); ++j)
        ys.push_back(j % 2 == 0 ? 1 : -1);
    const Interpolant p = built(StudyMethod::Trig, xs, ys);
    for (const double x : {0.03, 0.0625, 0.4, 0.9})
        EXPECT_NEAR(p.value(x), std::cos(8 * std::numbers::pi * x), 1e-13) << "at " << x;
}

TEST(Trigonometric, TakesTheSineThatMissesItsLastNodeByRounding)
{
    // sin 2 pi = -2.4e-16; at 50 nodes the last one is 1 - 1.1e-16 and its
    // sine -9.4e-16.
    const auto sine = [](double x) { return std::sin(2 * std::numbers::pi * x); };
    for (const int n : {11, 50}) {
        const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, n);
        std::vector<double> ys;
        for (const double x : xs)
            ys.push_back(sine(x));
        ASSERT_NE(ys.back(), 0.0);
        for (const StudyMethod method : {StudyMethod::Trig, StudyMethod::Periodic}) {
            const Interpolant p = built(method, xs, ys);
            EXPECT_NEAR(p.value(0.13), sine(0.13), method == StudyMethod::Trig ? 1e-14 : 1e-2)
                << studyMethodKey(method) << " at " << n << " nodes";
        }
    }
}

TEST(PeriodicSpline, EndDerivativesAgree)
{
    const auto f = [](double x) { return std::cos(2 * std::numbers::pi * x) + x * (1 - x); };
    std::vector<double> ys;
    for (const double x : kUneven)
        ys.push_back(f(x));
    const Interpolant p = built(StudyMethod::Periodic, kUneven, ys);
    EXPECT_NEAR(p.at(0).first, p.at(1).first, 1e-11);
    EXPECT_NEAR(p.at(0).second, p.at(1).second, 1e-9);
}

// Monotone data give a monotone curve, however uneven the steps.
class Monotone : public ::testing::TestWithParam<StudyMethod> {};

TEST_P(Monotone, DataGiveAMonotoneCurve)
{
    const std::vector<double> xs = {0, 0.05, 0.4, 0.45, 0.5, 0.9, 1};
    const std::vector<double> ys = {0, 0.01, 0.02, 1.0, 1.01, 1.02, 3};
    const Interpolant p = built(GetParam(), xs, ys);
    double before = p.value(0);
    for (int k = 1; k <= 2000; ++k) {
        const double now = p.value(k / 2000.0);
        ASSERT_GE(now, before) << "at " << k / 2000.0;
        before = now;
    }
}

INSTANTIATE_TEST_SUITE_P(ShapeKeeping, Monotone,
                         ::testing::Values(StudyMethod::Pchip, StudyMethod::Steffen),
                         [](const auto& row) { return std::string(studyMethodKey(row.param)); });

TEST(Makima, StepDoesNotOvershoot)
{
    const std::vector<double> xs = {0, 1, 2, 3, 4, 5, 6};
    const std::vector<double> ys = {0, 0, 0, 1, 1, 1, 1};
    const Interpolant p = built(StudyMethod::Makima, xs, ys);
    for (int k = 0; k <= 600; ++k) {
        const double v = p.value(k / 100.0);
        ASSERT_GE(v, 0) << "at " << k / 100.0;
        ASSERT_LE(v, 1) << "at " << k / 100.0;
    }
}

TEST(MethodTable, EveryRowIsListedInTheReadme)
{
    std::ifstream file(std::string(TARVEL_EXAMPLES_DIR) + "/../README.md");
    ASSERT_TRUE(file);
    const std::string readme((std::istreambuf_iterator<char>(file)), {});
    for (const StudyMethodRow& row : methodRows())
        EXPECT_NE(readme.find(std::string("| `") + row.key + "` |"), std::string::npos)
            << row.key << " has no line in the README's method list";
}

}  // namespace
}  // namespace tarvel
