// The comparison methods: what each reproduces, golden values from SciPy
// 1.10.1 and from the reference computation of the convergence table,
// refusals, error figures and Lebesgue constants.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "interp/barycentric.h"
#include "interp/error_figures.h"
#include "interp/interpolant.h"
#include "lab/method_refusal.h"
#include "interp/lagrange.h"
#include "interp/nodes.h"
#include "support/instruction_set.h"

namespace tarvel {
namespace {

// Uneven nodes nobody tuned, and points between and on them.
const std::vector<double> kUneven = {0, 0.1, 0.3, 0.35, 0.6, 1.0};
const std::vector<double> kPoints = {0.05, 0.2, 0.32, 0.5, 0.9};

Interpolant built(StudyMethod method, const std::vector<double>& xs, const std::vector<double>& ys,
                  const MethodSettings& settings = {})
{
    BuildResult result = buildInterpolant(method, xs, ys, settings);
    EXPECT_TRUE(result.interpolant) << studyMethodKey(method) << ": " << refusalText(method, *result.refusal);
    return std::move(*result.interpolant);
}

// c0 + c1 x + c2 x^2 + c3 x^3 and its derivatives.
// Default settings but for one method's parameter and the end slopes.
MethodSettings withParameter(StudyMethod method, int value, double left = 0, double right = 0)
{
    MethodSettings settings;
    settings.parameters.set(method, value);
    settings.leftSlope = left;
    settings.rightSlope = right;
    return settings;
}

struct Cubic {
    double c0, c1, c2, c3;
    PointValues at(double x) const
    {
        return {c0 + x * (c1 + x * (c2 + x * c3)), c1 + x * (2 * c2 + 3 * c3 * x),
                2 * c2 + 6 * c3 * x};
    }
};

struct Reproduction {
    StudyMethod method;
    Cubic cubic;  // of the highest degree the method reproduces
};

class Reproduces : public ::testing::TestWithParam<Reproduction> {};

TEST_P(Reproduces, ItsPolynomialsWithTheirDerivativesBetweenAndBeyondTheNodes)
{
    const auto [method, cubic] = GetParam();
    std::vector<double> ys;
    for (const double x : kUneven)
        ys.push_back(cubic.at(x).value);
    MethodSettings settings;
    settings.leftSlope = cubic.at(0).first;
    settings.rightSlope = cubic.at(1).first;
    const Interpolant p = built(method, kUneven, ys, settings);
    std::vector<double> points = kPoints;
    points.insert(points.end(), {-0.1, 0.3, 1.0, 1.2});
    for (const double x : points) {
        const PointValues got = p.at(x);
        const PointValues want = cubic.at(x);
        EXPECT_NEAR(got.value, want.value, 1e-12) << studyMethodKey(method) << " at " << x;
        EXPECT_NEAR(got.first, want.first, 1e-10) << studyMethodKey(method) << " at " << x;
        EXPECT_NEAR(got.second, want.second, 1e-8) << studyMethodKey(method) << " at " << x;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachMethod, Reproduces,
    ::testing::Values(Reproduction{StudyMethod::Global, {0.3, -1.5, 2.0, 4.0}},
                      Reproduction{StudyMethod::Local, {0.3, -1.5, 2.0, 4.0}},
                      Reproduction{StudyMethod::Clamped, {0.3, -1.5, 2.0, 4.0}},
                      Reproduction{StudyMethod::NotAKnot, {0.3, -1.5, 2.0, 4.0}},
                      Reproduction{StudyMethod::Natural, {0.3, -1.5, 0, 0}},
                      Reproduction{StudyMethod::Akima, {0.3, -1.5, 0, 0}},
                      Reproduction{StudyMethod::Pchip, {0.3, -1.5, 0, 0}},
                      Reproduction{StudyMethod::Pw, {0.3, -1.5, 0, 0}},
                      Reproduction{StudyMethod::Linear, {0.3, -1.5, 0, 0}},
                      Reproduction{StudyMethod::Makima, {0.3, -1.5, 0, 0}},
                      Reproduction{StudyMethod::Steffen, {0.3, -1.5, 0, 0}},
                      Reproduction{StudyMethod::Fh, {0.3, -1.5, 2.0, 4.0}},
                      Reproduction{StudyMethod::BSpline, {0.3, -1.5, 2.0, 4.0}}),
    [](const auto& row) { return std::string(studyMethodKey(row.param.method)); });

TEST(NotAKnotSpline, ThroughTwoThreeAndFourNodesIsTheLineParabolaAndCubic)
{
    const Cubic cubic{0.3, -1.5, 2.0, 4.0};
    const std::vector<std::vector<double>> nodeSets = {{0.1, 0.7}, {0.1, 0.35, 0.7},
                                                      {0.1, 0.2, 0.35, 0.7}};
    for (const std::vector<double>& xs : nodeSets) {
        // The polynomial of degree n - 1 through the cubic's values.
        std::vector<double> ys;
        for (const double x : xs)
            ys.push_back(cubic.at(x).value);
        const Interpolant spline = built(StudyMethod::NotAKnot, xs, ys);
        const Interpolant polynomial = built(StudyMethod::Global, xs, ys);
        for (const double x : {0.0, 0.15, 0.5, 0.9}) {
            EXPECT_NEAR(spline.at(x).value, polynomial.at(x).value, 1e-12)
                << xs.size() << " nodes at " << x;
            EXPECT_NEAR(spline.at(x).second, polynomial.at(x).second, 1e-9)
                << xs.size() << " nodes at " << x;
        }
    }
}

struct Golden {
    StudyMethod method;
    std::vector<double> value, first, second;
};

class MatchesScipy : public ::testing::TestWithParam<Golden> {};

// SciPy 1.10.1: PchipInterpolator, Akima1DInterpolator and CubicSpline
// (bc_type "not-a-knot", "natural", ((1, 1.0), (1, -2.0))) through
// x = 0, 0.1, 0.3, 0.35, 0.6, 1 and y = 0, 1, 0.5, 0.7, 0.2, 1.5.
TEST_P(MatchesScipy, AtPointsBetweenUnevenNodes)
{
    const Golden& golden = GetParam();
    MethodSettings settings;
    settings.leftSlope = 1.0;
    settings.rightSlope = -2.0;
    const Interpolant p = built(golden.method, kUneven, {0, 1, 0.5, 0.7, 0.2, 1.5}, settings);
    for (std::size_t k = 0; k < kPoints.size(); ++k) {
        const PointValues got = p.at(kPoints[k]);
        const double scale = std::fabs(golden.second[k]) + 1;
        EXPECT_NEAR(got.value, golden.value[k], 1e-12) << "at " << kPoints[k];
        EXPECT_NEAR(got.first, golden.first[k], 1e-11) << "at " << kPoints[k];
        EXPECT_NEAR(got.second, golden.second[k], 1e-10 * scale) << "at " << kPoints[k];
    }
}

INSTANTIATE_TEST_SUITE_P(
    ShapeAndEnds, MatchesScipy,
    ::testing::Values(
        Golden{StudyMethod::Pchip,
               {0.6770833333333335, 0.7499999999999998, 0.5704000000000001, 0.376,
                0.932331730769231},
               {11.458333333333332, -3.7500000000000004, 5.760000000000002, -2.88,
                4.871394230769232},
               {-141.66666666666666, 1.4210854715202004e-14, 95.9999999999996,
                9.600000000000001, 16.129807692307693}},
        Golden{StudyMethod::Akima,
               {0.6809210526315789, 0.7471105974395448, 0.5807535365152388, 0.36354042553191485,
                0.9814062500000003},
               {10.493421052631579, -4.667051920341391, 5.315100632547441, -3.1938723404255303,
                4.5078125},
               {-144.73684210526315, 0.5778805120910704, 40.906267970097474, 13.630638297872366,
                13.343749999999998}},
        Golden{StudyMethod::NotAKnot,
               {0.7413011159540915, 0.7278364289469071, 0.5683002540739444, 0.6459556246714562,
                0.1250514718766429},
               {9.451462202850298, -4.694151188598793, 4.221072659307284, -3.5540710238887923,
                8.78121897085451},
               {-193.04089276327338, 4.432714210618599, 52.86810057823715, -27.89929034519011,
                89.57574031890663}},
        Golden{StudyMethod::Natural,
               {0.6110703886782232, 0.7989368905742144, 0.5673718851570966, 0.5502884615384612,
                0.9147497968580718},
               {10.740469257854821, -5.298754062838567, 4.2868634886240535, -3.8226435536294687,
                5.505501760563382},
               {-88.85631094257853, -9.787378114842852, 58.67145178764882, -11.227248104008652,
                10.410008125677138}},
        Golden{StudyMethod::Clamped,
               {0.41081854076673885, 0.9110404292656586, 0.5640650917926567,
                0.49648150647948136, 1.3948632390658748},
               {12.716370815334773, -6.206854076673869, 4.3219330453563725, -4.022043736501079,
                3.5231126822354213},
               {71.34516738660903, -32.20808585313176, 72.7001889848811, -1.5279427645788104,
                -37.8424507289417}}),
    [](const auto& row) { return std::string(studyMethodKey(row.param.method)); });

TEST(Pchip, NeverLeavesTheRangeOfTwoMonotoneNeighbours)
{
    const std::vector<double> xs = {0, 0.05, 0.4, 0.45, 0.5, 0.9, 1};
    const std::vector<double> ys = {0, 0.01, 0.02, 1.0, 1.01, 1.02, 3};
    const Interpolant p = built(StudyMethod::Pchip, xs, ys);
    for (std::size_t i = 0; i + 1 < xs.size(); ++i)
        for (int k = 1; k < 100; ++k) {
            const double x = xs[i] + (xs[i + 1] - xs[i]) * k / 100;
            EXPECT_GE(p.value(x), ys[i]) << "at " << x;
            EXPECT_LE(p.value(x), ys[i + 1]) << "at " << x;
        }
}

// Monotone data on uneven nodes, so that every interior slope is the
// weighted harmonic mean of its two secants, with weights 2 h_k + h_{k-1}
// and h_k + 2 h_{k-1} (Fritsch and Butland); the slopes worked out by hand.
TEST(Pchip, InteriorSlopesWeighTheWiderNeighbourMore)
{
    const std::vector<double> ys = {0, 0.1, 0.5, 0.6, 0.9, 1.0};
    const Interpolant p = built(StudyMethod::Pchip, kUneven, ys);
    const double slopes[] = {1.2857142857142858, 2.0000000000000004, 1.5882352941176472,
                             0.43575418994413406};
    for (std::size_t k = 1; k + 1 < kUneven.size(); ++k)
        EXPECT_NEAR(p.at(kUneven[k]).first, slopes[k - 1], 1e-14) << "node " << k;
}

// |2x - 1| at an odd count: the middle node may lie a rounding off 1/2
// (0.49999999999999994 at 99 and 197), and the secants beside it differ by that
// rounding alone. The slope there is the symmetric 0, not -2.
TEST(Akima, KinkARoundingOffTheMiddleNodeGetsTheSymmetricSlope)
{
    const StudyFunction kink{StudyFunctionId::Abs, {}};
    for (const int n : {11, 99, 197}) {
        const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, n);
        std::vector<double> ys;
        for (const double x : xs)
            ys.push_back(functionValue(kink, x));
        const double middle = xs[static_cast<std::size_t>(n / 2)];
        const Interpolant p = built(StudyMethod::Akima, xs, ys);
        EXPECT_NEAR(p.at(middle).first, 0, 1e-9) << n << " nodes, middle at " << middle;
        const double h = xs[1] - xs[0];
        EXPECT_NEAR(p.value(middle - h / 2), p.value(middle + h / 2), 1e-12) << n << " nodes";
    }
    EXPECT_EQ(familyNodes(NodeFamily::Equispaced, 99)[49], 0.49999999999999994)
        << "the case this guards";
}

TEST(GlobalPolynomial, AgreesWithLongDoubleLagrangeUpToFifteenNodes)
{
    for (int n = 2; n <= 15; ++n) {
        std::vector<double> xs;
        std::vector<double> ys;
        for (int i = 0; i < n; ++i) {
            xs.push_back(std::pow((i + 0.5) / n, 1.3));  // uneven, no family
            ys.push_back(std::cos(7 * xs.back()) + i % 3);
        }
        const Interpolant p = built(StudyMethod::Global, xs, ys);
        for (const double x : {0.013, 0.37, 0.81, 0.95}) {
            long double sum = 0;
            for (int j = 0; j < n; ++j) {
                long double basis = 1;
                for (int m = 0; m < n; ++m)
                    if (m != j)
                        basis *= (static_cast<long double>(x) - xs[m]) / (xs[j] - xs[m]);
                sum += basis * ys[static_cast<std::size_t>(j)];
            }
            EXPECT_NEAR(p.value(x), static_cast<double>(sum), 1e-12 * (1 + std::fabs(sum)))
                << n << " nodes at " << x;
        }
    }
}

TEST(GlobalPolynomial, WeightsStayFiniteAndNonZeroAtTheLargestCount)
{
    std::vector<double> uneven;
    for (int i = 0; i < kMaxStudyNodes; ++i)
        uneven.push_back(i / 1000.0 + 0.0003 * std::sin(i));  // no family, rising
    const std::vector<std::vector<double>> weightSets = {
        familyWeights(NodeFamily::Equispaced, kMaxStudyNodes),
        familyWeights(NodeFamily::Lobatto, kMaxStudyNodes),
        familyWeights(NodeFamily::Gauss, kMaxStudyNodes),
        productWeights(familyNodes(NodeFamily::Equispaced, kMaxStudyNodes)), productWeights(uneven)};
    for (std::size_t s = 0; s < weightSets.size(); ++s)
        for (const double w : weightSets[s])
            ASSERT_TRUE(std::isnormal(w)) << "weight set " << s << ": " << w;
}

TEST(GlobalPolynomial, ProductWeightsAgreeWithTheClosedFormsOfEachFamily)
{
    for (const NodeFamily family : {NodeFamily::Equispaced, NodeFamily::Lobatto, NodeFamily::Gauss}) {
        const std::vector<double> closed = familyWeights(family, 41);
        const std::vector<double> products = productWeights(familyNodes(family, 41));
        for (std::size_t j = 0; j < closed.size(); ++j)
            EXPECT_NEAR(products[j] / products[20], closed[j] / closed[20], 1e-9)
                << nodeFamilyKey(family) << " weight " << j;
    }
}

class GlobalSums : public support::PerInstructionSet {};

TEST_P(GlobalSums, GiveTheSameBitsOnEveryInstructionSet)
{
    const std::vector<double> xs = familyNodes(NodeFamily::Lobatto, 1001);
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(std::sin(40 * x));
    // Built afresh under each set: the derivatives at the nodes are formed
    // when first asked for.
    const auto valuesUnder = [&](InstructionSet set) {
        forceInstructionSet(set);
        return built(StudyMethod::Global, xs, ys).at(0.123456);
    };
    const PointValues plain = valuesUnder(InstructionSet::Plain);
    const PointValues got = valuesUnder(GetParam());
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.value), std::bit_cast<std::uint64_t>(plain.value));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.first), std::bit_cast<std::uint64_t>(plain.first));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.second),
              std::bit_cast<std::uint64_t>(plain.second));
}

