#include "interp/pw_cubic_spline.h"

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
    double tolerance;
};

TEST(PwCubicSpline, GoldenRows)
{
    const double tan22_5 = std::sqrt(2.0) - 1.0;
    const std::vector<GoldenCase> cases = {
        // Six decimals, as worked out by hand from the chord angles.
        {"bent line",
         {0, 0.5, 1},
         {0, 0.5, 1.5},
         {{0, 1.387426, -2.324555, 3.099407}, {0.5, 1.387426, 3.675445, -4.900593}},
         5e-7},
        {"symmetric peak", {0, 0.5, 1}, {0, 1, 0}, {{0, 0, 12, -16}, {1, 0, -12, 16}}, 0.0},
        {"two points", {1, 3}, {2, 7}, {{2, 0, 3.0 * 5 / 4, -2.0 * 5 / 8}}, 1e-15},
        {"0 and 45 degree chords",
         {0, 1, 2},
         {0, 0, 1},
         {{0, tan22_5, -3 * tan22_5, 2 * tan22_5}, {0, tan22_5, 3 - 3 * tan22_5, 2 * tan22_5 - 2}},
         1e-15},
        {"line",
         {0, 0.25, 1, 1.5},
         {1, 0.5, -1, -2},
         {{1, -2, 0, 0}, {0.5, -2, 0, 0}, {-1, -2, 0, 0}},
         1e-13},
    };
    for (const auto& c : cases) {
        CoefTable table = sentinelTable();
        const int lastU = static_cast<int>(c.xU.size()) - 1;
        ASSERT_TRUE(pwCubicSplineCoefs(lastU, c.xU, c.yU, table)) << c.name;
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            expectRow(c.name, static_cast<int>(i), table[i], c.rows[i], c.tolerance);
        }
        expectRowsUntouched(c.name, table, lastU);
    }
}

struct RefusalCase {
    std::string name;
    int lastU;
    std::vector<double> xU, yU;
};

TEST(PwCubicSpline, RefusalsWriteNoRow)
{
    const std::vector<double> many(400, 1.0);
    const std::vector<RefusalCase> cases = {
        {"one point", 0, {0}, {0}},
        {"negative", -1, {}, {}},
        {"above 301 intervals", kPwSplineCapacity, many, many},
        {"short xU", 3, {0, 1, 2}, {0, 1, 2, 3}},
        {"short yU", 3, {0, 1, 2, 3}, {0, 1, 2}},
        {"vertical bisector at last interior point", 3, {0, 1, 2, 1}, {0, 1, 2, 3}},
    };
    for (const auto& c : cases) {
        CoefTable table = sentinelTable();
        EXPECT_FALSE(pwCubicSplineCoefs(c.lastU, c.xU, c.yU, table)) << c.name;
        expectRowsUntouched(c.name, table, 0);
    }
}

TEST(PwCubicSpline, LargestSetFillsEveryRow)
{
    std::vector<double> xU, yU;
    for (int i = 0; i < kPwSplineCapacity; ++i) {
        xU.push_back(i);
        yU.push_back(std::sin(0.1 * i));
    }
    CoefTable table = sentinelTable();
    ASSERT_TRUE(pwCubicSplineCoefs(kPwSplineCapacity - 1, xU, yU, table));
    EXPECT_EQ(table[kCoefRows - 1][0], yU[kCoefRows - 1]);
}

// Regression: squaring widths beyond about 1e154 overflowed the chord
// length into an infinity and the slopes into NaN.
TEST(PwCubicSpline, HugeScalesKeepFiniteSlopes)
{
    for (const double scale : {1e160, 1e300}) {
        const std::vector<double> xU{0, 0.5 * scale, scale};
        const std::vector<double> yU{0, 0.5 * scale, 1.5 * scale};
        CoefTable table = sentinelTable();
        ASSERT_TRUE(pwCubicSplineCoefs(2, xU, yU, table));
        EXPECT_NEAR(table[0][1], 1.387426, 5e-7) << "scale " << scale;
        EXPECT_NEAR(table[1][1], 1.387426, 5e-7) << "scale " << scale;
    }
}

// Uneven random data: each piece takes its end values, and its end slopes
// are the bisectors of the chord angles (inner neighbour's at the ends).
TEST(PwCubicSpline, HermitePropertiesOnRandomData)
{
    std::mt19937 gen(99);
    std::uniform_real_distribution<double> width(0.05, 1.0);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    const int lastU = 60;
    std::vector<double> xU{0.0}, yU{value(gen)};
    for (int i = 1; i <= lastU; ++i) {
        xU.push_back(xU.back() + width(gen));
        yU.push_back(value(gen));
    }
    std::vector<double> slope(lastU + 1);
    for (int i = 1; i < lastU; ++i) {
        const double before = std::atan2(yU[i] - yU[i - 1], xU[i] - xU[i - 1]);
        const double after = std::atan2(yU[i + 1] - yU[i], xU[i + 1] - xU[i]);
        slope[i] = std::tan((before + after) / 2.0);
    }
    slope[0] = slope[1];
    slope[lastU] = slope[lastU - 1];
    CoefTable table = sentinelTable();
    ASSERT_TRUE(pwCubicSplineCoefs(lastU, xU, yU, table));
    for (int i = 0; i < lastU; ++i) {
        const CoefRow& r = table[i];
        const double h = xU[i + 1] - xU[i];
        const double tolerance = 1e-9 * (1.0 + std::abs(slope[i]) + std::abs(slope[i + 1]));
        EXPECT_EQ(r[0], yU[i]) << "row " << i;
        EXPECT_NEAR(r[1], slope[i], tolerance) << "row " << i;
        EXPECT_NEAR(r[0] + r[1] * h + r[2] * h * h + r[3] * h * h * h, yU[i + 1], tolerance)
            << "end value of row " << i;
        EXPECT_NEAR(r[1] + 2 * r[2] * h + 3 * r[3] * h * h, slope[i + 1], tolerance)
            << "end slope of row " << i;
    }
    expectRowsUntouched("random", table, lastU);
}

}  // namespace
}  // namespace tarvel
