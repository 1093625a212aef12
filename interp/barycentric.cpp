// Barycentric interpolation of the second kind (Berrut and Trefethen,
// "Barycentric Lagrange interpolation", 2004). The sums over the nodes run
// in four interleaved lanes, j = 4m + lane, added up as
// (lane0 + lane1) + (lane2 + lane3), so the result does not depend on
// whether the compiler turns the lanes into vector registers.
#include "interp/barycentric.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace tarvel {
namespace {

constexpr std::size_t kLanes = 4;

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

std::ptrdiff_t nodeIndex(std::span<const double> xs, double x)
{
    const auto at = std::lower_bound(xs.begin(), xs.end(), x);
    if (at != xs.end() && *at == x)
        return at - xs.begin();
    return -1;
}

// sum_j w_j / (x - x_j) and sum_j w_j y_j / (x - x_j).
struct Sums {
    double weighted = 0;
    double denominator = 0;
};

Sums sumsAt(std::span<const double> xs, std::span<const double> weights,
            std::span<const double> ys, double x)
{
    std::array<double, kLanes> num{};
    std::array<double, kLanes> den{};
    const std::size_t n = xs.size();
    std::size_t j = 0;
    for (; j + kLanes <= n; j += kLanes) {
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            const double q = weights[j + lane] / (x - xs[j + lane]);
            num[lane] += q * ys[j + lane];
            den[lane] += q;
        }
    }
    for (std::size_t lane = 0; j < n; ++j, ++lane) {
        const double q = weights[j] / (x - xs[j]);
        num[lane] += q * ys[j];
        den[lane] += q;
    }
    return {(num[0] + num[1]) + (num[2] + num[3]), (den[0] + den[1]) + (den[2] + den[3])};
}

// Where w_j / (x - x_j) overflows, x is a hair's breadth from a node k:
// every term divided by the node's own, which keeps the quotients finite.
double valueNearNode(std::span<const double> xs, std::span<const double> weights,
                     std::span<const double> ys, double x)
{
    const auto above = static_cast<std::size_t>(
        std::lower_bound(xs.begin(), xs.end(), x) - xs.begin());
    std::size_t k = std::min(above, xs.size() - 1);
    if (k > 0 && (k == xs.size() || std::fabs(x - xs[k - 1]) < std::fabs(x - xs[k])))
        k = k - 1;
    const double toNode = x - xs[k];
    double num = ys[k];
    double den = 1;
    for (std::size_t j = 0; j < xs.size(); ++j) {
        if (j == k)
            continue;
        const double ratio = (weights[j] / weights[k]) * (toNode / (x - xs[j]));
        num += ratio * ys[j];
        den += ratio;
    }
    return num / den;
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
    for (std::size_t k = 0; k < n; ++k) {
        double slopeSum = 0;
        for (std::size_t j = 0; j < n; ++j) {
            if (j == k)
                continue;
            inverse[j] = 1 / (xs[k] - xs[j]);
            secant[j] = (ys[k] - ys[j]) * inverse[j];
            slopeSum += weights[j] * secant[j];
        }
        const double slope = -slopeSum / weights[k];
        double curvatureSum = 0;
        for (std::size_t j = 0; j < n; ++j)
            if (j != k)
                curvatureSum += weights[j] * ((slope - secant[j]) * inverse[j]);
        first[k] = slope;
        second[k] = -2 * curvatureSum / weights[k];
    }
}

double barycentricValue(std::span<const double> xs, std::span<const double> weights,
                        std::span<const double> ys, double x)
{
    const std::ptrdiff_t node = nodeIndex(xs, x);
    if (node >= 0)
        return ys[static_cast<std::size_t>(node)];
    const Sums sums = sumsAt(xs, weights, ys, x);
    if (std::isfinite(sums.denominator) && std::isfinite(sums.weighted))
        return sums.weighted / sums.denominator;
    return valueNearNode(xs, weights, ys, x);
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
    return absolute / std::fabs(signedSum);
}

}  // namespace tarvel