INSTANTIATE_TEST_SUITE_P(EachInstructionSet, GlobalSums,
                         ::testing::ValuesIn(support::kAllInstructionSets),
                         support::instructionSetParamName);

TEST(Evaluation, BatchedAndSinglePointsGiveTheSameBitsInAnyOrder)
{
    std::vector<double> ys;
    for (const double x : kUneven)
        ys.push_back(std::exp(x) * (x < 0.32 ? 1 : -1));
    const std::vector<double> points = {0.9, 0.05, 0.35, 1.3, -0.2, 0.6, 0.2, 0.21, 0.0};
    for (const StudyMethod method : kStudyMethods) {
        if (methodRow(method).periodic)
            continue;  // the data are not
        const Interpolant p = built(method, kUneven, ys, withParameter(StudyMethod::Local, 2));
        std::vector<double> value(points.size()), first(points.size()), second(points.size());
        p.evaluate(points, value, first, second);
        for (std::size_t k = 0; k < points.size(); ++k) {
            const PointValues one = p.at(points[k]);
            EXPECT_EQ(value[k], one.value) << studyMethodKey(method) << " at " << points[k];
            EXPECT_EQ(first[k], one.first) << studyMethodKey(method) << " at " << points[k];
            EXPECT_EQ(second[k], one.second) << studyMethodKey(method) << " at " << points[k];
        }
    }
}

