#include "interp/cubic_spline.h"

#include <gtest/gtest.h>

#include "support/coef_checks.h"

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace tarvel {
namespace {

using support::expectRow;
using support::expectRowsUntouched;
using support::kSentinel;
using support::sentinelTable;

struct GoldenCase {
    std::string name;
    std::vector<double> xU, yU;
    std::vector<CoefRow> rows;
};

TEST(NaturalCubicSpline, GoldenRows)
{
    const std::vector<GoldenCase> cases = {
        {"peak 0,1,0", {0, 0.5, 1}, {0, 1, 0}, {{0, 3, 0, -4}, {1, 0, -6, 4}}},
        {"two points", {1, 3}, {2, 7}, {{2, 2.5, 0, 0}}},
        {"one point", {0.5}, {4}, {}},
        {"line",
         {0, 0.25, 1, 1.5},
         {1, 0.5, -1, -2},
         {{1, -2, 0, 0}, {0.5, -2, 0, 0}, {-1, -2, 0, 0}}},
    };
    for (const auto& c : cases) {
        CoefTable table = sentinelTable();
        const int lastU = static_cast<int>(c.xU.size()) - 1;
        ASSERT_EQ(naturalCubicSplineCoefs(lastU, c.xU, c.yU, table), SolveStatus::Solved) << c.name;
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            expectRow(c.name, static_cast<int>(i), table[i], c.rows[i], 1e-15);
        }
        expectRowsUntouched(c.name, table, lastU < 0 ? 0 : lastU);
    }
}

struct RefusalCase {
    std::string name;
    int lastU;
    std::vector<double> xU, yU;
    SolveStatus expected;
};

TEST(NaturalCubicSpline, RefusalsWriteNoRow)
{
    const std::vector<double> many(200, 1.0);
    const std::vector<RefusalCase> cases = {
        {"below -1", -2, many, many, SolveStatus::SizeOutOfRange},
        {"above 101 points", kCubicSplineCapacity, many, many, SolveStatus::SizeOutOfRange},
        {"short xU", 3, {0, 1, 2}, {0, 1, 2, 3}, SolveStatus::SizeOutOfRange},
        {"short yU", 3, {0, 1, 2, 3}, {0, 1, 2}, SolveStatus::SizeOutOfRange},
        {"back and forth", 2, {0, 1, 0}, {0, 1, 2}, SolveStatus::ZeroPivot},
        {"no point", -1, {}, {}, SolveStatus::Solved},
    };
    for (const auto& c : cases) {
        CoefTable table = sentinelTable();
        EXPECT_EQ(naturalCubicSplineCoefs(c.lastU, c.xU, c.yU, table), c.expected) << c.name;
        expectRowsUntouched(c.name, table, 0);
    }
}

struct Piece {
    double value, slope, curvature;
};

Piece at(const CoefRow& r, double t)
{
    return {r[0] + r[1] * t + r[2] * t * t + r[3] * t * t * t,
            r[1] + 2.0 * r[2] * t + 3.0 * r[3] * t * t, 2.0 * r[2] + 6.0 * r[3] * t};
}

// Uneven random abscissae and ordinates: the spline interpolates, its first
// and second derivatives are continuous and both end curvatures vanish.
TEST(NaturalCubicSpline, PropertiesOnRandomData)
{
    std::mt19937 gen(424242);
    std::uniform_real_distribution<double> width(0.05, 1.0);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    for (const int lastU : {2, 3, 7, 40, kCubicSplineCapacity - 1}) {
        std::vector<double> xU{value(gen)}, yU{value(gen)};
        for (int i = 1; i <= lastU; ++i) {
            xU.push_back(xU.back() + width(gen));
            yU.push_back(value(gen));
        }
        CoefTable table = sentinelTable();
        ASSERT_EQ(naturalCubicSplineCoefs(lastU, xU, yU, table), SolveStatus::Solved);
        const std::string name = std::to_string(lastU + 1) + " points";
        EXPECT_EQ(at(table[0], 0.0).curvature, 0.0) << name << ": left end";
        for (int i = 0; i < lastU; ++i) {
            const Piece left = at(table[i], xU[i + 1] - xU[i]);
            EXPECT_EQ(table[i][0], yU[i]) << name << ": row " << i;
            EXPECT_NEAR(left.value, yU[i + 1], 1e-11) << name << ": end of row " << i;
            if (i + 1 == lastU) {
                EXPECT_NEAR(left.curvature, 0.0, 1e-10) << name << ": right end";
                continue;
            }
            const Piece right = at(table[i + 1], 0.0);
            EXPECT_NEAR(left.slope, right.slope, 1e-10) << name << ": slope at " << i + 1;
            EXPECT_NEAR(left.curvature, right.curvature, 1e-10)
                << name << ": curvature at " << i + 1;
        }
        expectRowsUntouched(name, table, lastU);
    }
}

}  // namespace
}  // namespace tarvel
