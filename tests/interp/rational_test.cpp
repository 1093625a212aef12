// The AAA approximant: how closely it fits, where it puts its poles, and
// the poles, residues and zeros of weights worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <string>
#include <vector>

#include "interp/aaa.h"
#include "interp/interpolant.h"
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
    ASSERT_TRUE(result.interpolant) << result.refusal;
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

}  // namespace
}  // namespace tarvel
