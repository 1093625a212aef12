// B-spline interpolation. For odd degree k and m = (k + 1) / 2 the knots
// are x_0 and x_{n-1} each k + 1 times and the nodes x_m .. x_{n-1-m}
// between them (not-a-knot: the first and last m - 1 interior nodes are no
// knots), n + k + 1 in all, so the n coefficients c_j of
//
//   s(x) = sum_j c_j B_{j,k}(x)
//
// follow from s(x_i) = y_i. The collocation matrix is banded (at most k
// entries beside the diagonal) and totally positive, so elimination needs
// no pivoting. The derivatives are splines of degree k - 1 and k - 2 on the
// same knots less one at each end, with the coefficients
//
//   c'_j = k (c_{j+1} - c_j) / (t_{j+k+1} - t_{j+1}),
//
// each evaluated by de Boor's algorithm. k = 3 is the not-a-knot cubic
// spline, k = n - 1 the polynomial through all nodes, k = 1 the broken line.
#include "interp/bspline.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace tarvel {
namespace {

constexpr std::size_t kMaxDegree = 9;

// The knot interval mu (t_mu <= x < t_{mu+1}) of a spline of degree k
// with `count` coefficients, the end intervals going on beyond the knots.
std::size_t intervalOf(std::span<const double> t, std::size_t k, std::size_t count, double x)
{
    const auto above = std::upper_bound(t.begin(), t.end(), x) - t.begin();
    return std::clamp<std::size_t>(static_cast<std::size_t>(std::max<std::ptrdiff_t>(above - 1, 0)),
                                   k, count - 1);
}

// The k + 1 B-splines of degree k that do not vanish in interval mu, at x.
std::array<double, kMaxDegree + 1> basisAt(std::span<const double> t, std::size_t k,
                                           std::size_t mu, double x)
{
    std::array<double, kMaxDegree + 1> b{};
    std::array<double, kMaxDegree + 1> left{};
    std::array<double, kMaxDegree + 1> right{};
    b[0] = 1;
    for (std::size_t r = 1; r <= k; ++r) {
        left[r] = x - t[mu + 1 - r];
        right[r] = t[mu + r] - x;
        double saved = 0;
        for (std::size_t s = 0; s < r; ++s) {
            const double share = b[s] / (right[s + 1] + left[r - s]);
            b[s] = saved + right[s + 1] * share;
            saved = left[r - s] * share;
        }
        b[r] = saved;
    }
    return b;
}

// De Boor's algorithm: the spline of degree p with knots t and coefficients
// c in interval mu at x.
double deBoor(std::span<const double> t, std::span<const double> c, std::size_t p,
              std::size_t mu, double x)
{
    std::array<double, kMaxDegree + 1> d{};
    for (std::size_t j = 0; j <= p; ++j)
        d[j] = c[j + mu - p];
    for (std::size_t r = 1; r <= p; ++r)
        for (std::size_t j = p; j >= r; --j) {
            const std::size_t i = j + mu - p;
            const double alpha = (x - t[i]) / (t[i + p + 1 - r] - t[i]);
            d[j] = (1 - alpha) * d[j - 1] + alpha * d[j];
        }
    return d[p];
}

// The coefficients of the derivative of the spline of degree p (knots t,
// coefficients c): degree p - 1 on t without its ends.
std::vector<double> derivativeCoefs(std::span<const double> t, std::span<const double> c,
                                    std::size_t p)
{
    std::vector<double> out(c.size() - 1);
    for (std::size_t j = 0; j + 1 < c.size(); ++j)
        out[j] = static_cast<double>(p) * (c[j + 1] - c[j]) / (t[j + p + 1] - t[j + 1]);
    return out;
}

// Solves the banded system in place: row i holds columns i - k .. i + k at
// offsets 0 .. 2k. False at a zero pivot.
bool solveBanded(std::vector<double>& band, std::size_t k, std::vector<double>& rhs)
{
    const std::size_t n = rhs.size();
    const std::size_t width = 2 * k + 1;
    const auto at = [&](std::size_t row, std::size_t col) -> double& {
        return band[row * width + (col + k - row)];
    };
    for (std::size_t p = 0; p < n; ++p) {
        const double pivot = at(p, p);
        if (pivot == 0)
            return false;
        for (std::size_t r = p + 1; r < std::min(n, p + k + 1); ++r) {
            const double factor = at(r, p) / pivot;
            if (factor == 0)
                continue;
            for (std::size_t c = p; c < std::min(n, p + k + 1); ++c)
                at(r, c) -= factor * at(p, c);
            rhs[r] -= factor * rhs[p];
        }
    }
    for (std::size_t p = n; p-- > 0;) {
        double sum = rhs[p];
        for (std::size_t c = p + 1; c < std::min(n, p + k + 1); ++c)
            sum -= at(p, c) * rhs[c];
        rhs[p] = sum / at(p, p);
    }
    return true;
}

}  // namespace

bool bsplineBuild(std::span<const double> xs, std::span<const double> ys, MethodData& data)
{
    const std::size_t n = xs.size();
    const auto k = static_cast<std::size_t>(data.parameter);
    const std::size_t m = (k + 1) / 2;
    std::vector<double>& t = data.knots;
    t.assign(k + 1, xs.front());
    for (std::size_t i = m; i + m < n; ++i)
        t.push_back(xs[i]);
    t.insert(t.end(), k + 1, xs.back());

    std::vector<double> band(n * (2 * k + 1), 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t mu = intervalOf(t, k, n, xs[i]);
        const auto b = basisAt(t, k, mu, xs[i]);
        for (std::size_t s = 0; s <= k; ++s)
            band[i * (2 * k + 1) + (mu - k + s + k - i)] = b[s];
    }
    std::vector<double> c(ys.begin(), ys.end());
    if (!solveBanded(band, k, c))
        return false;
    const std::vector<double> first = derivativeCoefs(t, c, k);
    const std::vector<double> second =
        k >= 2 ? derivativeCoefs(std::span<const double>(t).subspan(1), first, k - 1)
               : std::vector<double>(n - 2, 0.0);
    data.coefs = c;
    data.coefs.insert(data.coefs.end(), first.begin(), first.end());
    data.coefs.insert(data.coefs.end(), second.begin(), second.end());
    return std::all_of(data.coefs.begin(), data.coefs.end(),
                       [](double v) { return std::isfinite(v); });
}

PointValues bsplineAt(std::span<const double> xs, std::span<const double>,
                      const MethodData& data, double x, bool withSlopes)
{
    const std::size_t n = xs.size();
    const auto k = static_cast<std::size_t>(data.parameter);
    const std::span<const double> t = data.knots;
    const std::span<const double> c = data.coefs;
    const std::size_t mu = intervalOf(t, k, n, x);
    PointValues v;
    v.value = deBoor(t, c.subspan(0, n), k, mu, x);
    if (!withSlopes)
        return v;
    v.first = deBoor(t.subspan(1), c.subspan(n, n - 1), k - 1, mu - 1, x);
    if (k >= 2)
        v.second = deBoor(t.subspan(2), c.subspan(2 * n - 1, n - 2), k - 2, mu - 2, x);
    return v;
}

}  // namespace tarvel
