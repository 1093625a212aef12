// The AAA approximant: how closely it fits, where it puts its poles, and
// the poles, residues and zeros of weights worked out by hand. The global
// polynomial's forms: where each loses its digits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <string>
#include <vector>

#include "interp/aaa.h"
#include "interp/interpolant.h"
#include "lab/method_refusal.h"
#include "interp/nodes.h"
#include "interp/study_functions.h"

namespace tarvel {
namespace {

struct AaaCase {
    std::string name;
    std::function<double(double)> f;
    int nodes;
    double tolerance;                          // on the nodes and between them
    std::vector<std::complex<double>> poles;   // the poles nearest [0, 1], to 1e-8
    double nearestPoleBeyond = 0;              // or: no pole closer to [0, 1] than this
};

double distanceToTheInterval(std::complex<double> z)
{
    return std::abs(z - std::clamp(z.real(), 0.0, 1.0));
}

class Aaa : public ::testing::TestWithParam<AaaCase> {};

TEST_P(Aaa, FitsTheNodesAndFindsThePoles)
{
    const AaaCase& c = GetParam();
    const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, c.nodes);
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(c.f(x));
    const BuildResult result = buildInterpolant(StudyMethod::Aaa, xs, ys);
    ASSERT_TRUE(result.interpolant) << refusalText(StudyMethod::Aaa, *result.refusal);
    const Interpolant& r = *result.interpolant;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        const double between = xs[i] / 2 + xs[i + 1] / 2;
        ASSERT_NEAR(r.value(between), c.f(between), c.tolerance) << "at " << between;
    }
    MethodData data;
    ASSERT_TRUE(aaaBuild(xs, ys, data));
    for (std::size_t k = 0; k < data.knots.size(); ++k)
        EXPECT_EQ(aaaAt(xs, ys, data, data.knots[k], false).value, data.coefs[k])
            << "support point " << k;
    const RationalRoots roots = aaaRoots(data);
    for (const std::complex<double> want : c.poles) {
        double nearest = INFINITY;
        for (const std::complex<double> pole : roots.poles)
            nearest = std::min(nearest, std::abs(pole - want));
        EXPECT_LT(nearest, 1e-8) << "pole " << want;
    }
    for (std::size_t p = 0; p < roots.poles.size(); ++p) {
        const bool wanted = std::any_of(c.poles.begin(), c.poles.end(), [&](auto want) {
            return std::abs(roots.poles[p] - want) < 1e-8;
        });
        if (!wanted) {
            EXPECT_GE(distanceToTheInterval(roots.poles[p]), c.nearestPoleBeyond)
                << "pole " << roots.poles[p] << " of residue " << roots.residues[p];
        }
    }
}

// Runge's function is rational: its two poles exactly; the entire
// functions' poles keep away from the nodes; the kink of |2x - 1| takes
// poles clustered on both sides of it, off the real line.
INSTANTIATE_TEST_SUITE_P(
    Functions, Aaa,
    ::testing::Values(
        AaaCase{"RungeAtAThousandNodes",
                [](double x) { return functionValue(StudyFunctionId::Runge, x); }, 1000, 1e-13,
                {{0.5, -0.1}, {0.5, 0.1}}, 1e300},
        AaaCase{"SineAtAHundredNodes", [](double x) { return std::sin(2 * M_PI * x); }, 100,
                1e-13, {}, 0.05},
        AaaCase{"ExponentialAtElevenNodes", [](double x) { return std::exp(x); }, 11, 1e-12, {},
                0.05},
        AaaCase{"PoleOutsideTheInterval", [](double x) { return 1 / (x - 1.25); }, 200, 1e-12,
                {{1.25, 0}}, 1e300}),
    [](const auto& row) { return row.param.name; });

TEST(Aaa, ValuesWhoseDifferencesOverflowAreRefused)
{
    const std::vector<double> xs = {0, 0.25, 0.5, 1};
    const std::vector<double> ys = {1e308, -1e308, 1e308, -1e308};
    const BuildResult result = buildInterpolant(StudyMethod::Aaa, xs, ys);
    ASSERT_TRUE(result.refusal);
    EXPECT_EQ(result.refusal->kind, RefusalKind::Overflow);
    EXPECT_NE(refusalText(StudyMethod::Aaa, *result.refusal).find("The AAA approximant"),
              std::string::npos);
}

