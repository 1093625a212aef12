// PCHIP (Fritsch and Carlson, with Brodlie's weights). With widths h_k and
// secants d_k, the slope at an interior point is 0 where the two secants
// differ in sign or either is 0, otherwise their weighted harmonic mean
//
//   (w1 + w2) / (w1 / d_{k-1} + w2 / d_k),  w1 = 2 h_k + h_{k-1},  w2 = h_k + 2 h_{k-1},
//
// which keeps every piece within the range of its two neighbours. The end
// slope is the three-point estimate ((2 h0 + h1) d0 - h0 d1) / (h0 + h1),
// set to 0 when its sign differs from d0's, and to 3 d0 when d0 and d1
// differ in sign and it exceeds 3 |d0| (mirrored at the right end). Two
// points give the line.
#include "interp/pchip.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace tarvel {
namespace {

bool sameStrictSign(double a, double b)
{
    return (a > 0 && b > 0) || (a < 0 && b < 0);
}

// h0, d0 belong to the end interval, h1, d1 to its neighbour.
double endSlope(double h0, double h1, double d0, double d1)
{
    const double slope = ((2 * h0 + h1) * d0 - h0 * d1) / (h0 + h1);
    if (!sameStrictSign(slope, d0))
        return 0;
    if (!sameStrictSign(d0, d1) && std::fabs(slope) > std::fabs(3 * d0))
        return 3 * d0;
    return slope;
}

}  // namespace

void pchipSlopes(std::span<const double> xs, std::span<const double> ys, std::span<double> slopes)
{
    const std::size_t intervals = xs.size() - 1;
    std::vector<double> h(intervals);
    std::vector<double> d(intervals);
    for (std::size_t k = 0; k < intervals; ++k) {
        h[k] = xs[k + 1] - xs[k];
        d[k] = (ys[k + 1] - ys[k]) / h[k];
    }
    if (intervals == 1) {
        slopes[0] = d[0];
        slopes[1] = d[0];
        return;
    }
    for (std::size_t k = 1; k < intervals; ++k) {
        if (!sameStrictSign(d[k - 1], d[k])) {
            slopes[k] = 0;
            continue;
        }
        // The weights as shares of w1 + w2 = 3 (h_k + h_{k-1}): w1 / (w1 + w2)
        // = (1 + t) / 3 and w2 / (w1 + w2) = (2 - t) / 3 with t = h_k /
        // (h_k + h_{k-1}), so that widths near the range of numbers do not
        // overflow (h_k + h_{k-1} is a span between nodes, always finite).
        // The mean is scaled by the larger secant: with secants beyond the
        // range of numbers (huge steps over tiny widths) w / d would vanish
        // and the plain form divide by zero; scaled, the denominator is at
        // least 1 and the slope never exceeds the larger secant.
        const double t = h[k] / (h[k] + h[k - 1]);
        const double share1 = (1 + t) / 3;
        const double share2 = (2 - t) / 3;
        const double scale = std::max(std::fabs(d[k - 1]), std::fabs(d[k]));
        slopes[k] = scale / (share1 * (scale / d[k - 1]) + share2 * (scale / d[k]));
    }
    slopes[0] = endSlope(h[0], h[1], d[0], d[1]);
    slopes[intervals] =
        endSlope(h[intervals - 1], h[intervals - 2], d[intervals - 1], d[intervals - 2]);
}

}  // namespace tarvel
