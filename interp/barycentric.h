// The polynomial through n nodes in barycentric form of the second kind,
//
//   p(x) = sum_j (w_j / (x - x_j)) y_j / sum_j (w_j / (x - x_j)),
//
// with its first and second derivatives.
#pragma once

#include <initializer_list>
#include <span>
#include <vector>

#include "interp/nodes.h"

namespace tarvel {

// w_j = 1 / prod_{k != j} (x_j - x_k) for distinct xs, scaled so that the
// largest has magnitude 1. The products carry their binary exponent apart,
// so no partial product overflows or underflows; a weight that would still
// fall below the smallest double comes out 0.
std::vector<double> productWeights(std::span<const double> xs);

// The closed forms for n nodes of a family (any common factor dropped):
// evenly spaced (-1)^j C(n-1, j); Chebyshev points (-1)^j, halved at both
// ends; Chebyshev roots (-1)^j sin((2j + 1) pi / (2n)). Largest magnitude 1.
std::vector<double> familyWeights(NodeFamily family, int n);

// The weights for xs: the closed form when xs are exactly familyNodes() of
// a family, products otherwise.
std::vector<double> barycentricWeights(std::span<const double> xs);

// p'(x_k) and p''(x_k) at every node from the differentiation formulas
//   p'(x_k)  = -sum_{j != k} (w_j / w_k) (y_k - y_j) / (x_k - x_j),
//   p''(x_k) = -2 sum_{j != k} (w_j / w_k) (p'(x_k) - (y_k - y_j) / (x_k - x_j)) / (x_k - x_j).
// p' and p'' are polynomials of lower degree, so the same barycentric
// formula through these node values gives them at any x.
void nodeDerivatives(std::span<const double> xs, std::span<const double> weights,
                     std::span<const double> ys, std::span<double> first,
                     std::span<double> second);

// The polynomials through (xs, columns[c]) with these weights at x into
// results[c], for up to three columns of node values at once sharing the
// quotients w_j / (x - x_j); a column's own value exactly at a node. xs
// must rise.
void barycentricColumns(std::span<const double> xs, std::span<const double> weights,
                        std::initializer_list<std::span<const double>> columns, double x,
                        std::span<double> results);

// p(x) by the first (modified Lagrange) form l(x) sum_j w_j y_j / (x - x_j),
// l(x) = prod_j (x - x_j), carried with its binary exponent; y at a node.
double firstFormValue(std::span<const double> xs, std::span<const double> weights,
                      std::span<const double> ys, double x);

// Lebesgue function sum_j |l_j(x)| (1 at a node) by the first form
// |l(x)| sum_j |w_j / (x - x_j)|, l(x) = prod_j (x - x_j): no signed sum
// cancels, so it keeps its digits up to the largest doubles (inf beyond).
double barycentricLebesgue(std::span<const double> xs, std::span<const double> weights, double x);

}  // namespace tarvel
