// The evaluation of interpolation points against the literal first-match
// scan over every interval, on random data full of exact coincidences: the
// result, the settlement and the sequence of interior evaluations must be
// the same whichever way the program finds the interval.
#include "interp/evaluation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace tarvel {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Result {
    std::vector<double> yI;
    std::vector<Settlement> settled;
    std::vector<std::pair<int, int>> interiorCalls;
};

// The scan exactly as the evaluation describes it: for each point, j from
// the first given point, the first test that holds wins.
Result literalScan(int lastI, const std::vector<double>& xI, int lastU,
                   const std::vector<double>& xU, const std::vector<double>& yU,
                   const std::vector<double>& before)
{
    Result r{before, std::vector<Settlement>(xI.size(), Settlement::None), {}};
    for (int i = 0; i <= lastI; ++i) {
        const double x = xI[i];
        for (int j = 0; j <= lastU; ++j) {
            if (x == xU[j]) {
                r.yI[i] = yU[j];
                r.settled[i] = Settlement::Copied;
                break;
            }
            if (j == lastU)
                break;
            if (x == xU[j + 1]) {
                r.yI[i] = yU[j + 1];
                r.settled[i] = Settlement::Copied;
                break;
            }
            if (xU[j] < x && x < xU[j + 1]) {
                r.interiorCalls.emplace_back(i, j);
                r.yI[i] = 1000.0 + j + x;
                r.settled[i] = Settlement::Evaluated;
                break;
            }
        }
    }
    return r;
}

