// The AAA algorithm (Y. Nakatsukasa, O. Sète and L. N. Trefethen, 2018):
// a rational function in barycentric form whose support points are chosen
// greedily, each time the node where the current approximant is worst; the
// weights minimise the linearised error
//
//   sum_i ( sum_k w_k (F_i - f_k) / (Z_i - z_k) )^2,  |w| = 1,
//
// over the other nodes Z_i: the right singular vector of that Loewner
// matrix for its smallest singular value. The approximant interpolates
// the support points. A pole with a residue of rounding size is paired with
// a zero beside it (a Froissart doublet): the support point nearest it is
// dropped and the weights solved again, until no such pole is left.
#include "interp/aaa.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numeric>

#include <Eigen/Dense>

#include "interp/floater_hormann.h"

namespace tarvel {
namespace {

using Complex = std::complex<double>;

// Support points of the fit: the indices of nodes, in the order chosen.
using Support = std::vector<std::size_t>;

// The weights of the support points, from the nodes that are not support
// points. With none left, any weights interpolate; Berrut's alternating
// ones have no pole on the real line.
std::vector<double> leastSquaresWeights(std::span<const double> xs, std::span<const double> ys,
                                        const Support& support)
{
    const auto m = static_cast<Eigen::Index>(support.size());
    std::vector<char> isSupport(xs.size(), 0);
    for (const std::size_t k : support)
        isSupport[k] = 1;
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < xs.size(); ++i)
        if (!isSupport[i])
            rows.push_back(i);
    std::vector<double> weights(support.size());
    if (rows.empty()) {
        Support rising = support;
        std::sort(rising.begin(), rising.end());
        for (std::size_t k = 0; k < support.size(); ++k) {
            const auto place = std::find(rising.begin(), rising.end(), support[k]) - rising.begin();
            weights[k] = place % 2 == 0 ? 1 : -1;
        }
        return weights;
    }
    Eigen::MatrixXd loewner(static_cast<Eigen::Index>(rows.size()), m);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (Eigen::Index k = 0; k < m; ++k) {
            const std::size_t i = rows[r];
            const std::size_t j = support[static_cast<std::size_t>(k)];
            loewner(static_cast<Eigen::Index>(r), k) = (ys[i] - ys[j]) / (xs[i] - xs[j]);
        }
    // Differences beyond the range of numbers leave no weights to find.
    if (!loewner.allFinite())
        return std::vector<double>(support.size(), std::nan(""));
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(loewner, Eigen::ComputeFullV);
    const Eigen::VectorXd smallest = svd.matrixV().col(m - 1);
    for (Eigen::Index k = 0; k < m; ++k)
        weights[static_cast<std::size_t>(k)] = smallest(k);
    return weights;
}

// r at every node: the support points' own values, elsewhere the quotient.
std::vector<double> fitted(std::span<const double> xs, std::span<const double> ys,
                           const Support& support, std::span<const double> weights)
{
    std::vector<double> r(xs.size());
    std::vector<char> isSupport(xs.size(), 0);
    for (const std::size_t k : support) {
        isSupport[k] = 1;
        r[k] = ys[k];
    }
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (isSupport[i])
            continue;
        double numerator = 0;
        double denominator = 0;
        for (std::size_t k = 0; k < support.size(); ++k) {
            const double c = weights[k] / (xs[i] - xs[support[k]]);
            numerator += c * ys[support[k]];
            denominator += c;
        }
        // Where the weights cancel, the fit is as far off as can be.
        r[i] = denominator != 0 ? numerator / denominator
                                : std::numeric_limits<double>::infinity();
    }
    return r;
}

// The roots of sum_k a_k / (x - z_k) (a polynomial of degree m - 1 over
// the product of the x - z_k, leading coefficient sum_k a_k): the finite
// eigenvalues of the arrowhead pencil [0 a^T; 1 diag(z)] - x diag(0, 1),
// here of the m x m matrix (I - 1 a^T / s) diag(z), s = sum_k a_k, which
// has them and 0, with left eigenvector a for the 0. A reflection that
// takes a to the first axis empties the first row; the lower block holds
// the roots alone.
std::vector<Complex> rootsOf(std::span<const double> z, std::span<const double> a)
{
    const auto m = static_cast<Eigen::Index>(z.size());
    const double s = std::accumulate(a.begin(), a.end(), 0.0);
    if (m < 2 || s == 0 || !std::isfinite(s))
        return {};
    Eigen::MatrixXd matrix(m, m);
    for (Eigen::Index i = 0; i < m; ++i)
        for (Eigen::Index j = 0; j < m; ++j)
            matrix(i, j) = (i == j ? z[static_cast<std::size_t>(j)] : 0.0) -
                           a[static_cast<std::size_t>(j)] * z[static_cast<std::size_t>(j)] / s;
    Eigen::VectorXd u(m);
    for (Eigen::Index k = 0; k < m; ++k)
        u(k) = a[static_cast<std::size_t>(k)];
    const double length = u.norm();
    u(0) += u(0) < 0 ? -length : length;
    const Eigen::MatrixXd reflection =
            Eigen::MatrixXd::Identity(m, m) - (2 / u.squaredNorm()) * (u * u.transpose());
    const Eigen::MatrixXd deflated = reflection * matrix * reflection;
    const Eigen::EigenSolver<Eigen::MatrixXd> solver(deflated.bottomRightCorner(m - 1, m - 1),
                                                     false);
    std::vector<Complex> roots;
    for (const Complex& root : solver.eigenvalues())
        if (std::isfinite(root.real()) && std::isfinite(root.imag()))
            roots.push_back(root);
    std::sort(roots.begin(), roots.end(), [](const Complex& p, const Complex& q) {
        return p.real() != q.real() ? p.real() < q.real() : p.imag() < q.imag();
    });
    return roots;
}

