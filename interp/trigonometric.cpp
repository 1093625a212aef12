// Trigonometric interpolation. With N intervals of the period, t = (x -
// x_0) / P and the discrete Fourier coefficients
//
//   a_k = (2/N) sum_{j<N} y_j cos(2 pi k j / N),  b_k = (2/N) sum_{j<N} y_j sin(2 pi k j / N),
//
// the interpolant is
//
//   p(t) = a_0 / 2 + sum_{k=1}^{M} f_k (a_k cos 2 pi k t + b_k sin 2 pi k t),  M = floor(N/2),
//
// f_k = 1 except for even N at k = N/2 (the Nyquist term), which is the
// cosine alone with f = 1/2, the choice that keeps p real and of least
// degree. It reproduces every trigonometric polynomial of degree below N/2.
#include "interp/trigonometric.h"

#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

namespace tarvel {

bool trigonometricBuild(std::span<const double> xs, std::span<const double> ys,
                        MethodData& data)
{
    const std::size_t n = xs.size() - 1;
    const std::size_t m = n / 2;
    // cos and sin of 2 pi r / N for every residue r; k j is taken modulo N
    // so that no angle grows beyond one turn.
    std::vector<double> cosines(n), sines(n);
    for (std::size_t r = 0; r < n; ++r) {
        const double angle = 2 * std::numbers::pi * static_cast<double>(r) / static_cast<double>(n);
        cosines[r] = std::cos(angle);
        sines[r] = std::sin(angle);
    }
    data.coefs.assign(2 * (m + 1), 0.0);
    for (std::size_t k = 0; k <= m; ++k) {
        double a = 0;
        double b = 0;
        // r is k j modulo N, stepped by k (below N): no division in the
        // inner loop.
        std::size_t r = 0;
        for (std::size_t j = 0; j < n; ++j) {
            a += ys[j] * cosines[r];
            b += ys[j] * sines[r];
            r += k;
            if (r >= n)
                r -= n;
        }
        const double scale = 2 / static_cast<double>(n);
        const bool halved = k == 0 || 2 * k == n;
        data.coefs[k] = a * scale * (halved ? 0.5 : 1.0);
        data.coefs[m + 1 + k] = 2 * k == n ? 0 : b * scale;
    }
    for (const double c : data.coefs)
        if (!std::isfinite(c))
            return false;
    return true;
}

PointValues trigonometricAt(std::span<const double> xs, std::span<const double>,
                            const MethodData& data, double x, bool withSlopes)
{
    const double period = xs.back() - xs.front();
    const std::size_t m = data.coefs.size() / 2 - 1;
    double t = (x - xs.front()) / period;
    t -= std::floor(t);
    const double angle = 2 * std::numbers::pi * t;
    const double c1 = std::cos(angle);
    const double s1 = std::sin(angle);
    double c = 1;
    double s = 0;
    PointValues sums{data.coefs[0], 0, 0};
    for (std::size_t k = 1; k <= m; ++k) {
        const double next = c * c1 - s * s1;
        s = s * c1 + c * s1;
        c = next;
        const double a = data.coefs[k];
        const double b = data.coefs[m + 1 + k];
        const double kk = static_cast<double>(k);
        sums.value += a * c + b * s;
        if (withSlopes) {
            sums.first += kk * (b * c - a * s);
            sums.second -= kk * kk * (a * c + b * s);
        }
    }
    const double frequency = 2 * std::numbers::pi / period;
    return {sums.value, sums.first * frequency, sums.second * frequency * frequency};
}

}  // namespace tarvel
