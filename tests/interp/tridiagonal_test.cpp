#include "interp/tridiagonal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace tarvel {
namespace {

constexpr double kSentinel = 42.0;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct System {
    std::string name;
    int lastEq;
    std::vector<double> diagMain, diagSub, diagSup, rhs;
};

SolveStatus solve(const System& s, std::vector<double>& sol)
{
    return LESSolve_Thomas(s.lastEq, s.diagMain, s.diagSub, s.diagSup, s.rhs, sol);
}

struct ExactCase {
    System system;
    std::vector<double> expected;
};

// Solutions that come out exactly; diagSub(0) and diagSup(lastEq) hold NaN,
// which would spoil the result if either were read.
TEST(LESSolveThomas, ExactSolutions)
{
    const std::vector<ExactCase> cases = {
        {{"negative pivot", 2, {2, 3, 3}, {kNaN, 2, 2}, {2, 2, kNaN}, {4, 7, 5}}, {1, 1, 1}},
        {{"spline of 0,1,0", 2, {1, 2, 1}, {kNaN, 0.5, 0}, {0, 0.5, kNaN}, {0, -24, 0}},
         {0, -12, 0}},
        {{"single equation", 0, {4}, {kNaN}, {kNaN}, {3}}, {0.75}},
        {{"identity rows", 3, {1, 1, 1, 1}, {kNaN, 0, 0, 0}, {0, 0, 0, kNaN}, {5, -2, 0.25, 7}},
         {5, -2, 0.25, 7}},
    };
    for (const auto& c : cases) {
        std::vector<double> sol(c.expected.size() + 2, kSentinel);
        ASSERT_EQ(solve(c.system, sol), SolveStatus::Solved) << c.system.name;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(sol[i], c.expected[i]) << c.system.name << " sol(" << i << ")";
        }
        EXPECT_EQ(sol[c.expected.size()], kSentinel) << c.system.name << ": entry above lastEq";
        EXPECT_EQ(sol[c.expected.size() + 1], kSentinel) << c.system.name;
    }
}

// Random diagonally dominant system of the largest accepted size: the
// residual of every equation must vanish up to rounding.
TEST(LESSolveThomas, LargestSystemHasSmallResidual)
{
    std::mt19937 gen(20240611);
    std::uniform_real_distribution<double> off(-1.0, 1.0);
    const int lastEq = kThomasCapacity - 1;
    System s{"random 301", lastEq, {}, {}, {}, {}};
    for (int i = 0; i <= lastEq; ++i) {
        s.diagSub.push_back(off(gen));
        s.diagSup.push_back(off(gen));
        s.diagMain.push_back(2.5 + off(gen));
        s.rhs.push_back(10.0 * off(gen));
    }
    std::vector<double> sol(lastEq + 1, kSentinel);
    ASSERT_EQ(solve(s, sol), SolveStatus::Solved);
    for (int i = 0; i <= lastEq; ++i) {
        double lhs = s.diagMain[i] * sol[i];
        if (i > 0)
            lhs += s.diagSub[i] * sol[i - 1];
        if (i < lastEq)
            lhs += s.diagSup[i] * sol[i + 1];
        EXPECT_NEAR(lhs, s.rhs[i], 1e-12) << "equation " << i;
    }
}

// Regression: the elimination must divide the product by the pivot, not
// multiply by a precomputed ratio. The data are chosen so that the two
// orders round differently.
TEST(LESSolveThomas, ProductIsFormedBeforeDivision)
{
    const double sub = 0.1, sup = 0.2, pivot = 0.2, main1 = 0.0;
    const double productFirst = main1 - (sub * sup) / pivot;
    const double ratioFirst = main1 - (sub / pivot) * sup;
    ASSERT_NE(productFirst, ratioFirst) << "data do not separate the two orders";
    System s{"order", 1, {pivot, main1}, {0, sub}, {sup, 0}, {0, 1}};
    std::vector<double> sol(2, kSentinel);
    ASSERT_EQ(solve(s, sol), SolveStatus::Solved);
    EXPECT_EQ(sol[1], 1.0 / productFirst);
}

struct RefusalCase {
    System system;
    SolveStatus expected;
    std::size_t solSize;
};

TEST(LESSolveThomas, RefusalsLeaveSolutionUntouched)
{
    const std::vector<double> three{1, 1, 1};
    const std::vector<double> two{1, 1};
    const std::vector<RefusalCase> cases = {
        {{"negative lastEq", -1, three, three, three, three}, SolveStatus::SizeOutOfRange, 3},
        {{"lastEq above capacity", kThomasCapacity, three, three, three, three},
         SolveStatus::SizeOutOfRange,
         3},
        {{"short diagMain", 2, two, three, three, three}, SolveStatus::SizeOutOfRange, 3},
        {{"short diagSub", 2, three, two, three, three}, SolveStatus::SizeOutOfRange, 3},
        {{"short diagSup", 2, three, three, two, three}, SolveStatus::SizeOutOfRange, 3},
        {{"short rhs", 2, three, three, three, two}, SolveStatus::SizeOutOfRange, 3},
        {{"short sol", 2, three, three, three, three}, SolveStatus::SizeOutOfRange, 2},
        {{"zero single pivot", 0, {0}, {1}, {1}, {1}}, SolveStatus::ZeroPivot, 1},
        {{"zero first pivot", 2, {0, 1, 1}, three, three, three}, SolveStatus::ZeroPivot, 3},
        {{"zero middle pivot", 2, {1, 1, 1}, three, three, three}, SolveStatus::ZeroPivot, 3},
        {{"zero last pivot", 2, {1, 2, 1}, three, three, three}, SolveStatus::ZeroPivot, 3},
    };
    for (const auto& c : cases) {
        std::vector<double> sol(c.solSize, kSentinel);
        EXPECT_EQ(solve(c.system, sol), c.expected) << c.system.name;
        for (std::size_t i = 0; i < sol.size(); ++i) {
            EXPECT_EQ(sol[i], kSentinel) << c.system.name << " sol(" << i << ") written";
        }
    }
}

}  // namespace
}  // namespace tarvel
