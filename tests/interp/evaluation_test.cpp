#include "interp/evaluation.h"

#include <gtest/gtest.h>

#include "support/coef_checks.h"

#include <string>
#include <utility>
#include <vector>

namespace tarvel {
namespace {

constexpr double kOld = -555.0;  // value left by an earlier calculation

TEST(EvaluateRow, SumsTheFourTerms)
{
    struct Case {
        std::string name;
        CoefRow row;
        double t, expected;
    };
    const std::vector<Case> cases = {
        {"each power", {1, 2, 3, 4}, 0.5, 3.25},
        {"left end", {7, 2, 3, 4}, 0.0, 7.0},
        {"peak spline row 0", {0, 3, 0, -4}, 0.25, 0.6875},
        {"peak spline row 1 at its end", {1, 0, -6, 4}, 0.5, 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(evaluateRow(c.row, c.t), c.expected) << c.name;
    }
}

struct Scan {
    std::vector<double> xI, yI;
    std::vector<std::pair<int, int>> interiorCalls;
};

// The interior value encodes the interval, so that a wrong j shows.
Scan runScan(int lastI, std::vector<double> xI, int lastU, const std::vector<double>& xU,
             const std::vector<double>& yU)
{
    Scan scan{std::move(xI), {}, {}};
    scan.yI.assign(scan.xI.size(), kOld);
    std::vector<Settlement> settled(scan.xI.size());
    evaluatePoints(
        lastI, scan.xI, scan.yI, lastU, xU, yU,
        [&scan](int i, int j) {
            scan.interiorCalls.emplace_back(i, j);
            return 1000.0 + j;
        },
        settled);
    return scan;
}

TEST(EvaluatePoints, DefaultGridCopiesEndsAndEvaluatesInside)
{
    const auto xU = support::evenAbscissae(10);
    std::vector<double> yU;
    for (int j = 0; j <= 10; ++j)
        yU.push_back(10.0 * j);
    const Scan scan = runScan(149, support::evenAbscissae(149), 10, xU, yU);
    EXPECT_EQ(scan.yI[0], yU[0]);
    EXPECT_EQ(scan.yI[149], yU[10]);
    ASSERT_EQ(scan.interiorCalls.size(), 148u);
    for (const auto& [i, j] : scan.interiorCalls) {
        EXPECT_LT(xU[j], scan.xI[i]) << "point " << i << " in interval " << j;
        EXPECT_LT(scan.xI[i], xU[j + 1]) << "point " << i << " in interval " << j;
        EXPECT_EQ(scan.yI[i], 1000.0 + j) << "point " << i;
    }
}

struct PointCase {
    std::string name;
    double x;
    double expected;
};

// Given points that are not increasing expose the plain scan from the
// first interval and the first test that holds.
TEST(EvaluatePoints, FirstMatchingTestSettlesThePoint)
{
    const std::vector<double> xU{0.0, 0.5, 0.2, 0.8, 0.9};
    const std::vector<double> yU{10, 11, 12, 13, 14};
    const std::vector<PointCase> cases = {
        {"left end", 0.0, 10},
        {"right end of interval 0", 0.5, 11},
        {"inside interval 0", 0.3, 1000},
        {"given point 2 lies inside interval 0", 0.2, 1000},
        {"inside interval 2 only", 0.6, 1002},
        {"right end of interval 2", 0.8, 13},
        {"inside the last interval", 0.85, 1003},
        {"last given point", 0.9, 14},
        {"below every interval", -0.1, kOld},
        {"above every interval", 1.5, kOld},
    };
    for (const auto& c : cases) {
        const Scan scan = runScan(0, {c.x}, 4, xU, yU);
        EXPECT_EQ(scan.yI[0], c.expected) << c.name;
    }
    const Scan repeated = runScan(0, {0.2}, 4, {0.0, 0.2, 0.2, 1.0}, {1, 2, 3, 4});
    EXPECT_EQ(repeated.yI[0], 2.0) << "repeated abscissa: the first one is copied";
}

// Regression: the grid of 150 points ends at exactly 1, the grid of 50
// given points one rounding step below it; that last point belongs to no
// interval and keeps what an earlier calculation stored.
TEST(EvaluatePoints, PointJustAboveLastGivenKeepsOldValue)
{
    const auto xU = support::evenAbscissae(49);
    const std::vector<double> yU(50, 3.0);
    const auto xI = support::evenAbscissae(149);
    ASSERT_LT(xU[49], xI[149]);
    const Scan scan = runScan(149, xI, 49, xU, yU);
    EXPECT_EQ(scan.yI[149], kOld);
    EXPECT_EQ(scan.yI[0], 3.0);
    EXPECT_EQ(scan.interiorCalls.size(), 148u);
}

struct BoundsCase {
    std::string name;
    int lastI, lastU;
    std::vector<double> xI, xU, yU;
    std::vector<double> expected;
};

TEST(EvaluatePoints, CountsAndSpanEnds)
{
    const std::vector<BoundsCase> cases = {
        {"no point", -1, 2, {0.5}, {0, 1, 2}, {5, 6, 7}, {kOld}},
        {"no given point", 0, -1, {0.5}, {0, 1}, {5, 6}, {kOld}},
        {"single given point", 1, 0, {0.5, 0.7}, {0.5, 1}, {5, 6}, {5, kOld}},
        {"lastI beyond xI", 5, 2, {0.5, 2.0}, {0, 1, 2}, {5, 6, 7}, {1000, 7}},
        {"lastU beyond xU", 1, 9, {0.5, 3.0}, {0, 1, 2}, {5, 6, 7}, {1000, kOld}},
        {"lastU beyond yU", 1, 2, {0.5, 2.0}, {0, 1, 2}, {5, 6}, {1000, kOld}},
        {"lastI restricts", 0, 2, {0.5, 2.0}, {0, 1, 2}, {5, 6, 7}, {1000, kOld}},
        {"lastU restricts", 1, 1, {0.5, 1.5}, {0, 1, 2}, {5, 6, 7}, {1000, kOld}},
    };
    for (const auto& c : cases) {
        const Scan scan = runScan(c.lastI, c.xI, c.lastU, c.xU, c.yU);
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(scan.yI[i], c.expected[i]) << c.name << ", point " << i;
        }
    }
}

}  // namespace
}  // namespace tarvel
