// Barycentric interpolation of the second kind (Berrut and Trefethen,
// "Barycentric Lagrange interpolation", 2004).
#include "interp/barycentric.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <numbers>

#include "interp/lagrange.h"
#include "interp/scaled_number.h"

namespace tarvel {
namespace {

std::vector<double> scaledToLargest(std::vector<double> weights)
{
    double largest = 0;
    for (const double w : weights)
        largest = std::max(largest, std::fabs(w));
    if (!(largest > 0) || !std::isfinite(largest))
        return weights;  // nothing to scale by: the caller refuses such weights
    for (double& w : weights)
        w = w / largest;
    return weights;
}

// Scales the weights, given as mantissa * 2^exponent, so that the largest
// has magnitude 1.
std::vector<double> normalised(std::span<const double> mantissas, std::span<const int> exponents)
{
    std::vector<double> weights(mantissas.size());
    std::vector<int> totals(mantissas.size());
    int largest = 0;
    for (std::size_t j = 0; j < mantissas.size(); ++j) {
        int shift = 0;
        weights[j] = std::frexp(mantissas[j], &shift);
        totals[j] = shift + exponents[j];
        largest = j == 0 ? totals[j] : std::max(largest, totals[j]);
    }
    for (std::size_t j = 0; j < weights.size(); ++j)
        weights[j] = std::ldexp(weights[j], totals[j] - largest);
    return scaledToLargest(std::move(weights));
}

// a / b, or NaN where b is 0: the sums of weights that cancel exactly
// leave the value undefined (evenly spaced nodes by the hundred do that).
double quotient(double a, double b)
{
    return b != 0 ? a / b : std::numeric_limits<double>::quiet_NaN();
}

std::ptrdiff_t nodeIndex(std::span<const double> xs, double x)
{
    const auto at = std::lower_bound(xs.begin(), xs.end(), x);
    if (at != xs.end() && *at == x)
        return at - xs.begin();
    return -1;
}

// The sums over the nodes, sum_j q_j and sum_j q_j v_j with
// q_j = w_j / (x - x_j), for up to three value columns v at once (the
// values and the two derivatives at the nodes). Node j goes into lane
// j mod 8, whatever the width of the vector registers, and the lanes are
// added up in one fixed order, so every instruction set gives the same bits.
constexpr std::size_t kLanes = 8;
constexpr std::size_t kMaxColumns = 3;

struct LaneSums {
    std::array<double, kLanes> den;
    std::array<std::array<double, kLanes>, kMaxColumns> num;
};

struct NodeColumns {
    const double* xs;
    const double* weights;
    std::array<const double*, kMaxColumns> values;
    std::size_t columns;
    std::size_t count;
};

using SumLoop = void (*)(const NodeColumns&, double, LaneSums&);

// The plain form, for compilers without vector extensions.
void sumsPlain(const NodeColumns& nodes, double x, LaneSums& sums)
{
    sums = LaneSums{};
    const std::size_t whole = nodes.count / kLanes * kLanes;
    for (std::size_t j = 0; j < whole; ++j) {
        const double q = nodes.weights[j] / (x - nodes.xs[j]);
        sums.den[j % kLanes] += q;
        for (std::size_t c = 0; c < nodes.columns; ++c)
            sums.num[c][j % kLanes] += q * nodes.values[c][j];
    }
}

#if defined(__GNUC__)
using Doubles2 = double __attribute__((vector_size(16)));
using Doubles4 = double __attribute__((vector_size(32)));
using Doubles8 = double __attribute__((vector_size(64)));

template <typename V, std::size_t Columns>
[[gnu::always_inline]] inline void laneSums(const NodeColumns& nodes, double x, LaneSums& sums)
{
    constexpr std::size_t width = sizeof(V) / sizeof(double);
    constexpr std::size_t parts = kLanes / width;
    std::array<V, parts> den{};
    std::array<std::array<V, parts>, Columns> num{};
    const std::size_t whole = nodes.count / kLanes * kLanes;
    for (std::size_t j = 0; j < whole; j += kLanes) {
        for (std::size_t part = 0; part < parts; ++part) {
            const std::size_t at = j + part * width;
            V w;
            V xj;
            std::memcpy(&w, nodes.weights + at, sizeof w);
            std::memcpy(&xj, nodes.xs + at, sizeof xj);
            const V q = w / (x - xj);
            den[part] += q;
            for (std::size_t c = 0; c < Columns; ++c) {
                V v;
                std::memcpy(&v, nodes.values[c] + at, sizeof v);
                num[c][part] += q * v;
            }
        }
    }
    std::memcpy(sums.den.data(), den.data(), sizeof den);
    for (std::size_t c = 0; c < Columns; ++c)
        std::memcpy(sums.num[c].data(), num[c].data(), sizeof num[c]);
}

template <typename V>
[[gnu::always_inline]] inline void laneSumsOf(const NodeColumns& nodes, double x, LaneSums& sums)
{
    if (nodes.columns == 1)
        laneSums<V, 1>(nodes, x, sums);
    else
        laneSums<V, kMaxColumns>(nodes, x, sums);
}

void sumsBaseline(const NodeColumns& nodes, double x, LaneSums& sums)
{
    laneSumsOf<Doubles2>(nodes, x, sums);
}

#if defined(__x86_64__)
#define TARVEL_X86_DISPATCH 1
[[gnu::target("avx2")]] void sumsAvx2(const NodeColumns& nodes, double x, LaneSums& sums)
{
    laneSumsOf<Doubles4>(nodes, x, sums);
}

[[gnu::target("avx512f")]] void sumsAvx512(const NodeColumns& nodes, double x, LaneSums& sums)
{
    laneSumsOf<Doubles8>(nodes, x, sums);
}
#endif
#else
void sumsBaseline(const NodeColumns& nodes, double x, LaneSums& sums)
{
    sumsPlain(nodes, x, sums);
}
#endif

SumLoop sumLoop()
{
    switch (lagrangeInstructionSet()) {
    case InstructionSet::Plain:
        return sumsPlain;
#if defined(TARVEL_X86_DISPATCH)
    case InstructionSet::Avx2:
        return sumsAvx2;
    case InstructionSet::Avx512:
        return sumsAvx512;
#endif
    default:
        return sumsBaseline;
    }
}

double laneTotal(const std::array<double, kLanes>& lanes)
{
    return ((lanes[0] + lanes[1]) + (lanes[2] + lanes[3])) +
           ((lanes[4] + lanes[5]) + (lanes[6] + lanes[7]));
}

// The denominator, then one numerator per column. The nodes beyond the
// last whole group of lanes (all of them when there are fewer than eight)
// are summed one after another and added last.
std::array<double, kMaxColumns + 1> sumsAt(const NodeColumns& nodes, double x)
{
    std::array<double, kMaxColumns + 1> totals{};
    const std::size_t whole = nodes.count / kLanes * kLanes;
    if (whole > 0) {
        LaneSums sums;
        sumLoop()(nodes, x, sums);
        totals[0] = laneTotal(sums.den);
        for (std::size_t c = 0; c < nodes.columns; ++c)
            totals[c + 1] = laneTotal(sums.num[c]);
    }
    std::array<double, kMaxColumns + 1> tail{};
    for (std::size_t j = whole; j < nodes.count; ++j) {
        const double q = nodes.weights[j] / (x - nodes.xs[j]);
        tail[0] += q;
        for (std::size_t c = 0; c < nodes.columns; ++c)
            tail[c + 1] += q * nodes.values[c][j];
    }
    for (std::size_t c = 0; c <= nodes.columns; ++c)
        totals[c] += tail[c];
    return totals;
}

// The derivatives at the nodes, row by row: for node k the quotients
// 1 / (x_k - x_j) and the secants (y_k - y_j) / (x_k - x_j) are formed
// side by side (node k's own set to 0, so it adds nothing), then summed in
// eight lanes as above. Each quotient takes the same operations whatever
// the width of the registers, so every instruction set gives the same bits.
struct DerivativeRows {
    const double* xs;
    const double* ys;
    const double* weights;
    double* inverse;  // scratch, one row
    double* secant;   // scratch, one row
    double* first;
    double* second;
    std::size_t count;
};

using DerivativeLoop = void (*)(const DerivativeRows&);

// The two sums of a row: sum_j w_j s_j (the slope), or, once the slope is
// known, sum_j w_j (slope - s_j) i_j (the curvature), with s the secants and
// i the quotients. Node j goes into lane j mod 8 for the whole groups of
// eight, the rest one after another, added last. V is a vector of doubles
// or a plain double.
template <typename V, bool Curvature>
[[gnu::always_inline]] inline double rowSum(const DerivativeRows& rows, double slope)
{
    constexpr std::size_t width = sizeof(V) / sizeof(double);
    constexpr std::size_t parts = kLanes / width;
    std::array<V, parts> sums{};
    const std::size_t whole = rows.count / kLanes * kLanes;
    for (std::size_t j = 0; j < whole; j += kLanes) {
        for (std::size_t part = 0; part < parts; ++part) {
            const std::size_t at = j + part * width;
            V w;
            V secant;
            std::memcpy(&w, rows.weights + at, sizeof w);
            std::memcpy(&secant, rows.secant + at, sizeof secant);
            if constexpr (Curvature) {
                V inverse;
                std::memcpy(&inverse, rows.inverse + at, sizeof inverse);
                sums[part] += w * ((slope - secant) * inverse);
            } else {
                sums[part] += w * secant;
            }
        }
    }
    std::array<double, kLanes> lanes;
    std::memcpy(lanes.data(), sums.data(), sizeof lanes);
    double tail = 0;
    for (std::size_t j = whole; j < rows.count; ++j) {
        if constexpr (Curvature)
            tail += rows.weights[j] * ((slope - rows.secant[j]) * rows.inverse[j]);
        else
            tail += rows.weights[j] * rows.secant[j];
    }
    return laneTotal(lanes) + tail;
}

template <typename V>
[[gnu::always_inline]] inline void fillRow(const DerivativeRows& rows, std::size_t k)
{
    constexpr std::size_t width = sizeof(V) / sizeof(double);
    const double xk = rows.xs[k];
    const double yk = rows.ys[k];
    const auto one = [&](std::size_t j) {
        rows.inverse[j] = 1 / (xk - rows.xs[j]);
        rows.secant[j] = (yk - rows.ys[j]) * rows.inverse[j];
    };
    const std::size_t whole = rows.count / width * width;
    for (std::size_t j = 0; j < whole; j += width) {
        if (k >= j && k < j + width) {
            for (std::size_t m = j; m < j + width; ++m)
                if (m != k)
                    one(m);
            continue;
        }
        V x;
        V y;
        std::memcpy(&x, rows.xs + j, sizeof x);
        std::memcpy(&y, rows.ys + j, sizeof y);
        const V inverse = 1 / (xk - x);
        const V secant = (yk - y) * inverse;
        std::memcpy(rows.inverse + j, &inverse, sizeof inverse);
        std::memcpy(rows.secant + j, &secant, sizeof secant);
    }
    for (std::size_t j = whole; j < rows.count; ++j)
        if (j != k)
            one(j);
    rows.inverse[k] = 0;
    rows.secant[k] = 0;
}

template <typename V>
[[gnu::always_inline]] inline void derivativeRows(const DerivativeRows& rows)
{
    for (std::size_t k = 0; k < rows.count; ++k) {
        fillRow<V>(rows, k);
        const double slope = quotient(-rowSum<V, false>(rows, 0), rows.weights[k]);
        const double curvatureSum = rowSum<V, true>(rows, slope);
        rows.first[k] = slope;
        rows.second[k] = quotient(-2 * curvatureSum, rows.weights[k]);
    }
}

void derivativesPlain(const DerivativeRows& rows)
{
    derivativeRows<double>(rows);
}

#if defined(__GNUC__)
void derivativesBaseline(const DerivativeRows& rows)
{
    derivativeRows<Doubles2>(rows);
}

#if defined(TARVEL_X86_DISPATCH)
[[gnu::target("avx2")]] void derivativesAvx2(const DerivativeRows& rows)
{
    derivativeRows<Doubles4>(rows);
}

[[gnu::target("avx512f")]] void derivativesAvx512(const DerivativeRows& rows)
{
    derivativeRows<Doubles8>(rows);
}
#endif
#else
void derivativesBaseline(const DerivativeRows& rows)
{
    derivativeRows<double>(rows);
}
#endif

DerivativeLoop derivativeLoop()
{
    switch (lagrangeInstructionSet()) {
    case InstructionSet::Plain:
        return derivativesPlain;
#if defined(TARVEL_X86_DISPATCH)
    case InstructionSet::Avx2:
        return derivativesAvx2;
    case InstructionSet::Avx512:
        return derivativesAvx512;
#endif
    default:
        return derivativesBaseline;
    }
}

std::size_t nearestNode(std::span<const double> xs, double x)
{
    const auto above = static_cast<std::size_t>(
        std::lower_bound(xs.begin(), xs.end(), x) - xs.begin());
    const std::size_t k = std::min(above, xs.size() - 1);
    if (k > 0 && std::fabs(x - xs[k - 1]) < std::fabs(x - xs[k]))
        return k - 1;
    return k;
}

// Where w_j / (x - x_j) overflows, x is a hair's breadth from a node k:
// every term divided by the node's own, which keeps the quotients finite.
double valueNearNode(std::span<const double> xs, std::span<const double> weights,
                     std::span<const double> ys, double x)
{
    const std::size_t k = nearestNode(xs, x);
    const double toNode = x - xs[k];
    double num = ys[k];
    double den = 1;
    for (std::size_t j = 0; j < xs.size(); ++j) {
        if (j == k)
            continue;
        const double ratio = quotient(weights[j], weights[k]) * (toNode / (x - xs[j]));
        num += ratio * ys[j];
        den += ratio;
    }
    return quotient(num, den);
}

// The first (modified Lagrange) form p(x) = l(x) sum_j w_j y_j / (x - x_j)
// with l(x) = prod_j (x - x_j), which needs no denominator: the second
// form's sum_j w_j / (x - x_j) equals C / l(x) for the weights' common
// scale C. Returns l(x) / C, built from the nearest node k as
// (x - x_k) / w_k * prod_{j != k} (x - x_j) / (x_k - x_j).
double scaledNodePolynomial(std::span<const double> xs, std::span<const double> weights, double x)
{
    const std::size_t k = nearestNode(xs, x);
    ScaledNumber product;
    product.multiply(x - xs[k]);
    for (std::size_t j = 0; j < xs.size(); ++j)
        if (j != k)
            product.multiply((x - xs[j]) / (xs[k] - xs[j]));
    return quotient(product.value(), weights[k]);
}

}  // namespace

std::vector<double> productWeights(std::span<const double> xs)
{
    std::vector<double> mantissas(xs.size());
    std::vector<int> exponents(xs.size());
    for (std::size_t j = 0; j < xs.size(); ++j) {
        ScaledNumber product;
        for (std::size_t k = 0; k < xs.size(); ++k)
            if (k != j)
                product.multiply(xs[j] - xs[k]);
        const ScaledNumber::Parts parts = product.normalised();
        int shift = 0;
        mantissas[j] = std::frexp(1 / parts.mantissa, &shift);
        exponents[j] = shift - parts.exponent;
    }
    return normalised(mantissas, exponents);
}

std::vector<double> familyWeights(NodeFamily family, int n)
{
    std::vector<double> weights(static_cast<std::size_t>(n));
    double binomial = 1;  // C(n-1, j)
    for (int j = 0; j < n; ++j) {
        const double sign = j % 2 == 0 ? 1 : -1;
        double size = 1;
        switch (family) {
        case NodeFamily::Equispaced:
            if (j > 0)
                binomial = (binomial * (n - j)) / j;
            size = binomial;
            break;
        case NodeFamily::Lobatto:
            size = j == 0 || j == n - 1 ? 0.5 : 1;
            break;
        case NodeFamily::Gauss:
            size = std::sin(std::numbers::pi * (2 * j + 1) / (2 * n));
            break;
        }
        weights[static_cast<std::size_t>(j)] = sign * size;
    }
    return scaledToLargest(std::move(weights));
}

std::vector<double> barycentricWeights(std::span<const double> xs)
{
    const int n = static_cast<int>(xs.size());
    for (const NodeFamily family : {NodeFamily::Equispaced, NodeFamily::Lobatto, NodeFamily::Gauss}) {
        const std::vector<double> nodes = familyNodes(family, n);
        if (!nodes.empty() && std::equal(nodes.begin(), nodes.end(), xs.begin(), xs.end()))
            return familyWeights(family, n);
    }
    return productWeights(xs);
}

void nodeDerivatives(std::span<const double> xs, std::span<const double> weights,
                     std::span<const double> ys, std::span<double> first, std::span<double> second)
{
    std::vector<double> inverse(xs.size());
    std::vector<double> secant(xs.size());
    const DerivativeRows rows{xs.data(),      ys.data(),     weights.data(), inverse.data(),
                              secant.data(),  first.data(),  second.data(),  xs.size()};
    derivativeLoop()(rows);
}

void barycentricColumns(std::span<const double> xs, std::span<const double> weights,
                        std::initializer_list<std::span<const double>> columns, double x,
                        std::span<double> results)
{
    std::size_t c = 0;
    const std::ptrdiff_t node = nodeIndex(xs, x);
    if (node >= 0) {
        for (const std::span<const double> column : columns)
            results[c++] = column[static_cast<std::size_t>(node)];
        return;
    }
    NodeColumns nodes{xs.data(), weights.data(), {}, columns.size(), xs.size()};
    for (const std::span<const double> column : columns)
        nodes.values[c++] = column.data();
    const auto totals = sumsAt(nodes, x);
    // Where the denominator cancels to nothing the first form takes over.
    const double nodePolynomial = totals[0] == 0 ? scaledNodePolynomial(xs, weights, x) : 0;
    c = 0;
    for (const std::span<const double> column : columns) {
        if (totals[0] == 0)
            results[c] = totals[c + 1] * nodePolynomial;
        else if (std::isfinite(totals[0]) && std::isfinite(totals[c + 1]))
            results[c] = totals[c + 1] / totals[0];
        else
            results[c] = valueNearNode(xs, weights, column, x);
        ++c;
    }
}

double firstFormValue(std::span<const double> xs, std::span<const double> weights,
                      std::span<const double> ys, double x)
{
    const std::ptrdiff_t node = nodeIndex(xs, x);
    if (node >= 0)
        return ys[static_cast<std::size_t>(node)];
    double sum = 0;
    for (std::size_t j = 0; j < xs.size(); ++j)
        sum += weights[j] * ys[j] / (x - xs[j]);
    return scaledNodePolynomial(xs, weights, x) * sum;
}

double barycentricLebesgue(std::span<const double> xs, std::span<const double> weights, double x)
{
    if (nodeIndex(xs, x) >= 0)
        return 1;
    // The first form, sum_j |l_j(x)| = |l(x)| sum_j |w_j / (x - x_j)|, sums
    // magnitudes only: the second form's signed sum cancels, and its error
    // grows with the constant. From the nearest node k, l(x) = l_k(x) (x - x_k) / w_k,
    // so the sum is |l_k(x)| / |w_k| * sum_j |w_j| |x - x_k| / |x - x_j|,
    // each ratio at most 1; l_k(x) and the quotient keep their binary
    // exponents apart until the end.
    const std::size_t k = nearestNode(xs, x);
    const double toNode = std::fabs(x - xs[k]);
    double sum = 0;
    for (std::size_t j = 0; j < xs.size(); ++j)
        sum += j == k ? std::fabs(weights[j])
                      : std::fabs(weights[j]) * (toNode / std::fabs(x - xs[j]));
    if (weights[k] == 0)
        return std::numeric_limits<double>::infinity();
    ScaledNumber basis;
    for (std::size_t j = 0; j < xs.size(); ++j)
        if (j != k)
            basis.multiply((x - xs[j]) / (xs[k] - xs[j]));
    int sumExponent = 0;
    int weightExponent = 0;
    const double sumMantissa = std::frexp(sum, &sumExponent);
    const double weightMantissa = std::frexp(std::fabs(weights[k]), &weightExponent);
    const ScaledNumber::Parts parts = basis.normalised();
    return std::ldexp(std::fabs(parts.mantissa) * (sumMantissa / weightMantissa),
                      parts.exponent + sumExponent - weightExponent);
}

}  // namespace tarvel