TEST(Evaluation, EveryMethodReturnsTheNodeValuesExactly)
{
    const std::vector<double> xs = familyNodes(NodeFamily::Gauss, 12);
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(1 / (3 + std::sin(50 * x)));
    for (const StudyMethod method : kStudyMethods) {
        if (methodRow(method).periodic)
            continue;  // the data are not
        const Interpolant p = built(method, xs, ys);
        for (std::size_t i = 0; i < xs.size(); ++i)
            EXPECT_EQ(p.value(xs[i]), ys[i]) << studyMethodKey(method) << " node " << i;
    }
}

TEST(LocalPolynomial, AgreesWithTheMainWindowsLagrangeForm)
{
    const std::vector<double> xs = familyNodes(NodeFamily::Lobatto, 30);
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(std::exp(-3 * x) * std::sin(9 * x));
    for (const int degree : {0, 1, 2, 5, 29}) {
        const Interpolant p = built(StudyMethod::Local, xs, ys, withParameter(StudyMethod::Local, degree));
        for (int j = 0; j < 29; ++j) {
            const double x = (xs[static_cast<std::size_t>(j)] + xs[static_cast<std::size_t>(j) + 1]) / 2;
            EXPECT_NEAR(p.value(x), localPolynomialValue(degree, 29, j, x, xs, ys), 1e-12)
                << "degree " << degree << ", interval " << j;
        }
    }
}

