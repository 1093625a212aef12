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

#include <cstddef>
#include <vector>

namespace tarvel {

namespace {

struct SplineSystem {
    explicit SplineSystem(std::size_t count)
        : diagSub(count), diagMain(count), diagSup(count), rhs(count)
    {
    }
    std::vector<double> diagSub;
    std::vector<double> diagMain;
    std::vector<double> diagSup;
    std::vector<double> rhs;
};

struct Intervals {
    std::vector<double> h;     // widths
    std::vector<double> dydx;  // divided differences
};

Intervals computeIntervals(std::span<const double> xs, std::span<const double> ys)
{
    Intervals iv{std::vector<double>(xs.size() - 1), std::vector<double>(xs.size() - 1)};
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        iv.h[i] = xs[i + 1] - xs[i];
        iv.dydx[i] = (ys[i + 1] - ys[i]) / iv.h[i];
    }
    return iv;
}

// The interior equations 1 .. last-1 of the full system of n equations.
SplineSystem interiorSystem(const Intervals& iv)
{
    SplineSystem sys(iv.h.size() + 1);
    for (std::size_t i = 1; i < iv.h.size(); ++i) {
        sys.diagSub[i] = iv.h[i - 1];
        sys.diagMain[i] = 2.0 * (iv.h[i - 1] + iv.h[i]);
        sys.diagSup[i] = iv.h[i];
        sys.rhs[i] = 6.0 * (iv.dydx[i] - iv.dydx[i - 1]);
    }
    return sys;
}

// Natural ends: rows of the identity with a zero right-hand side.
// Clamped ends: the first derivative of the end piece equals the slope,
//   2 h_0 M_0 + h_0 M_1 = 6 (d_0 - s_left),
//   h_{n-2} M_{n-2} + 2 h_{n-2} M_{n-1} = 6 (s_right - d_{n-2}).
SolveStatus solveWithEnds(SplineEnds ends, const EndSlopes& slopes, const Intervals& iv,
                          std::span<double> d2y)
{
    SplineSystem sys = interiorSystem(iv);
    const std::size_t last = iv.h.size();
    if (ends == SplineEnds::Clamped) {
        sys.diagMain[0] = 2.0 * iv.h[0];
        sys.diagSup[0] = iv.h[0];
        sys.rhs[0] = 6.0 * (iv.dydx[0] - slopes.left);
        sys.diagSub[last] = iv.h[last - 1];
        sys.diagMain[last] = 2.0 * iv.h[last - 1];
        sys.rhs[last] = 6.0 * (slopes.right - iv.dydx[last - 1]);
    } else {
        for (const std::size_t end : {std::size_t{0}, last}) {
            sys.diagSub[end] = 0.0;
            sys.diagMain[end] = 1.0;
            sys.diagSup[end] = 0.0;
            sys.rhs[end] = 0.0;
        }
    }
    return LESSolve_Thomas(sys.diagMain, sys.diagSub, sys.diagSup, sys.rhs, d2y);
}

// Not-a-knot: the third derivative is continuous at the second and the
// last but one node, (M_1 - M_0) / h_0 = (M_2 - M_1) / h_1 and its mirror.
// M_0 and M_{n-1} are eliminated from the first and the last interior
// equation, which leaves the tridiagonal system of M_1 .. M_{n-2} with
//   (h0 + h1)(h0 + 2 h1) M_1 + (h1^2 - h0^2) M_2 = h1 r_1
// (and its mirror), still diagonally dominant. Four nodes at least.
SolveStatus solveNotAKnot(const Intervals& iv, std::span<double> d2y)
{
    const SplineSystem full = interiorSystem(iv);
    const std::size_t last = iv.h.size();
    const std::size_t inner = last - 1;  // equations 1 .. last-1
    SplineSystem sys(inner);
    for (std::size_t k = 0; k < inner; ++k) {
        sys.diagSub[k] = full.diagSub[k + 1];
        sys.diagMain[k] = full.diagMain[k + 1];
        sys.diagSup[k] = full.diagSup[k + 1];
        sys.rhs[k] = full.rhs[k + 1];
    }
    const double h0 = iv.h[0];
    const double h1 = iv.h[1];
    sys.diagMain[0] = (h0 + h1) * (h0 + 2.0 * h1);
    sys.diagSup[0] = h1 * h1 - h0 * h0;
    sys.rhs[0] = full.rhs[1] * h1;
    const double a = iv.h[last - 2];
    const double b = iv.h[last - 1];
    sys.diagSub[inner - 1] = a * a - b * b;
    sys.diagMain[inner - 1] = (a + b) * (2.0 * a + b);
    sys.rhs[inner - 1] = full.rhs[last - 1] * a;
    const SolveStatus status =
        LESSolve_Thomas(sys.diagMain, sys.diagSub, sys.diagSup, sys.rhs, d2y.subspan(1, inner));
    if (status == SolveStatus::Solved) {
        d2y[0] = ((h0 + h1) * d2y[1] - h0 * d2y[2]) / h1;
        d2y[last] = ((a + b) * d2y[last - 1] - b * d2y[last - 2]) / a;
    }
    return status;
}

// With two nodes the line, with three the parabola (the same second
// derivative everywhere).
void notAKnotFewNodes(const Intervals& iv, std::span<double> d2y)
{
    double curvature = 0.0;
    if (iv.h.size() == 2)
        curvature = 2.0 * (iv.dydx[1] - iv.dydx[0]) / (iv.h[0] + iv.h[1]);
    for (double& m : d2y)
        m = curvature;
}

void writeRows(std::span<const double> ys, const Intervals& iv, std::span<const double> d2y,
               std::span<CoefRow> rows)
{
    for (std::size_t i = 0; i < iv.h.size(); ++i) {
        const double h = iv.h[i];
        CoefRow& row = rows[i];
        row[0] = ys[i];
        row[1] = iv.dydx[i] - (h * (2.0 * d2y[i] + d2y[i + 1])) / 6.0;
        row[2] = d2y[i] / 2.0;
        row[3] = ((d2y[i + 1] - d2y[i]) / 6.0) / h;
    }
}

}  // namespace