TEST(AaaRoots, OfTwoSupportPointsWorkedByHand)
{
    // r = (1/x + 3/(x - 1)) / (1/x + 1/(x - 1)) = (4x - 1) / (2x - 1).
    MethodData data;
    data.knots = {0, 1};
    data.coefs = {1, 3};
    data.weights = {1, 1};
    const RationalRoots roots = aaaRoots(data);
    ASSERT_EQ(roots.poles.size(), 1u);
    EXPECT_NEAR(std::abs(roots.poles[0] - 0.5), 0, 1e-15);
    EXPECT_NEAR(std::abs(roots.residues[0] - 0.5), 0, 1e-15);
    ASSERT_EQ(roots.zeros.size(), 1u);
    EXPECT_NEAR(std::abs(roots.zeros[0] - 0.25), 0, 1e-15);
}

TEST(AaaRoots, ComeInConjugatePairsInRisingOrder)
{
    const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, 300);
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(1 / (1 + 400 * (x - 0.3) * (x - 0.3)) + 1 / (x + 0.5));
    MethodData data;
    ASSERT_TRUE(aaaBuild(xs, ys, data));
    const RationalRoots roots = aaaRoots(data);
    ASSERT_EQ(roots.poles.size(), 3u);
    EXPECT_NEAR(std::abs(roots.poles[0] - -0.5), 0, 1e-8);
    EXPECT_NEAR(std::abs(roots.poles[1] - std::complex(0.3, -0.05)), 0, 1e-8);
    EXPECT_NEAR(std::abs(roots.poles[2] - std::complex(0.3, 0.05)), 0, 1e-8);
}

// Runge's function at Chebyshev points: the barycentric form converges to
// rounding, the first form nearly so; the monomial coefficients stall near
// 1e-3 once n passes about 40 (the Vandermonde system's condition grows like
// 2.4^n), and Newton's form with its nodes left to right explodes.
struct FormCase {
    std::string name;
    GlobalForm form;
    int n;
    double low;   // the largest error on the grid lies in [low, high]
    double high;
};

class GlobalForms : public ::testing::TestWithParam<FormCase> {};

TEST_P(GlobalForms, LoseTheirDigitsWhereTheirRoundingGrows)
{
    const FormCase& c = GetParam();
    const std::vector<double> xs = familyNodes(NodeFamily::Lobatto, c.n);
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(functionValue(StudyFunctionId::Runge, x));
    MethodSettings settings;
    settings.parameters.globalForm = c.form;
    const BuildResult result = buildInterpolant(StudyMethod::Global, xs, ys, settings);
    ASSERT_TRUE(result.interpolant) << refusalText(StudyMethod::Global, *result.refusal);
    double largest = 0;
    for (int k = 0; k <= 10000; ++k) {
        const double x = k / 10000.0;
        const double error = std::fabs(result.interpolant->value(x) -
                                       functionValue(StudyFunctionId::Runge, x));
        if (!(error <= largest))
            largest = error;
    }
    EXPECT_GE(largest, c.low);
    EXPECT_LE(largest, c.high);
}

INSTANTIATE_TEST_SUITE_P(
    OnChebyshevPoints, GlobalForms,
    ::testing::Values(FormCase{"BarycentricReachesRounding", GlobalForm::Barycentric, 201, 0, 1e-14},
                      FormCase{"FirstFormNearlySo", GlobalForm::First, 201, 0, 1e-13},
                      FormCase{"MonomialAgreesAtThirtyOneNodes", GlobalForm::Monomial, 31, 2.4e-3,
                               2.5e-3},
                      FormCase{"MonomialStallsPastForty", GlobalForm::Monomial, 101, 1e-4, 1e-2},
                      FormCase{"NewtonLeftToRightExplodes", GlobalForm::Newton, 81, 1, INFINITY},
                      FormCase{"NewtonAgreesAtThirtyOneNodes", GlobalForm::Newton, 31, 2.4e-3,
                               2.5e-3}),
    [](const auto& row) { return row.param.name; });

TEST(GlobalForms, DerivativesOfNewtonAndMonomialAreTheirOwn)
{
    // p = x^3 - x through four nodes: p' = 3x^2 - 1, p'' = 6x in every form.
    const std::vector<double> xs = {0, 0.3, 0.7, 1};
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(x * x * x - x);
    for (const GlobalForm form : {GlobalForm::Newton, GlobalForm::Monomial, GlobalForm::First}) {
        MethodSettings settings;
        settings.parameters.globalForm = form;
        const Interpolant p = *buildInterpolant(StudyMethod::Global, xs, ys, settings).interpolant;
        const PointValues at = p.at(0.45);
        EXPECT_NEAR(at.value, 0.45 * 0.45 * 0.45 - 0.45, 1e-15);
        EXPECT_NEAR(at.first, 3 * 0.45 * 0.45 - 1, 1e-14);
        EXPECT_NEAR(at.second, 6 * 0.45, 1e-13);
        EXPECT_EQ(p.value(0.3), ys[1]) << "the node's own value";
    }
}

}  // namespace
}  // namespace tarvel
