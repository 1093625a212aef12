// Each method at its capacity and one past it. This file is built with the
// methods' sources under the standard library's bounds checks, so a check
// that lets one entry too many through stops the run at the first write
// past an array, even where the return value would not tell.
#include <gtest/gtest.h>

#include <vector>

#include "interp/cubic_spline.h"
#include "interp/pw_cubic_spline.h"
#include "interp/tridiagonal.h"
#include "support/coef_checks.h"

namespace tarvel {
namespace {

using support::expectRowsUntouched;
using support::sentinelTable;

// Increasing abscissae with values that bend, longer than any capacity.
struct Points {
    std::vector<double> xU, yU;
    explicit Points(int count)
    {
        for (int i = 0; i < count; ++i) {
            xU.push_back(i * 0.25);
            yU.push_back((i % 3) - 0.5 * (i % 2));
        }
    }
};

// Pins: the solver's check lastEq > 301 instead of lastEq >= 301, which
// lets 302 equations into work arrays of 301.
TEST(Capacity, ThomasTakes301EquationsNot302)
{
    const std::size_t held = kThomasCapacity + 1;  // the arrays are not what refuses
    const std::vector<double> diagMain(held, 4.0), offDiag(held, 1.0), rhs(held, 6.0);
    struct Row {
        const char* name;
        int lastEq;
        SolveStatus expected;
    };
    for (const Row& row : {Row{"301 equations", kThomasCapacity - 1, SolveStatus::Solved},
                           Row{"302 equations", kThomasCapacity, SolveStatus::SizeOutOfRange}}) {
        std::vector<double> sol(held, -1.0);
        EXPECT_EQ(LESSolve_Thomas(row.lastEq, diagMain, offDiag, offDiag, rhs, sol), row.expected)
            << row.name;
        EXPECT_EQ(sol[held - 1], -1.0) << row.name << ": entry past the equations written";
    }
}

// Pins: the cubic spline's check lastU > 101 instead of lastU >= 101, which
// lets 102 points into a system of 101.
TEST(Capacity, CubicSplineTakes101PointsNot102)
{
    const Points points(kCubicSplineCapacity + 10);
    CoefTable table = sentinelTable();
    EXPECT_EQ(naturalCubicSplineCoefs(kCubicSplineCapacity - 1, points.xU, points.yU, table),
              SolveStatus::Solved);
    EXPECT_EQ(table[kCubicSplineCapacity - 2][0], points.yU[kCubicSplineCapacity - 2]);
    expectRowsUntouched("101 points", table, kCubicSplineCapacity - 1);

    CoefTable refused = sentinelTable();
    EXPECT_EQ(naturalCubicSplineCoefs(kCubicSplineCapacity, points.xU, points.yU, refused),
              SolveStatus::SizeOutOfRange);
    expectRowsUntouched("102 points", refused, 0);
}

// Pins: the PW spline's check lastU > 302 instead of lastU >= 302, which
// lets 303 points write a row past the 301 of the table.
TEST(Capacity, PwSplineTakes302PointsNot303)
{
    const Points points(kPwSplineCapacity + 10);
    CoefTable table = sentinelTable();
    EXPECT_TRUE(pwCubicSplineCoefs(kPwSplineCapacity - 1, points.xU, points.yU, table));
    EXPECT_EQ(table[kCoefRows - 1][0], points.yU[kCoefRows - 1]) << "the last row is written";

    CoefTable refused = sentinelTable();
    EXPECT_FALSE(pwCubicSplineCoefs(kPwSplineCapacity, points.xU, points.yU, refused));
    expectRowsUntouched("303 points", refused, 0);
}

}  // namespace
}  // namespace tarvel