SolveStatus cubicSplineRows(SplineEnds ends, const EndSlopes& slopes, std::span<const double> xs,
                            std::span<const double> ys, std::span<CoefRow> rows)
{
    if (xs.size() < 2 || ys.size() != xs.size() || rows.size() + 1 < xs.size()) {
        return SolveStatus::SizeOutOfRange;
    }
    const Intervals iv = computeIntervals(xs, ys);
    std::vector<double> d2y(xs.size());
    SolveStatus status = SolveStatus::Solved;
    if (ends != SplineEnds::NotAKnot)
        status = solveWithEnds(ends, slopes, iv, d2y);
    else if (xs.size() < 4)
        notAKnotFewNodes(iv, d2y);
    else
        status = solveNotAKnot(iv, d2y);
    if (status == SolveStatus::Solved) {
        writeRows(ys, iv, d2y, rows);
    }
    return status;
}

SolveStatus naturalCubicSplineCoefs(int lastU, std::span<const double> xU,
                                    std::span<const double> yU, CoefTable& table)
{
    if (lastU < -1 || lastU >= kCubicSplineCapacity) {
        return SolveStatus::SizeOutOfRange;
    }
    if (lastU <= 0) {
        return SolveStatus::Solved;  // no interval to describe
    }
    const auto count = static_cast<std::size_t>(lastU) + 1;
    if (xU.size() < count || yU.size() < count) {
        return SolveStatus::SizeOutOfRange;
    }
    return cubicSplineRows(SplineEnds::Natural, {}, xU.first(count), yU.first(count), table);
}

}  // namespace tarvel