Result evaluate(int lastI, const std::vector<double>& xI, int lastU, const std::vector<double>& xU,
                const std::vector<double>& yU, const std::vector<double>& before)
{
    Result r{before, std::vector<Settlement>(xI.size(), Settlement::None), {}};
    evaluatePoints(
        lastI, xI, r.yI, lastU, xU, yU,
        [&](int i, int j) {
            r.interiorCalls.emplace_back(i, j);
            return 1000.0 + j + xI[static_cast<std::size_t>(i)];
        },
        r.settled);
    return r;
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// A pool of abscissae on a coarse grid, so that given points and
// interpolation points coincide often, with -0.0 beside 0.0.
double draw(std::mt19937_64& random, int grid)
{
    std::uniform_int_distribution<int> pick(-2, grid + 2);
    const int k = pick(random);
    if (k == 0 && random() % 4 == 0)
        return -0.0;
    return static_cast<double>(k) / grid;
}

struct Shape {
    const char* name;
    bool sortPoints;   // interpolation points in rising order (with repeats)
    bool risingGiven;  // given points strictly increasing
    bool oddValues;    // NaN and infinities among the interpolation points
};

void compareOnRandomData(const Shape& shape, std::uint64_t seed)
{
    std::mt19937_64 random(seed);
    for (int round = 0; round < 400; ++round) {
        const int grid = 4 + static_cast<int>(random() % 60);
        const int given = 1 + static_cast<int>(random() % 40);
        std::vector<double> xU;
        for (int k = 0; k < given; ++k)
            xU.push_back(draw(random, grid));
        if (shape.risingGiven) {
            std::sort(xU.begin(), xU.end());
            xU.erase(std::unique(xU.begin(), xU.end()), xU.end());  // -0.0 == 0.0 too
        } else if (random() % 2) {
            std::sort(xU.rbegin(), xU.rend());  // falling, repeats kept
        }
        std::vector<double> yU;
        for (std::size_t k = 0; k < xU.size(); ++k)
            yU.push_back(static_cast<double>(k) + 0.5);

        const int points = 1 + static_cast<int>(random() % 80);
        std::vector<double> xI;
        for (int i = 0; i < points; ++i)
            xI.push_back(draw(random, grid));
        if (shape.oddValues)
            for (const double odd : {kNaN, kInf, -kInf, -0.0})
                xI[random() % xI.size()] = odd;
        if (shape.sortPoints)
            std::stable_sort(xI.begin(), xI.end());  // NaN, if any, stays somewhere
        std::vector<double> before(xI.size());
        for (std::size_t i = 0; i < before.size(); ++i)
            before[i] = -7.0 - static_cast<double>(i);

        // Limits below what the arrays hold as well as the whole.
        const int lastU = static_cast<int>(xU.size()) - 1 - static_cast<int>(random() % 2);
        const int lastI = static_cast<int>(xI.size()) - 1;
        if (lastU < 0)
            continue;
        const Result expected = literalScan(lastI, xI, lastU, xU, yU, before);
        const Result actual = evaluate(lastI, xI, lastU, xU, yU, before);
        const std::string where = std::string(shape.name) + ", round " + std::to_string(round);
        ASSERT_TRUE(sameBits(actual.yI, expected.yI)) << where;
        ASSERT_EQ(actual.settled, expected.settled) << where;
        ASSERT_EQ(actual.interiorCalls, expected.interiorCalls) << where;
    }
}

TEST(EvaluatePoints, SameAsTheLiteralScanOnRandomData)
{
    const Shape shapes[] = {
        {"rising points, rising given points", true, true, false},
        {"points in any order, rising given points", false, true, false},
        {"rising points with NaN and infinities", true, true, true},
        {"points in any order with NaN and infinities", false, true, true},
        {"given points falling or in no order", false, false, true},
    };
    std::uint64_t seed = 20261207;
    for (const Shape& shape : shapes)
        compareOnRandomData(shape, seed++);
}

// The grids Calculate builds: i * (1/lastI) against j * (1/lastU) for every
// pair of counts up to 64, where the products coincide or miss by one
// rounding step in many places.
TEST(EvaluatePoints, SameAsTheLiteralScanOnProgramGrids)
{
    for (int lastU = 0; lastU <= 64; ++lastU) {
        for (int lastI = 1; lastI <= 64; ++lastI) {
            std::vector<double> xU, yU, xI;
            // One given point has no spacing: it lies at 0.
            const double stepU = lastU == 0 ? 0.0 : 1.0 / lastU;
            for (int j = 0; j <= lastU; ++j) {
                xU.push_back(j * stepU);
                yU.push_back(j);
            }
            for (int i = 0; i <= lastI; ++i)
                xI.push_back(i * (1.0 / lastI));
            const std::vector<double> before(xI.size(), -1.0);
            const Result expected = literalScan(lastI, xI, lastU, xU, yU, before);
            const Result actual = evaluate(lastI, xI, lastU, xU, yU, before);
            ASSERT_TRUE(sameBits(actual.yI, expected.yI)) << lastU << " " << lastI;
            ASSERT_EQ(actual.settled, expected.settled) << lastU << " " << lastI;
            ASSERT_EQ(actual.interiorCalls, expected.interiorCalls) << lastU << " " << lastI;
        }
    }
}

// The spline evaluation computes its values in batches after settling the
// points; every bit and every settlement must be what evaluating one point
// at a time gives, across batch boundaries, where a cube needs pow, in any
// order of the points, and with intervals beyond the coefficient table.
TEST(EvaluateSplinePoints, SameBitsAsOnePointAtATime)
{
    std::mt19937_64 random(7129);
    std::uniform_real_distribution<double> coefficient(-700.0, 700.0);
    // Every other row is the bare cube, whose every bit reaches the value.
    CoefTable table{};
    for (std::size_t j = 0; j < table.size(); ++j)
        table[j] = j % 2 == 0 ? CoefRow{0, 0, 0, 1}
                              : CoefRow{coefficient(random), coefficient(random),
                                        coefficient(random), coefficient(random)};
    for (int round = 0; round < 60; ++round) {
        const int grid = 50 + static_cast<int>(random() % 400);
        const int given = 2 + static_cast<int>(random() % 360);  // beyond kCoefRows at times
        std::vector<double> xU;
        for (int k = 0; k < given; ++k)
            xU.push_back(draw(random, grid) + (random() % 3 == 0 ? 1e-9 * (random() % 7) : 0.0));
        if (round % 3 != 0) {
            std::sort(xU.begin(), xU.end());
            xU.erase(std::unique(xU.begin(), xU.end()), xU.end());
        }
        std::vector<double> yU(xU.size());
        for (std::size_t k = 0; k < yU.size(); ++k)
            yU[k] = coefficient(random);
        // Grid points coincide with given points; uniform ones give cubes
        // of every kind, about one in a thousand where the nearest double is
        // not what pow returns.
        std::uniform_real_distribution<double> anywhere(-0.1, 1.1);
        const int points = 1 + static_cast<int>(random() % 700);
        std::vector<double> xI;
        for (int i = 0; i < points; ++i)
            xI.push_back(random() % 4 == 0 ? draw(random, grid) : anywhere(random));
        if (round % 2)
            std::sort(xI.begin(), xI.end());
        if (round % 5 == 0)
            xI[random() % xI.size()] = kNaN;
        const int lastU = static_cast<int>(xU.size()) - 1;
        const int lastI = static_cast<int>(xI.size()) - 1;

        std::vector<double> oneAtATime(xI.size(), -3.0);
        std::vector<Settlement> settledOne(xI.size(), Settlement::None);
        evaluatePoints(
            lastI, xI, oneAtATime, lastU, xU, yU,
            [&](int i, int j) {
                if (j >= kCoefRows)
                    return 0.0;
                const auto at = static_cast<std::size_t>(i);
                return evaluateRow(table[static_cast<std::size_t>(j)],
                                   xI[at] - xU[static_cast<std::size_t>(j)]);
            },
            settledOne);
        std::vector<double> batched(xI.size(), -3.0);
        std::vector<Settlement> settledBatched(xI.size(), Settlement::None);
        evaluateSplinePoints(lastI, xI, batched, lastU, xU, yU, table, settledBatched);

        const std::string where = "round " + std::to_string(round);
        ASSERT_TRUE(sameBits(batched, oneAtATime)) << where;
        ASSERT_EQ(settledBatched, settledOne) << where;
    }
}

}  // namespace
}  // namespace tarvel