struct Refusal {
    std::string name;
    StudyMethod method;
    std::vector<double> xs, ys;
    MethodSettings settings;
    std::string message;
};

class Refuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refuses, WithASentenceThatSaysWhy)
{
    const Refusal& r = GetParam();
    const BuildResult result = buildInterpolant(r.method, r.xs, r.ys, r.settings);
    EXPECT_FALSE(result.interpolant);
    ASSERT_TRUE(result.refusal);
    EXPECT_EQ(refusalText(r.method, *result.refusal), r.message);
}

const double kInf = INFINITY;
const std::vector<double> kEven30 = familyNodes(NodeFamily::Equispaced, 30);

INSTANTIATE_TEST_SUITE_P(
    BadNodesAndSettings, Refuses,
    ::testing::Values(
        Refusal{"OneNode", StudyMethod::Linear, {0.5}, {1}, {},
                "Linear interpolation takes from 2 to 1001 nodes; there are 1."},
        Refusal{"MoreValuesThanNodes", StudyMethod::Pchip, {0, 1}, {1, 2, 3}, {},
                "PCHIP needs one value at each node; there are 2 nodes and 3 values."},
        Refusal{"EqualAbscissae", StudyMethod::NotAKnot, {0, 0.5, 0.5, 1}, {0, 1, 2, 3}, {},
                "The not-a-knot cubic spline needs distinct abscissae; nodes 1 and 2 both have "
                "x = 0.5."},
        Refusal{"Unordered", StudyMethod::Akima, {0, 0.6, 0.4}, {0, 1, 2}, {},
                "The Akima spline needs the nodes in increasing order of x; node 2 (x = 0.4) "
                "comes after node 1 (x = 0.6)."},
        Refusal{"InfiniteValue", StudyMethod::Global, {0, 1}, {0, kInf}, {},
                "The global polynomial needs finite nodes and values; node 1 has x = 1 and "
                "y = inf."},
        Refusal{"DegreeAtTheNodeCount", StudyMethod::Local, {0, 0.5, 1}, {0, 1, 2},
                withParameter(StudyMethod::Local, 3),
                "The local Lagrange polynomial through 3 nodes takes a degree from 0 to 2; it "
                "is 3."},
        Refusal{"NegativeDegree", StudyMethod::Local, {0, 0.5, 1}, {0, 1, 2},
                withParameter(StudyMethod::Local, -1),
                "The local Lagrange polynomial through 3 nodes takes a degree from 0 to 2; it "
                "is -1."},
        Refusal{"InfiniteEndSlope", StudyMethod::Clamped, {0, 1}, {0, 1},
                withParameter(StudyMethod::Local, 3, 0, -kInf),
                "The clamped cubic spline needs finite end slopes; they are 0 and -inf."},
        Refusal{"SecantsBeyondTheRangeOfNumbers", StudyMethod::Pchip, {0, 1e-100, 2e-100, 1},
                {0, 1e300, 1.5e300, 1.6e300}, {},
                "PCHIP grows too large between these nodes: a coefficient overflows the range of "
                "numbers. Spread the nodes further apart or scale the values down."},
        Refusal{"EvenBSplineDegree", StudyMethod::BSpline, {0, 0.2, 0.5, 1}, {0, 1, 2, 3},
                withParameter(StudyMethod::BSpline, 2),
                "The B-spline through 4 nodes takes an odd degree k from 1 to 3; it is 2."},
        Refusal{"BSplineDegreeAboveTheNodes", StudyMethod::BSpline, {0, 0.2, 0.5, 1},
                {0, 1, 2, 3}, withParameter(StudyMethod::BSpline, 5),
                "The B-spline through 4 nodes takes an odd degree k from 1 to 3; it is 5."},
        Refusal{"BlendingDegreeAboveTwenty", StudyMethod::Fh, kEven30, kEven30,
                withParameter(StudyMethod::Fh, 21),
                "The Floater–Hormann interpolant through 30 nodes takes a blending degree d "
                "from 0 to 20; it is 21."},
        Refusal{"PeriodicWithDifferentEnds", StudyMethod::Periodic, {0, 0.5, 1}, {1, 0, 1.5},
                {},
                "The periodic cubic spline needs periodic data: the last value, 1.5, differs "
                "from the first, 1."},
        Refusal{"TrigWithDifferentEnds", StudyMethod::Trig, {0, 0.5, 1}, {1e-15, 0, 0}, {},
                "Trigonometric interpolation needs periodic data: the last value, 0, differs "
                "from the first, 1e-15."},
        Refusal{"TrigOnUnevenNodes", StudyMethod::Trig, {0, 0.25, 0.6, 0.75, 1}, {1, 0, 2, 3, 1},
                {},
                "Trigonometric interpolation needs evenly spaced nodes; node 2 has x = 0.6 "
                "where evenly spaced nodes have 0.5."},
        Refusal{"CoefficientOverflow", StudyMethod::Natural, {0, 1e-300, 1}, {0, 1e10, 0}, {},
                "The natural cubic spline grows too large between these nodes: a coefficient "
                "overflows the range of numbers. Spread the nodes further apart or scale the "
                "values down."},
        Refusal{"WidthsWhoseCubeUnderflows", StudyMethod::Pw, {0, 1e-110, 1}, {0, 1, 2}, {},
                "The PW cubic spline needs the nodes further apart; nodes 0 and 1 are too close "
                "for the cube of their distance to be held."},
        Refusal{"SpanBeyondTheRangeOfNumbers", StudyMethod::Linear, {-1e308, 1e308}, {0, 1}, {},
                "Linear interpolation needs the nodes closer together: the distance from the "
                "first to the last exceeds the range of numbers."}),
    [](const auto& row) { return row.param.name; });

