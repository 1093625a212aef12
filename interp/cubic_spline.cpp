// Natural cubic spline. With h_i = x_{i+1} - x_i, the divided differences
// d_i = (y_{i+1} - y_i) / h_i and the unknown second derivatives M_i at the
// given points, continuity of the first derivative at every interior point
// gives
//
//   h_{i-1} M_{i-1} + 2 (h_{i-1} + h_i) M_i + h_i M_{i+1} = 6 (d_i - d_{i-1}),
//
// and the natural ends add M_0 = 0 and M_last = 0 as identity rows. The
// tridiagonal system is solved by the Thomas algorithm; for increasing (or
// decreasing) abscissae it is strictly diagonally dominant, so no pivot is
// zero. Interval i then holds, in t = x - x_i,
//
//   S_i(t) = y_i + (d_i - h_i (2 M_i + M_{i+1}) / 6) t + (M_i / 2) t^2
//            + ((M_{i+1} - M_i) / 6 / h_i) t^3.
//
// Products are formed before the divisions that follow them, as written
// above, so that the rows are reproducible to the last bit.
#include "interp/cubic_spline.h"

#include <array>
#include <cstddef>

#include "data/capacities.h"

namespace tarvel {

namespace {

using IntervalArray = std::array<double, kIntervalCapacity>;
using SystemArray = std::array<double, kCubicSplineCapacity>;

struct SplineSystem {
    SystemArray diagSub{};
    SystemArray diagMain{};
    SystemArray diagSup{};
    SystemArray rhs{};
};

void computeIntervals(int lastU, std::span<const double> xU, std::span<const double> yU,
                      IntervalArray& dxU, IntervalArray& dydxU)
{
    for (int i = 0; i < lastU; ++i) {
        dxU[i] = xU[i + 1] - xU[i];
        dydxU[i] = (yU[i + 1] - yU[i]) / dxU[i];
    }
}

void buildSystem(int lastU, const IntervalArray& dxU, const IntervalArray& dydxU, SplineSystem& sys)
{
    for (int i = 1; i < lastU; ++i) {
        sys.diagSub[i] = dxU[i - 1];
        sys.diagMain[i] = 2.0 * (dxU[i - 1] + dxU[i]);
        sys.diagSup[i] = dxU[i];
        sys.rhs[i] = 6.0 * (dydxU[i] - dydxU[i - 1]);
    }
    // Natural ends: rows of the identity with a zero right-hand side.
    for (const int end : {0, lastU}) {
        sys.diagSub[end] = 0.0;
        sys.diagMain[end] = 1.0;
        sys.diagSup[end] = 0.0;
        sys.rhs[end] = 0.0;
    }
}

void writeRows(int lastU, std::span<const double> yU, const IntervalArray& dxU,
               const IntervalArray& dydxU, const SystemArray& d2yU, CoefTable& table)
{
    for (int i = 0; i < lastU; ++i) {
        const double h = dxU[i];
        CoefRow& row = table[i];
        row[0] = yU[i];
        row[1] = dydxU[i] - (h * (2.0 * d2yU[i] + d2yU[i + 1])) / 6.0;
        row[2] = d2yU[i] / 2.0;
        row[3] = ((d2yU[i + 1] - d2yU[i]) / 6.0) / h;
    }
}

}  // namespace

SolveStatus naturalCubicSplineCoefs(int lastU, std::span<const double> xU,
                                    std::span<const double> yU, CoefTable& table)
{
    if (lastU < -1 || lastU >= kCubicSplineCapacity) {
        return SolveStatus::SizeOutOfRange;
    }
    if (lastU == -1) {
        return SolveStatus::Solved;  // no given point, nothing to describe
    }
    const auto needed = static_cast<std::size_t>(lastU) + 1;
    if (xU.size() < needed || yU.size() < needed) {
        return SolveStatus::SizeOutOfRange;
    }
    IntervalArray dxU{};
    IntervalArray dydxU{};
    computeIntervals(lastU, xU, yU, dxU, dydxU);
    SplineSystem sys{};
    buildSystem(lastU, dxU, dydxU, sys);
    SystemArray d2yU{};
    const SolveStatus status =
        LESSolve_Thomas(lastU, sys.diagMain, sys.diagSub, sys.diagSup, sys.rhs, d2yU);
    if (status == SolveStatus::Solved) {
        writeRows(lastU, yU, dxU, dydxU, d2yU, table);
    }
    return status;
}

}  // namespace tarvel