// The residue of r at its pole: numerator over the denominator's slope.
Complex residueAt(std::span<const double> z, std::span<const double> f,
                  std::span<const double> w, Complex pole)
{
    Complex numerator = 0;
    Complex slope = 0;
    for (std::size_t k = 0; k < z.size(); ++k) {
        const Complex inverse = 1.0 / (pole - z[k]);
        numerator += w[k] * f[k] * inverse;
        slope -= w[k] * inverse * inverse;
    }
    return numerator / slope;
}

RationalRoots rootsFrom(std::span<const double> z, std::span<const double> f,
                        std::span<const double> w)
{
    RationalRoots roots;
    roots.poles = rootsOf(z, w);
    for (const Complex& pole : roots.poles)
        roots.residues.push_back(residueAt(z, f, w, pole));
    std::vector<double> wf(w.size());
    for (std::size_t k = 0; k < w.size(); ++k)
        wf[k] = w[k] * f[k];
    roots.zeros = rootsOf(z, wf);
    return roots;
}

// The fit's support points, values and weights as the data keep them:
// rising, for the evaluation's search.
// A support point of weight 0 adds nothing to the quotient anywhere but at
// itself, where it would make 0/0: it is left out.
void dropZeroWeights(MethodData& data)
{
    std::size_t kept = 0;
    for (std::size_t k = 0; k < data.weights.size(); ++k) {
        if (data.weights[k] == 0)
            continue;
        data.knots[kept] = data.knots[k];
        data.coefs[kept] = data.coefs[k];
        data.weights[kept] = data.weights[k];
        ++kept;
    }
    data.knots.resize(kept);
    data.coefs.resize(kept);
    data.weights.resize(kept);
}

void keep(std::span<const double> xs, std::span<const double> ys, Support support,
          std::span<const double> weights, MethodData& data)
{
    std::vector<std::size_t> order(support.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t p, std::size_t q) { return support[p] < support[q]; });
    data.knots.clear();
    data.coefs.clear();
    data.weights.clear();
    for (const std::size_t k : order) {
        data.knots.push_back(xs[support[k]]);
        data.coefs.push_back(ys[support[k]]);
        data.weights.push_back(weights[k]);
    }
}

// Drops the support point nearest each pole of rounding-size residue;
// true when it dropped any.
bool dropSpuriousPairs(std::span<const double> xs, double scale, const MethodData& data,
                       Support& support)
{
    const RationalRoots roots = rootsFrom(data.knots, data.coefs, data.weights);
    std::vector<std::size_t> dropped;
    for (std::size_t p = 0; p < roots.poles.size(); ++p) {
        if (!(std::abs(roots.residues[p]) < kAaaSpuriousResidue * scale))
            continue;
        const auto nearest = std::min_element(
                support.begin(), support.end(), [&](std::size_t i, std::size_t j) {
                    return std::abs(roots.poles[p] - xs[i]) < std::abs(roots.poles[p] - xs[j]);
                });
        dropped.push_back(*nearest);
    }
    std::erase_if(support, [&](std::size_t k) {
        return std::find(dropped.begin(), dropped.end(), k) != dropped.end();
    });
    return !dropped.empty();
}

}  // namespace

bool aaaBuild(std::span<const double> xs, std::span<const double> ys, MethodData& data)
{
    double scale = 0;
    for (const double y : ys)
        scale = std::max(scale, std::fabs(y));
    const double tolerance = kAaaTolerance * scale;
    const double mean = std::accumulate(ys.begin(), ys.end(), 0.0) / static_cast<double>(ys.size());
    std::vector<double> r(xs.size(), mean);
    std::vector<char> isSupport(xs.size(), 0);
    Support support;
    std::vector<double> weights;
    const std::size_t most = std::min<std::size_t>(kAaaMaxSupportPoints, xs.size());
    while (support.size() < most) {
        std::size_t worst = xs.size();
        double largest = -1;
        for (std::size_t i = 0; i < xs.size(); ++i)
            if (!isSupport[i] && std::fabs(ys[i] - r[i]) > largest) {
                largest = std::fabs(ys[i] - r[i]);
                worst = i;
            }
        if (worst == xs.size())
            break;  // no finite error left to choose by
        isSupport[worst] = 1;
        support.push_back(worst);
        weights = leastSquaresWeights(xs, ys, support);
        r = fitted(xs, ys, support, weights);
        double error = 0;
        for (std::size_t i = 0; i < xs.size(); ++i)
            error = std::max(error, std::fabs(ys[i] - r[i]));
        if (error <= tolerance)
            break;
    }
    keep(xs, ys, support, weights, data);
    // Solving again without a doublet's support point may leave another.
    while (dropSpuriousPairs(xs, scale, data, support))
        keep(xs, ys, support, leastSquaresWeights(xs, ys, support), data);
    dropZeroWeights(data);
    const bool finite = !data.weights.empty() &&
                        std::all_of(data.weights.begin(), data.weights.end(),
                                    [](double w) { return std::isfinite(w); });
    if (!finite)
        data.weights.clear();
    return finite;
}

PointValues aaaAt(std::span<const double> xs, std::span<const double> ys, const MethodData& data,
                  double x, bool withSlopes)
{
    static_cast<void>(xs);
    static_cast<void>(ys);
    // The same barycentric quotient as Floater and Hormann's, through the
    // support points with their own weights.
    return floaterHormannAt(data.knots, data.coefs, data, x, withSlopes);
}

RationalRoots aaaRoots(const MethodData& data)
{
    return rootsFrom(data.knots, data.coefs, data.weights);
}

}  // namespace tarvel
