// The methods keep a documented order of operations so that every listed
// coefficient and every yI is the same on any compiler. These golden values
// were computed once in that order, on uneven data chosen so that the
// plausible reorderings named in each test give different bits; a change of
// order shows here as a change of bits.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "interp/cubic_spline.h"
#include "interp/evaluation.h"
#include "interp/pw_cubic_spline.h"
#include "interp/tridiagonal.h"
#include "support/exact_bits.h"

namespace tarvel {
namespace {

using support::expectBits;

struct DataSet {
    const char* name;
    std::vector<double> xU, yU;
};

// Uneven widths and values with many bits; each separates at least one of
// the reorderings pinned below.
const std::vector<DataSet>& dataSets()
{
    static const std::vector<DataSet> sets = {
        {"narrow middle", {0, 0.13, 0.18, 0.25, 0.6, 0.87}, {-2.97, 3, -2.72, -0.66, 0.23, 2.35}},
        {"six points", {0, 0.13, 0.37, 0.42, 0.71, 1.0}, {0.3, -1.1, 0.8, 2.5, -0.4, 0.9}},
        {"wide, negative start", {-1.5, -0.2, 0.9, 3.3}, {2.0, 1.7, -0.6, 4.1}},
    };
    return sets;
}

void expectRows(const std::string& what, const CoefTable& table,
                const std::vector<CoefRow>& expected)
{
    for (std::size_t i = 0; i < expected.size(); ++i)
        expectBits(what + ", row " + std::to_string(i), table[i], expected[i]);
}

// Pins: the right-hand side eliminated as rhs - (sub / pivot) * rhsW, the
// ratio first, instead of rhs - (sub * rhsW) / pivot.
TEST(OperationOrder, ThomasRhsEliminationWithTheRatioFormedFirst)
{
    struct System {
        const char* name;
        std::vector<double> diagMain, diagSub, diagSup, rhs, solution;
    };
    const std::vector<System> systems = {
        {"separates the orders",
         {6.03, 6.53, 5.57, 6.21, 7.01},
         {0, -0.46, 2.43, -1.67, 2.58},
         {-2.65, 2.82, -2.04, 2.4, 0},
         {0.7, 0.8, 0.6, -1.79, 2.02},
         {0x1.add1be3bd0ffdp-3, 0x1.b50f7f9a771a9p-3, -0x1.68f40ecd65e74p-3, -0x1.0ad1fa61076c9p-1,
          0x1.eb7aca8fbaf74p-2}},
        {"positive off-diagonals",
         {2.3, 3.7, 4.1, 2.9, 3.3},
         {0, 0.7, 1.3, 0.9, 1.1},
         {0.6, 1.2, 0.8, 1.4, 0},
         {1.9, -2.3, 0.7, 3.1, -1.7},
         {0x1.0d9113e4a71ap+0, -0x1.bd58432e5671fp-1, 0x1.3546351073af3p-3, 0x1.83b6bc971c205p+0,
          -0x1.051de1c5c38ebp+0}},
    };
    for (const System& s : systems) {
        std::vector<double> solution(s.solution.size());
        ASSERT_EQ(LESSolve_Thomas(4, s.diagMain, s.diagSub, s.diagSup, s.rhs, solution),
                  SolveStatus::Solved)
            << s.name;
        expectBits(s.name, solution, s.solution);
    }
}

// Pins: c1 = d - h * ((2 M_i + M_i+1) / 6), the division before the
// product, instead of d - (h * (2 M_i + M_i+1)) / 6.
TEST(OperationOrder, CubicSplineC1WithTheDivisionBeforeTheProduct)
{
    const std::vector<std::vector<CoefRow>> golden = {
        {{-0x1.7c28f5c28f5c3p+1, 0x1.d5197bb980f46p+6, 0x0p+0, -0x1.07e00235535dcp+12},
         {0x1.8p+1, -0x1.831f4637ee37bp+6, -0x1.9ba5222a3a5fp+10, 0x1.946f486c2d2d9p+14},
         {-0x1.5c28f5c28f5c3p+1, -0x1.0d3d583b2811ep+6, 0x1.177fc5d319071p+11,
          -0x1.7d41ac3b883cep+13},
         {-0x1.51eb851eb851fp-1, 0x1.098b4a2e46e3cp+6, -0x1.460d0f203bfp+8, 0x1.9a67d581c281ep+8},
         {0x1.d70a3d70a3d71p-3, -0x1.60d1eada7e7ap+3, 0x1.a37fddd3412e4p+6, -0x1.02f3468f0bca6p+7}},
        {{0x1.3333333333333p-2, -0x1.80cd232694dcep+3, 0x0p+0, 0x1.293bb51acd766p+6},
         {-0x1.199999999999ap+0, -0x1.083e573caee3ep+3, 0x1.cfaf104888339p+4, 0x1.401ad5e18cc19p+7},
         {0x1.999999999999ap-1, 0x1.0a7acd8128619p+5, 0x1.206f9abff13fep+7, -0x1.460b05d729f16p+11},
         {0x1.4p+1, 0x1.c2b4f27b6460ap+4, -0x1.ee11401140366p+7, 0x1.8dfc544896439p+8},
         {-0x1.999999999999ap-2, -0x1.d65ac99d8648ep+3, 0x1.8cdaf7178a7e6p+6,
          -0x1.c827d273559fep+6}},
        {{0x1p+1, 0x1.e1e7b7dd2c78bp-2, 0x0p+0, -0x1.a8fa5f0bab628p-2},
         {0x1.b333333333333p+0, -0x1.a22eef9fd1504p+0, -0x1.9e5a8311c719bp+0, 0x1.17eabea2172b1p+0},
         {-0x1.3333333333333p-1, -0x1.39a99e89e66f2p+0, 0x1.fd5f586b855acp+0,
          -0x1.1afc14ad82f98p-2}},
    };
    for (std::size_t d = 0; d < golden.size(); ++d) {
        const DataSet& set = dataSets()[d];
        CoefTable table{};
        const int lastU = static_cast<int>(set.xU.size()) - 1;
        ASSERT_EQ(naturalCubicSplineCoefs(lastU, set.xU, set.yU, table), SolveStatus::Solved);
        expectRows(std::string("cubic spline, ") + set.name, table, golden[d]);
    }
}

// Pins: c2 = 3 * (dy / dx^2) - ..., the division before the product,
// instead of (3 dy) / dx^2 - ...
TEST(OperationOrder, PwSplineC2WithTheDivisionBeforeTheProduct)
{
    const std::vector<std::vector<CoefRow>> golden = {
        {{-0x1.7c28f5c28f5c3p+1, -0x1.ab021045d0903p-8, 0x1.08fa79a3626cfp+10,
          -0x1.53b7469cf4572p+12},
         {0x1.8p+1, -0x1.ab021045d0903p-8, -0x1.acf7cb260894ep+12, 0x1.65785922c4271p+16},
         {-0x1.5c28f5c28f5c3p+1, -0x1.9d551f7ec4086p-7, 0x1.2a2932f208c66p+10,
          -0x1.58aae653d9bf5p+13},
         {-0x1.51eb851eb851fp-1, 0x1.34db3aac0bef6p+2, -0x1.0f03c111aa71ep+4, 0x1.dc2304399be04p+4},
         {0x1.d70a3d70a3d71p-3, 0x1.f3df6c6b55bcp+1, 0x1.5ecefc1554873p+5, -0x1.b118d21403384p+6}},
        {{0x1.3333333333333p-2, -0x1.0ed76f6a4e8fp-6, -0x1.f04748fe3b7a7p+7, 0x1.3e20914082065p+10},
         {-0x1.199999999999ap+0, -0x1.0ed76f6a4e8fp-6, 0x1.6babf39ba4b1cp+5, -0x1.9d77383fe9994p+5},
         {0x1.999999999999ap-1, 0x1.9beee354e0ae4p+3, 0x1.7d185bf1556fcp+10,
          -0x1.58531b543eadap+14},
         {0x1.4p+1, 0x1.1fece74f0d2b9p-5, -0x1.9def75344fbaep+6, 0x1.db08a215c9b2p+7},
         {-0x1.999999999999ap-2, -0x1.eb5940c668ce6p-5, 0x1.77f3617ff32p+5, -0x1.b02093610baf1p+6}},
        {{0x1p+1, -0x1.9a71904a7ecd9p-1, 0x1.5141e61c64dep+0, -0x1.59e7b0ef2c606p-1},
         {0x1.b333333333333p+0, -0x1.9a71904a7ecd9p-1, -0x1.0eeb4dc001d14p+2, 0x1.64321309a2687p+1},
         {-0x1.3333333333333p-1, -0x1.aa46fc7b6f844p-7, 0x1.3b6a2e10efa0bp+1,
          -0x1.5e75fa4bb4eb8p-1}},
    };
    for (std::size_t d = 0; d < golden.size(); ++d) {
        const DataSet& set = dataSets()[d];
        CoefTable table{};
        const int lastU = static_cast<int>(set.xU.size()) - 1;
        ASSERT_TRUE(pwCubicSplineCoefs(lastU, set.xU, set.yU, table));
        expectRows(std::string("PW spline, ") + set.name, table, golden[d]);
    }
}

// Pins: a row evaluated by Horner's rule, ((c3 t + c2) t + c1) t + c0,
// instead of term by term with real powers.
TEST(OperationOrder, RowEvaluatedByHornersRule)
{
    struct Case {
        CoefRow row;
        double t, value;
    };
    const CoefRow first = {0x1.3333333333333p-2, -0x1.80cd232694dcep+3, 0x0p+0,
                           0x1.293bb51acd766p+6};
    const CoefRow last = {-0x1.999999999999ap-2, -0x1.d65ac99d8648ep+3, 0x1.8cdaf7178a7e6p+6,
                          -0x1.c827d273559fep+6};
    const std::vector<Case> cases = {
        {first, 0.03, -0x1.e13d01e955abep-5}, {first, 0.1, -0x1.a80947f8c37f6p-1},
        {first, 0.27, -0x1.7bf14cb3f905ep+0}, {last, 0.1, -0x1.fbc7cf5311d2ep-1},
        {last, 0.27, 0x1.3d27ba717e9cp-1},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(support::sameBitsAs(evaluateRow(c.row, c.t), c.value)) << "t = " << c.t;
}

// Pins: the chord length taken as sqrt(dx^2 + dy^2) even where the squares
// underflow. Chords of 1e-170 square to 0, the length comes out 0 and the
// slopes NaN; the unit vector must still give the bisector of 45 degrees and
// the angle of slope 2, and the ends copy it.
TEST(PwSplineChords, UnderflowBranchOfTheChordLengthDropped)
{
#ifdef TARVEL_CHECKS_FLOAT_DIVISION
    // Widths this small have a cube of 0, so the rows divide by zero (the
    // window refuses such data before the method runs); the slopes checked
    // here come first, but the float-division check would stop the run.
    GTEST_SKIP() << "divides by zero by design";
#endif
    const std::vector<double> xU = {0, 1e-170, 2e-170};
    const std::vector<double> yU = {0, 1e-170, 3e-170};
    CoefTable table{};
    ASSERT_TRUE(pwCubicSplineCoefs(2, xU, yU, table));
    // tan((45 deg + atan 2) / 2), as the chord cosines and sines give it.
    const double c0 = 1 / std::sqrt(2.0), s0 = c0;
    const double c1 = 1 / std::sqrt(5.0), s1 = 2 / std::sqrt(5.0);
    const double bisector = (s0 + s1) / (c0 + c1);
    EXPECT_NEAR(table[0][1], bisector, 1e-15) << "left end copies the inner slope";
    EXPECT_NEAR(table[1][1], bisector, 1e-15) << "interior slope";
}

}  // namespace
}  // namespace tarvel
