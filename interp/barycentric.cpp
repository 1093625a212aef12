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

namespace tarvel {
namespace {

// A product of many factors as mantissa * 2^exponent, renormalised
// whenever the mantissa leaves [2^-500, 2^500]; factors beyond 2^+-400 are
// split first, so no step overflows or underflows.
struct ScaledProduct {
    double mantissa = 1;
    int exponent = 0;

    void multiply(double factor)
    {
        const double size = std::fabs(factor);
        if (size < 0x1p-400 || size > 0x1p400) {
            int shift = 0;
            factor = std::frexp(factor, &shift);
            exponent += shift;
        }
        mantissa *= factor;
        const double result = std::fabs(mantissa);
        if (result < 0x1p-500 || result > 0x1p500) {
            int shift = 0;
            mantissa = std::frexp(mantissa, &shift);
            exponent += shift;
        }
    }
};

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
    ScaledProduct product;
    product.multiply(x - xs[k]);
    for (std::size_t j = 0; j < xs.size(); ++j)
        if (j != k)
            product.multiply((x - xs[j]) / (xs[k] - xs[j]));
    return quotient(std::ldexp(product.mantissa, product.exponent), weights[k]);
}

// sum_j term(j) for j = 0 .. n-1 in four interleaved partial sums, which
// the compiler may keep in vector registers without changing a bit.
template <typename Term>
double fourLaneSum(std::size_t n, Term term)
{
    std::array<double, 4> lanes{};
    std::size_t j = 0;
    for (; j + 4 <= n; j += 4)
        for (std::size_t lane = 0; lane < 4; ++lane)
            lanes[lane] += term(j + lane);
    for (std::size_t lane = 0; j < n; ++j, ++lane)
        lanes[lane] += term(j);
    return (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
}

}  // namespace

std::vector<double> productWeights(std::span<const double> xs)
{
    std::vector<double> mantissas(xs.size());
    std::vector<int> exponents(xs.size());
    for (std::size_t j = 0; j < xs.size(); ++j) {
        ScaledProduct product;
        for (std::size_t k = 0; k < xs.size(); ++k)
            if (k != j)
                product.multiply(xs[j] - xs[k]);
        int shift = 0;
        mantissas[j] = std::frexp(1 / product.mantissa, &shift);
        exponents[j] = shift - product.exponent;
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
    const std::size_t n = xs.size();
    std::vector<double> inverse(n);
    std::vector<double> secant(n);
    const auto fill = [&](std::size_t k, std::size_t from, std::size_t to) {
        for (std::size_t j = from; j < to; ++j) {
            inverse[j] = 1 / (xs[k] - xs[j]);
            secant[j] = (ys[k] - ys[j]) * inverse[j];
        }
    };
    for (std::size_t k = 0; k < n; ++k) {
        // Node k's own term drops out of both sums: it adds 0.
        fill(k, 0, k);
        fill(k, k + 1, n);
        inverse[k] = 0;
        secant[k] = 0;
        const double slope = quotient(-fourLaneSum(n, [&](std::size_t j) {
                                          return weights[j] * secant[j];
                                      }),
                                      weights[k]);
        const double curvatureSum = fourLaneSum(n, [&](std::size_t j) {
            return j == k ? 0.0 : weights[j] * ((slope - secant[j]) * inverse[j]);
        });
        first[k] = slope;
        second[k] = quotient(-2 * curvatureSum, weights[k]);
    }
}

double barycentricValue(std::span<const double> xs, std::span<const double> weights,
                        std::span<const double> ys, double x)
{
    double value = 0;
    barycentricColumns(xs, weights, {ys}, x, {&value, 1});
    return value;
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

void barycentricValues(std::span<const double> xs, std::span<const double> weights,
                       std::span<const double> ys, std::span<const double> x,
                       std::span<double> values)
{
    for (std::size_t i = 0; i < x.size(); ++i)
        values[i] = barycentricValue(xs, weights, ys, x[i]);
}

double barycentricLebesgue(std::span<const double> xs, std::span<const double> weights, double x)
{
    if (nodeIndex(xs, x) >= 0)
        return 1;
    double absolute = 0;
    double signedSum = 0;
    for (std::size_t j = 0; j < xs.size(); ++j) {
        const double q = weights[j] / (x - xs[j]);
        absolute += std::fabs(q);
        signedSum += q;
    }
    if (signedSum == 0)
        return std::numeric_limits<double>::infinity();
    return absolute / std::fabs(signedSum);
}

}  // namespace tarvel
