#include "interp/lagrange.h"

#include <gtest/gtest.h>

#include "support/coef_checks.h"
#include "support/instruction_set.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace tarvel {
namespace {

// Basis values one after the other, each a product over m ascending of one
// multiplication and one division: the order whose bits FX must keep.
double lagrangeOneByOne(int n, double xp, const std::vector<double>& xs,
                        const std::vector<double>& fs)
{
    double sum = 0.0;
    for (int k = 0; k <= n; ++k) {
        double basis = 1.0;
        for (int m = 0; m <= n; ++m) {
            if (m != k)
                basis = (basis * (xp - xs[m])) / (xs[k] - xs[m]);
        }
        sum = sum + basis * fs[k];
    }
    return sum;
}

std::vector<double> sortedDistinct(std::mt19937& gen, int count, double lo, double hi)
{
    std::uniform_real_distribution<double> pick(lo, hi);
    std::vector<double> xs;
    while (static_cast<int>(xs.size()) < count) {
        xs.push_back(pick(gen));
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    }
    return xs;
}

std::vector<double> randomValues(std::mt19937& gen, int count)
{
    std::uniform_real_distribution<double> pick(-5.0, 5.0);
    std::vector<double> fs(count);
    for (auto& f : fs)
        f = pick(gen);
    return fs;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every instruction set must give the bits of the one-by-one order.
class FXEachSet : public support::PerInstructionSet {};

TEST_P(FXEachSet, MatchesOneByOneOrderBitForBit)
{
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> pickXp(-0.2, 1.2);
    for (int count = 1; count <= kWindowCapacity; ++count) {
        const auto xs = sortedDistinct(gen, count, 0.0, 1.0);
        const auto fs = randomValues(gen, count);
        std::vector<double> points{xs.front(), xs.back()};
        for (int p = 0; p < 40; ++p)
            points.push_back(pickXp(gen));
        for (const double xp : points) {
            const double expected = lagrangeOneByOne(count - 1, xp, xs, fs);
            const double actual = FX(count - 1, xp, xs, fs);
            // == rather than a tolerance; NaN never arises with these data.
            ASSERT_EQ(actual, expected) << "window of " << count << " at xp = " << xp;
        }
    }
}

// Abscissae so far apart that basis values overflow, and evaluation at the
// nodes themselves (exact zeros): infinities and NaN must come out in the
// same lanes with the same signs.
TEST_P(FXEachSet, OverflowAndNodesKeepTheirBits)
{
    std::mt19937 gen(11);
    for (const double scale : {1.0, 1.0e150, 1.0e-150}) {
        for (const int count : {2, 7, 8, 9, 16, 17, 64, kWindowCapacity}) {
            std::vector<double> xs(static_cast<std::size_t>(count));
            for (int k = 0; k < count; ++k)
                xs[static_cast<std::size_t>(k)] = scale * (k * k - 3.0 * k + 0.5);
            std::sort(xs.begin(), xs.end());
            xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
            const auto fs = randomValues(gen, static_cast<int>(xs.size()));
            const int n = static_cast<int>(xs.size()) - 1;
            std::vector<double> points(xs);
            points.push_back(-1.0e300);
            points.push_back(1.0e300);
            points.push_back(scale * 0.25);
            for (const double xp : points) {
                const double expected = lagrangeOneByOne(n, xp, xs, fs);
                const double actual = FX(n, xp, xs, fs);
                ASSERT_TRUE(sameBits(actual, expected))
                    << "scale " << scale << ", window of " << count << " at xp = " << xp
                    << ": " << actual << " instead of " << expected;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EachInstructionSet, FXEachSet,
                         ::testing::ValuesIn(support::kAllInstructionSets),
                         support::instructionSetParamName);

TEST(InstructionSet, ForcingAndTheAutomaticChoice)
{
    EXPECT_TRUE(instructionSetAvailable(InstructionSet::Baseline));
    const InstructionSet widest = instructionSetAvailable(InstructionSet::Avx512) ? InstructionSet::Avx512
                                  : instructionSetAvailable(InstructionSet::Avx2)
                                      ? InstructionSet::Avx2
                                      : InstructionSet::Baseline;
    EXPECT_EQ(lagrangeInstructionSet(), widest) << instructionSetName(lagrangeInstructionSet());
    ASSERT_TRUE(forceInstructionSet(InstructionSet::Baseline));
    EXPECT_EQ(lagrangeInstructionSet(), InstructionSet::Baseline);
    for (const InstructionSet set : support::kAllInstructionSets) {
        const bool available = instructionSetAvailable(set);
        EXPECT_EQ(forceInstructionSet(set), available) << instructionSetName(set);
        EXPECT_EQ(lagrangeInstructionSet(), available ? set : InstructionSet::Baseline)
            << "a refused choice changes nothing";
        forceInstructionSet(InstructionSet::Baseline);
    }
    chooseInstructionSetAutomatically();
    EXPECT_EQ(lagrangeInstructionSet(), widest);
}

double polynomial(const std::vector<double>& coef, double x)
{
    double y = 0.0;
    for (auto c = coef.rbegin(); c != coef.rend(); ++c)
        y = y * x + *c;
    return y;
}

TEST(FX, ReproducesPolynomialsUpToItsDegree)
{
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> pickXp(0.0, 1.0);
    for (int n = 0; n <= 8; ++n) {
        for (int degree = 0; degree <= n; ++degree) {
            const auto coef = randomValues(gen, degree + 1);
            const auto xs = sortedDistinct(gen, n + 1, 0.0, 1.0);
            std::vector<double> fs;
            for (const double x : xs)
                fs.push_back(polynomial(coef, x));
            for (int p = 0; p < 20; ++p) {
                const double xp = pickXp(gen);
                EXPECT_NEAR(FX(n, xp, xs, fs), polynomial(coef, xp), 1e-7)
                    << "n = " << n << ", degree " << degree << ", xp = " << xp;
            }
        }
    }
}

struct DegreeCase {
    std::string name;
    double n;
    int pointsUsed;  // 0: the result is 0
};

TEST(FX, DegreeIsUsedAsRead)
{
    std::mt19937 gen(3);
    const auto xs = sortedDistinct(gen, kWindowCapacity, 0.0, 1.0);
    const auto fs = randomValues(gen, kWindowCapacity);
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<DegreeCase> cases = {
        {"zero", 0.0, 1},
        {"fraction below one", 0.9, 1},
        {"fractional 2.7", 2.7, 3},
        {"largest", 100.0, 101},
        {"above capacity", 250.0, 101},
        {"huge", 1e300, 101},
        {"infinite", inf, 101},
        {"negative fraction", -0.5, 0},
        {"negative", -3.0, 0},
        {"undefined", std::nan(""), 0},
    };
    const double xp = 0.4375;
    for (const auto& c : cases) {
        const double expected =
            c.pointsUsed == 0 ? 0.0 : lagrangeOneByOne(c.pointsUsed - 1, xp, xs, fs);
        EXPECT_EQ(FX(c.n, xp, xs, fs), expected) << c.name;
    }
    EXPECT_EQ(FX(0, 123.0, xs, fs), fs[0]) << "degree 0 is the constant fs(0)";
}

TEST(FX, NeverReadsBeyondShortArrays)
{
    const std::vector<double> xs{0.0, 0.5, 1.0};
    const std::vector<double> fs{1.0, 3.0};
    // Only the two points that both arrays hold take part: the line.
    EXPECT_EQ(FX(10, 0.25, xs, fs), 2.0);
    EXPECT_EQ(FX(10, 0.25, {}, {}), 0.0);
}

struct WindowCase {
    std::string name;
    double nDeg;
    double lastU;
    int j;
    int start;
};

TEST(WindowStart, PlacesWindowAroundInterval)
{
    const std::vector<WindowCase> cases = {
        {"even, first interval", 2, 10, 0, 0},
        {"even, middle", 2, 10, 5, 4},
        {"even, last interval", 2, 10, 9, 8},
        {"odd, first interval", 3, 10, 0, 0},
        {"odd, middle", 3, 10, 5, 4},
        {"odd, last interval", 3, 10, 9, 7},
        {"global, first", 10, 10, 0, 0},
        {"global, last", 10, 10, 9, 0},
        {"degree 0", 0, 10, 6, 6},
        {"degree 1", 1, 10, 6, 6},
        {"fractional 2.5, last", 2.5, 10, 9, 7},
        {"fractional 2.5, middle", 2.5, 10, 5, 4},
        {"fractional 10.5", 10.5, 10, 9, 0},
        {"fractional 10.5, first", 10.5, 10, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(windowStart(c.nDeg, c.lastU, c.j), c.start) << c.name;
    }
}

TEST(WindowStart, WindowStaysInsideGivenPoints)
{
    for (int lastU = 1; lastU <= 30; ++lastU) {
        for (double nDeg = 0.0; nDeg < lastU + 1; nDeg += 0.25) {
            for (int j = 0; j < lastU; ++j) {
                const int start = windowStart(nDeg, lastU, j);
                ASSERT_GE(start, 0) << "nDeg " << nDeg << " lastU " << lastU << " j " << j;
                ASSERT_LE(start + std::floor(nDeg), lastU)
                    << "nDeg " << nDeg << " lastU " << lastU << " j " << j;
            }
        }
    }
}

TEST(WindowStart, ExtremeInputsGiveSafeIndex)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::nan("");
    const std::vector<WindowCase> cases = {
        {"huge lastU", 1, 1e300, 2000000000, 0}, {"huge degree", 1e300, 1e300, 5, 0},
        {"infinite degree", inf, 10, 3, 0},      {"undefined degree", nan, 10, 3, 0},
        {"negative degree", -7, 10, 2, 0},       {"negative lastU", 2, -5, 3, 0},
    };
    for (const auto& c : cases) {
        const int start = windowStart(c.nDeg, c.lastU, c.j);
        EXPECT_GE(start, 0) << c.name;
        EXPECT_LE(start, 2000000000) << c.name;
    }
}

using support::evenAbscissae;

TEST(LocalPolynomialValue, UsesTheWindowOfTheInterval)
{
    std::mt19937 gen(5);
    const auto xU = evenAbscissae(10);
    const auto yU = randomValues(gen, 11);
    const std::vector<WindowCase> cases = {
        {"even, first", 2, 10, 0, 0}, {"even, middle", 2, 10, 5, 4}, {"even, last", 2, 10, 9, 8},
        {"odd, first", 3, 10, 0, 0},  {"odd, middle", 3, 10, 5, 4},  {"odd, last", 3, 10, 9, 7},
        {"global", 10, 10, 4, 0},
    };
    for (const auto& c : cases) {
        const double xp = (xU[c.j] + xU[c.j + 1]) / 2.0;
        const auto count = static_cast<std::size_t>(c.nDeg) + 1;
        const std::vector<double> xs(xU.begin() + c.start, xU.begin() + c.start + count);
        const std::vector<double> fs(yU.begin() + c.start, yU.begin() + c.start + count);
        EXPECT_EQ(localPolynomialValue(c.nDeg, c.lastU, c.j, xp, xU, yU),
                  lagrangeOneByOne(static_cast<int>(c.nDeg), xp, xs, fs))
            << c.name;
    }
}

TEST(LocalPolynomialValue, DegreeOneIsTheTwoTermLine)
{
    std::mt19937 gen(13);
    std::uniform_real_distribution<double> inside(0.0, 1.0);
    const auto xU = sortedDistinct(gen, 21, -3.0, 4.0);
    const auto yU = randomValues(gen, 21);
    for (int j = 0; j < 20; ++j) {
        const double xp = xU[j] + inside(gen) * (xU[j + 1] - xU[j]);
        double line = 0.0;
        line = line + ((xp - xU[j + 1]) / (xU[j] - xU[j + 1])) * yU[j];
        line = line + ((xp - xU[j]) / (xU[j + 1] - xU[j])) * yU[j + 1];
        EXPECT_EQ(localPolynomialValue(1, 20, j, xp, xU, yU), line) << "interval " << j;
    }
}

TEST(LocalPolynomialValue, DegreeZeroAndNegative)
{
    std::mt19937 gen(17);
    const auto xU = evenAbscissae(10);
    const auto yU = randomValues(gen, 11);
    for (int j = 0; j < 10; ++j) {
        const double xp = xU[j] + 0.03;
        EXPECT_EQ(localPolynomialValue(0, 10, j, xp, xU, yU), yU[j]) << "step at " << j;
        EXPECT_EQ(localPolynomialValue(-1, 10, j, xp, xU, yU), 0.0) << "negative at " << j;
    }
}

TEST(LocalPolynomialValue, ReproducesCubicOnEveryInterval)
{
    const std::vector<double> coef{0.3, -1.7, 2.9, 4.1};
    const auto xU = evenAbscissae(10);
    std::vector<double> yU;
    for (const double x : xU)
        yU.push_back(polynomial(coef, x));
    for (int j = 0; j < 10; ++j) {
        for (const double f : {0.1, 0.5, 0.9}) {
            const double xp = xU[j] + f * (xU[j + 1] - xU[j]);
            EXPECT_NEAR(localPolynomialValue(3, 10, j, xp, xU, yU), polynomial(coef, xp), 1e-13)
                << "interval " << j << " at " << xp;
        }
    }
}

TEST(LocalPolynomialValue, ShortArraysAreNotOverrun)
{
    const std::vector<double> xU{0.0, 1.0, 2.0, 3.0, 4.0};
    const std::vector<double> yU{0.0, 1.0, 4.0, 9.0, 16.0};
    // The window asks for 11 points; the five that exist give x^2 exactly.
    EXPECT_EQ(localPolynomialValue(10, 10, 2, 2.5, xU, yU), 6.25);
    EXPECT_EQ(localPolynomialValue(2, 1000, 900, 2.5, xU, yU), 0.0);
    EXPECT_EQ(localPolynomialValue(3, 3, 0, 0.5, {}, {}), 0.0);
}

}  // namespace
}  // namespace tarvel
