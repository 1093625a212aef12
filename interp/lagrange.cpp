// Local polynomial interpolation: the polynomial through a window of
// consecutive given points, evaluated in Lagrange form,
//
//   p(xp) = sum_k fs[k] * L_k(xp),   L_k(xp) = prod_{m != k} (xp - xs[m]) / (xs[k] - xs[m]).
//
// Each factor of L_k is applied as one multiplication followed by one
// division, with m ascending, and the sum runs over k ascending; results are
// reproducible to the last bit only in this order.
#include "interp/lagrange.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstddef>

namespace tarvel {

namespace {

using WindowArray = std::array<double, kWindowCapacity>;

// Number of points 0..floor(n) of a degree read as a real, limited to what
// the arrays hold; 0 for a negative or undefined degree.
int pointCount(double n, std::size_t limit)
{
    if (!(n >= 0.0)) {
        return 0;
    }
    const std::size_t capped = std::min(limit, static_cast<std::size_t>(kWindowCapacity));
    const double wanted = std::floor(n) + 1.0;
    if (wanted >= static_cast<double>(capped)) {
        return static_cast<int>(capped);
    }
    return static_cast<int>(wanted);
}

// All basis values of one evaluation abscissa at once. Taking the factor m
// for every k before moving to m + 1 gives each L_k its factors in the same
// order (m ascending) as computing L_k alone, so the bits are the same; but
// the updates for different k are independent of each other and do not wait
// for one long chain of divisions.
void lagrangeBasis(int count, double xp, std::span<const double> xs, WindowArray& basisL)
{
    WindowArray xWin{};
    std::copy_n(xs.begin(), count, xWin.begin());
    std::fill_n(basisL.begin(), count, 1.0);
    for (int m = 0; m < count; ++m) {
        const double xm = xWin[m];
        const double towardPoint = xp - xm;
        for (int k = 0; k < m; ++k) {
            basisL[k] = (basisL[k] * towardPoint) / (xWin[k] - xm);
        }
        for (int k = m + 1; k < count; ++k) {
            basisL[k] = (basisL[k] * towardPoint) / (xWin[k] - xm);
        }
    }
}

// Largest start index that the window computation hands out; far above any
// array of the program, far below the limit of int.
constexpr double kStartCeiling = 1.0e9;

}  // namespace

double FX(double n, double xp, std::span<const double> xs, std::span<const double> fs)
{
    const int count = pointCount(n, std::min(xs.size(), fs.size()));
    WindowArray basisL{};
    lagrangeBasis(count, xp, xs, basisL);
    double sum = 0.0;
    for (int k = 0; k < count; ++k) {
        sum = sum + basisL[k] * fs[k];
    }
    return sum;
}

int windowStart(double nDeg, double lastU, int j)
{
    double jFirst = j - std::floor(nDeg / 2.0);
    if (jFirst < 0.0) {
        jFirst = 0.0;
    }
    if (jFirst > lastU - nDeg) {
        jFirst = lastU - nDeg;
    }
    // A fractional degree can leave the start fractional, and a degree just
    // under the number of points can push it into (-1, 0): round down, but
    // never below the first point. Anything undefined also becomes 0.
    const double start = std::floor(jFirst);
    if (!(start > 0.0)) {
        return 0;
    }
    return static_cast<int>(std::min(start, kStartCeiling));
}

double localPolynomialValue(double nDeg, double lastU, int j, double xp, std::span<const double> xU,
                            std::span<const double> yU)
{
    const std::size_t given = std::min(xU.size(), yU.size());
    const auto start = static_cast<std::size_t>(windowStart(nDeg, lastU, j));
    if (start >= given) {
        return 0.0;
    }
    const int count = pointCount(nDeg, given - start);
    WindowArray xWin{};
    WindowArray yWin{};
    std::copy_n(xU.begin() + static_cast<std::ptrdiff_t>(start), count, xWin.begin());
    std::copy_n(yU.begin() + static_cast<std::ptrdiff_t>(start), count, yWin.begin());
    const auto window = static_cast<std::size_t>(count);
    return FX(nDeg, xp, std::span<const double>(xWin.data(), window),
              std::span<const double>(yWin.data(), window));
}

}  // namespace tarvel
