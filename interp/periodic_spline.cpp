// Periodic cubic spline. With widths h_i, secants s_i (i = 0 .. N-1, N the
// number of intervals) and the second derivatives M_i at the nodes, M_N =
// M_0, continuity of the first derivative at every node, the first one
// included as the end of the last interval, gives the cyclic system
//
//   h_{i-1} M_{i-1} + 2 (h_{i-1} + h_i) M_i + h_i M_{i+1} = 6 (s_i - s_{i-1}),
//
// indices taken modulo N. Its corners (h_{N-1} in rows 0 and N-1) are
// folded in by the Sherman–Morrison formula around the one tridiagonal
// solver. Piece i is then y_i + b t + M_i/2 t^2 + (M_{i+1} - M_i)/(6 h_i) t^3
// with b = s_i - h_i (2 M_i + M_{i+1}) / 6.
#include "interp/periodic_spline.h"

#include <cstddef>
#include <vector>

#include "interp/tridiagonal.h"

namespace tarvel {
namespace {

// The second derivatives of the cyclic system for N >= 3 intervals.
bool cyclicSecondDerivatives(std::span<const double> h, std::span<const double> rhs,
                             std::vector<double>& m)
{
    const std::size_t n = h.size();
    std::vector<double> diag(n), sub(n), sup(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double before = h[(i + n - 1) % n];
        diag[i] = 2 * (before + h[i]);
        sub[i] = before;
        sup[i] = h[i];
    }
    const double corner = h[n - 1];
    const double gamma = -diag[0];
    diag[0] -= gamma;
    diag[n - 1] -= corner * corner / gamma;
    std::vector<double> u(n, 0.0);
    u[0] = gamma;
    u[n - 1] = corner;
    std::vector<double> x(n), z(n);
    if (LESSolve_Thomas(diag, sub, sup, rhs, x) != SolveStatus::Solved ||
        LESSolve_Thomas(diag, sub, sup, u, z) != SolveStatus::Solved)
        return false;
    const double factor =
        (x[0] + corner * x[n - 1] / gamma) / (1 + z[0] + corner * z[n - 1] / gamma);
    m.resize(n + 1);
    for (std::size_t i = 0; i < n; ++i)
        m[i] = x[i] - factor * z[i];
    m[n] = m[0];
    return true;
}

}  // namespace

bool periodicSplineRows(std::span<const double> xs, std::span<const double> ys,
                        std::span<CoefRow> rows)
{
    const std::size_t n = xs.size() - 1;
    std::vector<double> h(n), s(n), rhs(n);
    for (std::size_t i = 0; i < n; ++i) {
        h[i] = xs[i + 1] - xs[i];
        const double next = i + 1 == n ? ys[0] : ys[i + 1];
        s[i] = (next - ys[i]) / h[i];
    }
    for (std::size_t i = 0; i < n; ++i)
        rhs[i] = 6 * (s[i] - s[(i + n - 1) % n]);
    std::vector<double> m(n + 1, 0.0);
    if (n == 2) {
        // Both rows of the cyclic system read 2a M_i + a M_j with a = h0 + h1.
        const double a = h[0] + h[1];
        m[0] = (2 * rhs[0] - rhs[1]) / (3 * a);
        m[1] = (2 * rhs[1] - rhs[0]) / (3 * a);
        m[2] = m[0];
    } else if (n >= 3 && !cyclicSecondDerivatives(h, rhs, m)) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i)
        rows[i] = {ys[i], s[i] - h[i] * (2 * m[i] + m[i + 1]) / 6, m[i] / 2,
                   (m[i + 1] - m[i]) / (6 * h[i])};
    return true;
}

}  // namespace tarvel
