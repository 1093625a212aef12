// Steffen's slopes (M. Steffen, "A simple method for monotonic
// interpolation in one dimension", 1990). With widths h_i and secants s_i,
// the parabola through three neighbouring points has the slope
//
//   p_i = (s_{i-1} h_i + s_i h_{i-1}) / (h_{i-1} + h_i)
//
// at the middle one, and the slope taken there is
//
//   (sign s_{i-1} + sign s_i) min(|s_{i-1}|, |s_i|, |p_i| / 2),
//
// 0 at a local extremum of the data and never more than twice the smaller
// secant, so every piece stays between its two values. The end slopes are
// the end secants, the paper's simplest choice.
#include "interp/steffen.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tarvel {
namespace {

double sign(double s)
{
    return s > 0 ? 1.0 : s < 0 ? -1.0 : 0.0;
}

}  // namespace

void steffenSlopes(std::span<const double> xs, std::span<const double> ys,
                   std::span<double> slopes)
{
    const std::size_t last = xs.size() - 1;
    const auto secant = [&](std::size_t i) { return (ys[i + 1] - ys[i]) / (xs[i + 1] - xs[i]); };
    for (std::size_t i = 1; i < last; ++i) {
        const double before = secant(i - 1);
        const double after = secant(i);
        const double hBefore = xs[i] - xs[i - 1];
        const double hAfter = xs[i + 1] - xs[i];
        // The parabola's slope as a weighted mean with shares of the span,
        // so that neither product overflows.
        const double share = hAfter / (hBefore + hAfter);
        const double parabola = before * share + after * (1 - share);
        slopes[i] = (sign(before) + sign(after)) *
                    std::min({std::fabs(before), std::fabs(after), std::fabs(parabola) / 2});
    }
    slopes[0] = secant(0);
    slopes[last] = secant(last - 1);
}

}  // namespace tarvel