// The largest errors of the reference computation the convergence table is
// checked against (Runge with 11 evenly spaced nodes, 41 Chebyshev points;
// cos^10 with 41 evenly spaced nodes) and SciPy's RMS error where known.
struct Convergence {
    StudyFunctionId function;
    NodeFamily family;
    StudyMethod method;
    int n;
    double maxError;
    double tolerance;
};

class ConvergenceRow : public ::testing::TestWithParam<Convergence> {};

TEST_P(ConvergenceRow, HasTheReferenceLargestError)
{
    const Convergence& c = GetParam();
    const StudyFunction f{c.function, {}};
    const std::vector<double> xs = familyNodes(c.family, c.n);
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(functionValue(f, x));
    MethodSettings settings;
    settings.leftSlope = evaluateFunction(f, 0).first;
    settings.rightSlope = evaluateFunction(f, 1).first;
    const ErrorFigures figures = errorFigures(built(c.method, xs, ys, settings), f);
    EXPECT_NEAR(figures.maxError, c.maxError, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Reference, ConvergenceRow,
    ::testing::Values(
        Convergence{StudyFunctionId::Runge, NodeFamily::Equispaced, StudyMethod::Global, 11,
                    1.9157, 1e-4},
        Convergence{StudyFunctionId::Runge, NodeFamily::Lobatto, StudyMethod::Global, 41,
                    3.398775e-4, 1e-9},
        Convergence{StudyFunctionId::Runge, NodeFamily::Lobatto, StudyMethod::Global, 1001, 0,
                    1e-14},
        Convergence{StudyFunctionId::Cos10, NodeFamily::Equispaced, StudyMethod::Natural, 41,
                    1.326e-2, 1e-5},
        Convergence{StudyFunctionId::Cos10, NodeFamily::Equispaced, StudyMethod::Clamped, 41,
                    4.99e-4, 1e-6}));

TEST(ErrorFigures, TakeTheFirstOfEqualErrorsTheRmsAndTheOvershoot)
{
    const std::vector<double> x = {0, 0.25, 0.5, 0.75, 1};
    const std::vector<double> p = {0, 1.5, 1, -0.5, 1};
    const std::vector<double> f = {0, 1, 1, 0, 1};
    const ErrorFigures figures = errorFiguresOf(x, p, f, 0, 1, 0, 1);
    EXPECT_EQ(figures.maxError, 0.5);
    EXPECT_EQ(figures.maxErrorX, 0.25) << "the first of two equal errors";
    EXPECT_DOUBLE_EQ(figures.rmsError, std::sqrt(0.5 / 5));
    EXPECT_EQ(figures.overshoot, 0.5);
}

TEST(ErrorFigures, OvershootIsTheLargerOfRiseAboveAndFallBelowTheNodes)
{
    const std::vector<double> x = {0, 0.5, 1};
    const std::vector<double> f = {0, 0.5, 1};
    const struct {
        const char* name;
        std::vector<double> p;
        double overshoot;
    } cases[] = {
        {"inside the node values", {0, 0.7, 1}, 0},
        {"above the largest only", {0, 1.25, 1}, 0.25},
        {"below the smallest only", {0, -0.375, 1}, 0.375},
        {"both: the larger", {-0.125, 1.5, 1}, 0.5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorFiguresOf(x, c.p, f, 0, 1, 0, 1).overshoot, c.overshoot) << c.name;
}

TEST(ErrorFigures, KeepTheRmsFiniteWhereTheSquaresOverflow)
{
    const std::vector<double> x = {0, 0.5, 1};
    const std::vector<double> p = {3e200, -3e200, 0};
    const std::vector<double> f = {0, 0, 0};
    EXPECT_DOUBLE_EQ(errorFiguresOf(x, p, f, 0, 0, 0, 1).rmsError, 3e200 * std::sqrt(2.0 / 3));
}

TEST(ErrorFigures, ReportTheFirstNotANumberAsTheLargestError)
{
    const std::vector<double> x = {0, 0.5, 1};
    const std::vector<double> p = {5, NAN, 9};
    const std::vector<double> f = {0, 0, 0};
    const ErrorFigures figures = errorFiguresOf(x, p, f, 0, 1, 0, 1);
    EXPECT_TRUE(std::isnan(figures.maxError));
    EXPECT_EQ(figures.maxErrorX, 0.5);
}

TEST(LebesgueConstant, OfElevenNodesMatchesItsKnownValues)
{
    // Equispaced nodes of degree 10: 29.89 (Trefethen, Approximation
    // Theory and Approximation Practice, ch. 15); Chebyshev points stay
    // below 2/pi log(n) + 1.
    const auto constant = [](NodeFamily family, StudyMethod method, int degree) {
        const std::vector<double> xs = familyNodes(family, 11);
        return lebesgueConstant(built(method, xs, xs, withParameter(StudyMethod::Local, degree)))
            ->value;
    };
    EXPECT_NEAR(constant(NodeFamily::Equispaced, StudyMethod::Global, 0), 29.89, 0.01);
    EXPECT_LT(constant(NodeFamily::Lobatto, StudyMethod::Global, 0), 2 / M_PI * std::log(11.0) + 1);
    EXPECT_NEAR(constant(NodeFamily::Equispaced, StudyMethod::Local, 1), 1.0, 1e-12)
        << "lines between neighbours";
    EXPECT_FALSE(lebesgueConstant(built(StudyMethod::Pchip, {0, 1}, {0, 1})));
}

// The constants far beyond 1e13, where the signed sum of the second form
// cancels. References: the largest of sum_j |prod_{m != j} (x - x_m) / (x_j - x_m)|
// over the grid k / 10000, nodes and grid points as these very doubles,
// computed with mpmath 1.2.1 at 40 significant digits.
TEST(LebesgueConstant, KeepsItsDigitsUpToTheLargestDoubles)
{
    const struct {
        const char* name;
        NodeFamily family;
        int n;
        double reference;
        std::vector<double> at;  // where it lies (two places when symmetric)
    } cases[] = {
        {"evenly spaced, 65", NodeFamily::Equispaced, 65, 4.4047410770579666528e16,
         {0.0031, 0.9969}},
        {"evenly spaced, 100", NodeFamily::Equispaced, 100, 8.9391228977727416636e26, {0.0018}},
        {"evenly spaced, 1000", NodeFamily::Equispaced, 1000, 5.0355665524827781e296, {0.0001}},
        {"Chebyshev points, 1001", NodeFamily::Lobatto, 1001, 5.3600517970808150527, {0.4945}},
    };
    for (const auto& c : cases) {
        const std::vector<double> xs = familyNodes(c.family, c.n);
        const auto constant = lebesgueConstant(built(StudyMethod::Global, xs, xs));
        ASSERT_TRUE(constant) << c.name;
        EXPECT_NEAR(constant->value / c.reference, 1, 1e-12) << c.name;
        EXPECT_TRUE(std::any_of(c.at.begin(), c.at.end(),
                                [&](double x) { return std::abs(constant->x - x) < 1e-12; }))
            << c.name << " at " << constant->x;
    }
    // 257 random nodes in [0, 1): the 53 high bits of a 64-bit linear
    // congruential generator (Knuth's MMIX constants), seed 2026, sorted.
    // The largest lies beyond the last node, at x = 1.
    std::vector<double> random;
    std::uint64_t state = 2026;
    for (int j = 0; j < 257; ++j) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        random.push_back(static_cast<double>(state >> 11) * 0x1p-53);
    }
    std::sort(random.begin(), random.end());
    const auto constant = lebesgueConstant(built(StudyMethod::Global, random, random));
    ASSERT_TRUE(constant);
    EXPECT_NEAR(constant->value / 1.3665366065465720071e86, 1, 1e-12);
    EXPECT_EQ(constant->x, 1);
}

// The Lebesgue function sums magnitudes: at least 1 in every interval, never
// below it where a signed sum would change its sign.
TEST(LebesgueFunction, IsAtLeastOneBetweenEveryTwoNodes)
{
    const std::vector<double> xs = familyNodes(NodeFamily::Gauss, 12);
    for (const StudyMethod method : {StudyMethod::Global, StudyMethod::Local}) {
        MethodSettings settings;
        settings.parameters.set(StudyMethod::Local, 4);
        const Interpolant p = built(method, xs, xs, settings);
        std::vector<double> between;
        for (std::size_t j = 0; j + 1 < xs.size(); ++j)
            for (const double share : {0.3, 0.5, 0.7})
                between.push_back(xs[j] + share * (xs[j + 1] - xs[j]));
        std::vector<double> values(between.size());
        ASSERT_TRUE(lebesgueFunction(p, between, values));
        for (std::size_t k = 0; k < between.size(); ++k)
            EXPECT_GE(values[k], 1 - 1e-12) << studyMethodKey(method) << " at " << between[k];
    }
}

// 25 pairs of nodes 1.19e-7 apart: a local window's own polynomial gives its
// derivatives; carried over from values at its nodes, they were 42 % off.
std::vector<double> closePairs()
{
    std::vector<double> xs;
    for (int i = 0; i < 25; ++i) {
        const double centre = std::round((0.0892 + i * 0.0367) * 0x1p26) * 0x1p-26;
        xs.push_back(centre);
        xs.push_back(centre + 8 * 0x1p-26);
    }
    return xs;
}

TEST(LocalPolynomial, DerivativesOnClosePairsOfNodesAreTheWindowsOwn)
{
    const std::vector<double> xs = closePairs();
    std::vector<double> parabola;
    std::vector<double> sine;
    for (const double x : xs) {
        parabola.push_back(x * x);  // exact: the nodes have 26 bits
        sine.push_back(std::sin(2 * std::numbers::pi * x));
    }
    // The sine's rows: the window's polynomial through these doubles, in
    // Newton's form with mpmath 1.2.1 at 60 significant digits.
    const struct {
        int degree;
        double x;
        double first, second;
    } sineRows[] = {
        {3, 0.3, -1.9410349917685309, -37.522483598095755},
        {5, 0.7003, -1.930345446975497, 37.568895596244214},
        {10, 0.3, -1.9416110389660987, -37.546206254479871},
        {10, 0.5, -6.2831853071207346, -2.6553753457727301e-8},
        {10, 0.95, 5.9756643209914759, 12.199502941511274},
        {10, 0.05, 5.9756632880703047, -12.199396892998318},  // before the first node
    };
    for (const auto& row : sineRows) {
        MethodSettings settings;
        settings.parameters.set(StudyMethod::Local, row.degree);
        const PointValues v = built(StudyMethod::Local, xs, sine, settings).at(row.x);
        EXPECT_NEAR(v.first, row.first, 1e-8) << "degree " << row.degree << " at " << row.x;
        EXPECT_NEAR(v.second, row.second, 1e-6) << "degree " << row.degree << " at " << row.x;
    }
    for (const int degree : {3, 10, 20}) {
        MethodSettings settings;
        settings.parameters.set(StudyMethod::Local, degree);
        const Interpolant p = built(StudyMethod::Local, xs, parabola, settings);
        for (const double x : {0.05, 0.2, 0.5, 0.9, 0.99}) {
            const PointValues v = p.at(x);
            EXPECT_NEAR(v.first, 2 * x, 1e-9) << "degree " << degree << " at " << x;
            EXPECT_NEAR(v.second, 2, 1e-6) << "degree " << degree << " at " << x;
        }
    }
}

// The close pairs begin at 0.0892: from 0 to there every method
// extrapolates, and the figures say so. References for local of degree 3:
// the windows' polynomials through these doubles against sin(2 pi x) on the
// grid, with mpmath 1.2.1 at 40 significant digits.
TEST(ErrorFigures, SayWhenTheLargestErrorLiesOutsideTheNodesAndGiveTheOneInside)
{
    const std::vector<double> xs = closePairs();
    const StudyFunction sine{StudyFunctionId::Sine, {}};
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(functionValue(sine, x));
    MethodSettings settings;
    settings.parameters.set(StudyMethod::Local, 3);
    const ErrorFigures local =
        errorFigures(built(StudyMethod::Local, xs, ys, settings), sine);
    EXPECT_TRUE(local.maxErrorOutside);
    EXPECT_EQ(local.maxErrorX, 0);
    EXPECT_NEAR(local.maxError / 0.0041872075846321646, 1, 1e-5);
    ASSERT_TRUE(local.insideMaxError);
    EXPECT_NEAR(*local.insideMaxError / 7.3535905975493092e-6, 1, 1e-5);
    EXPECT_NEAR(local.insideMaxErrorX, 0.2543, 1e-12);
    // PCHIP's end piece, 1.19e-7 wide, carried on to 0.
    const ErrorFigures pchip = errorFigures(built(StudyMethod::Pchip, xs, ys), sine);
    EXPECT_TRUE(pchip.maxErrorOutside);
    EXPECT_GT(pchip.maxError, 1e9);
    ASSERT_TRUE(pchip.insideMaxError);
    EXPECT_LT(*pchip.insideMaxError, 1e-2);
    EXPECT_GE(pchip.insideMaxErrorX, xs.front());
    EXPECT_LE(pchip.insideMaxErrorX, xs.back());
    // Nodes from 0 to 1: nothing lies outside.
    const ErrorFigures whole = errorFigures(
        built(StudyMethod::Natural, familyNodes(NodeFamily::Equispaced, 11),
              std::vector<double>(11, 0.0)),
        sine);
    EXPECT_FALSE(whole.maxErrorOutside);
    EXPECT_EQ(whole.insideMaxError, whole.maxError);
}

// The local Lebesgue function reuses a window's weights for the points it
// serves: bit for bit what weighing each point's own window gives, at points
// in any order and across every change of window.
TEST(LebesgueFunction, LocalReusedWeightsAgreeWithEachPointsOwnWindow)
{
    const struct {
        const char* name;
        NodeFamily family;
        int count;
        int degree;
        std::vector<double> x;
    } rows[] = {
        {"the grid, degree 3", NodeFamily::Equispaced, 21, 3, errorGrid()},
        {"the grid, degree 10 on Gauss nodes", NodeFamily::Gauss, 40, 10, errorGrid()},
        {"falling points", NodeFamily::Lobatto, 15, 4, {0.9, 0.7, 0.41, 0.4, 0.1, 0}},
        {"back and forth over a window's edge", NodeFamily::Equispaced, 11, 2,
         {0.05, 0.95, 0.05, 0.5, 0.55, 0.5, 1, 0}},
        {"beyond the nodes", NodeFamily::Gauss, 9, 3, {-0.5, 0.5, 1.5}},
    };
    for (const auto& row : rows) {
        const std::vector<double> xs = familyNodes(row.family, row.count);
        MethodSettings settings;
        settings.parameters.set(StudyMethod::Local, row.degree);
        const Interpolant p = built(StudyMethod::Local, xs, xs, settings);
        std::vector<double> reused(row.x.size());
        ASSERT_TRUE(lebesgueFunction(p, row.x, reused));
        for (std::size_t k = 0; k < row.x.size(); ++k) {
            const auto above = std::upper_bound(xs.begin(), xs.end(), row.x[k]) - xs.begin();
            const int interval = static_cast<int>(
                std::clamp<std::ptrdiff_t>(above - 1, 0, std::ssize(xs) - 2));
            const auto start = static_cast<std::size_t>(
                windowStart(row.degree, static_cast<double>(xs.size() - 1), interval));
            const std::span<const double> window(xs.data() + start,
                                                 static_cast<std::size_t>(row.degree) + 1);
            const double own = barycentricLebesgue(window, productWeights(window), row.x[k]);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(reused[k]), std::bit_cast<std::uint64_t>(own))
                << row.name << " at x = " << row.x[k];
        }
    }
}

