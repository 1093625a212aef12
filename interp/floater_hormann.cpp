// Floater–Hormann interpolation (M. S. Floater and K. Hormann, 2007): the
// blend of the polynomials of degree d through each d + 1 neighbouring
// nodes, a rational function without real poles that reproduces
// polynomials of degree at most d; d = n - 1 is the polynomial through all
// nodes, d = 0 Berrut's interpolant. In barycentric form
//
//   r(x) = sum_j c_j y_j / sum_j c_j,  c_j = w_j / (x - x_j),
//
// and, differentiating r sum_j c_j = sum_j c_j y_j,
//
//   r'(x)  = sum_j c_j g_j / sum_j c_j,          g_j = (r(x) - y_j) / (x - x_j),
//   r''(x) = 2 sum_j c_j (r'(x) - g_j) / (x - x_j) / sum_j c_j,
//
// with the Schneider–Werner forms at a node.
#include "interp/floater_hormann.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

#include "interp/barycentric.h"

namespace tarvel {
namespace {

PointValues atNode(std::span<const double> xs, std::span<const double> ys,
                   std::span<const double> w, std::size_t i)
{
    double first = 0;
    for (std::size_t j = 0; j < xs.size(); ++j)
        if (j != i)
            first -= (w[j] / w[i]) * (ys[i] - ys[j]) / (xs[i] - xs[j]);
    double second = 0;
    for (std::size_t j = 0; j < xs.size(); ++j)
        if (j != i)
            second -= 2 * (w[j] / w[i]) * (first - (ys[i] - ys[j]) / (xs[i] - xs[j])) /
                      (xs[i] - xs[j]);
    return {ys[i], first, second};
}

}  // namespace

bool floaterHormannBuild(std::span<const double> xs, std::span<const double> ys,
                         MethodData& data)
{
    static_cast<void>(ys);
    const auto n = static_cast<std::ptrdiff_t>(xs.size());
    const std::ptrdiff_t d = data.parameter;
    // Each distance is taken relative to the span, so every factor is at
    // least 1 and a sum of them never cancels.
    const double span = xs.back() - xs.front();
    data.weights.assign(xs.size(), 0.0);
    double largest = 0;
    for (std::ptrdiff_t k = 0; k < n; ++k) {
        double sum = 0;
        for (std::ptrdiff_t i = std::max<std::ptrdiff_t>(0, k - d);
             i <= std::min(k, n - 1 - d); ++i) {
            double product = 1;
            for (std::ptrdiff_t j = i; j <= i + d; ++j)
                if (j != k)
                    product *= span / std::fabs(xs[static_cast<std::size_t>(k)] -
                                                xs[static_cast<std::size_t>(j)]);
            sum += product;
        }
        if (!std::isfinite(sum))
            return false;
        data.weights[static_cast<std::size_t>(k)] = (k - d) % 2 == 0 ? sum : -sum;
        largest = std::max(largest, sum);
    }
    // Weights spread wider than the precision of numbers (nodes far more
    // clustered in one place than in another, for the blending degree)
    // leave a denominator that cancels to rounding between the sparse
    // nodes: such nodes are refused rather than evaluated to noise.
    for (double& w : data.weights) {
        w /= largest;
        if (std::fabs(w) < std::numeric_limits<double>::epsilon())
            return false;
    }
    return true;
}

PointValues floaterHormannAt(std::span<const double> xs, std::span<const double> ys,
                             const MethodData& data, double x, bool withSlopes)
{
    const std::span<const double> w = data.weights;
    const auto above = std::lower_bound(xs.begin(), xs.end(), x);
    const bool atANode = above != xs.end() && *above == x;
    if (atANode && withSlopes)
        return atNode(xs, ys, w, static_cast<std::size_t>(above - xs.begin()));
    std::array<double, 1> value{};
    barycentricColumns(xs, w, {ys}, x, value);
    const double r = value[0];
    if (!withSlopes)
        return {r, 0, 0};
    // The sums of r' and r'', the latter's expanded as r' sum c_j / (x - x_j)
    // - sum c_j g_j / (x - x_j), so that each node costs one division.
    double weightSum = 0;
    double firstSum = 0;
    double inverseSum = 0;
    double slopeSum = 0;
    for (std::size_t j = 0; j < xs.size(); ++j) {
        const double inverse = 1 / (x - xs[j]);
        const double c = w[j] * inverse;
        const double g = (r - ys[j]) * inverse;
        weightSum += c;
        firstSum += c * g;
        inverseSum += c * inverse;
        slopeSum += c * g * inverse;
    }
    // Where the weights cancel, x is a pole of the quotient: it has no slope.
    if (weightSum == 0) {
        const double none = std::numeric_limits<double>::quiet_NaN();
        return {r, none, none};
    }
    const double first = firstSum / weightSum;
    return {r, first, 2 * (first * inverseSum - slopeSum) / weightSum};
}

double floaterHormannLebesgue(std::span<const double> xs, std::span<const double> weights,
                              double x)
{
    double sizes = 0;
    double sum = 0;
    for (std::size_t j = 0; j < xs.size(); ++j) {
        if (x == xs[j])
            return 1;
        const double c = weights[j] / (x - xs[j]);
        sizes += std::fabs(c);
        sum += c;
    }
    return sizes / std::fabs(sum);
}

}  // namespace tarvel