TEST(StudyFunctions, DerivativesAgreeWithDifferenceQuotients)
{
    for (const StudyFunctionId id : {StudyFunctionId::Sine, StudyFunctionId::Cos10,
                                     StudyFunctionId::Polynomial, StudyFunctionId::Runge}) {
        const StudyFunction f{id, {}};
        for (const double x : {0.1, 0.37, 0.8}) {
            const double h = 1e-5;
            const FunctionValues at = evaluateFunction(f, x);
            const double before = functionValue(f, x - h);
            const double after = functionValue(f, x + h);
            EXPECT_EQ(at.value, functionValue(f, x)) << studyFunctionKey(id);
            EXPECT_NEAR(at.first, (after - before) / (2 * h), 1e-5 * (1 + std::fabs(at.first)))
                << studyFunctionKey(id) << " at " << x;
            EXPECT_NEAR(at.second, (after - 2 * at.value + before) / (h * h),
                        1e-3 * (1 + std::fabs(at.second)))
                << studyFunctionKey(id) << " at " << x;
        }
    }
    const FunctionValues middle = evaluateFunction({StudyFunctionId::Abs, {}}, 0.5);
    EXPECT_EQ(middle.first, 2) << "the right-hand slope at the kink";
}

TEST(NodeFamilies, SpanTheIntervalInRisingOrderForTheCountsAllowed)
{
    for (const NodeFamily family : {NodeFamily::Equispaced, NodeFamily::Lobatto, NodeFamily::Gauss}) {
        EXPECT_TRUE(familyNodes(family, 1).empty());
        EXPECT_TRUE(familyNodes(family, kMaxStudyNodes + 1).empty());
        const std::vector<double> xs = familyNodes(family, kMaxStudyNodes);
        for (std::size_t i = 1; i < xs.size(); ++i)
            ASSERT_LT(xs[i - 1], xs[i]) << nodeFamilyKey(family) << " node " << i;
    }
    EXPECT_EQ(familyNodes(NodeFamily::Lobatto, 5).front(), 0);
    EXPECT_EQ(familyNodes(NodeFamily::Lobatto, 5).back(), 1);
    EXPECT_GT(familyNodes(NodeFamily::Gauss, 5).front(), 0);
    EXPECT_EQ(familyNodes(NodeFamily::Equispaced, 11)[3], 3 * (1 / 10.0));
}

}  // namespace
}  // namespace tarvel
