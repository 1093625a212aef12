// The Floater–Hormann barycentric rational interpolant.
#pragma once

#include <span>

#include "interp/method_table.h"

namespace tarvel {

// The weights for blending degree d = data.parameter (0 .. n - 1) through
// the rising xs, scaled so that the largest has magnitude 1:
//
//   w_k = (-1)^(k-d) sum_{i in J_k} prod_{j = i .. i+d, j != k} 1 / |x_k - x_j|,
//   J_k = { i : 0 <= i <= n - 1 - d, k - d <= i <= k }.
//
// False when a weight overflows (nodes far closer together than their span).
bool floaterHormannBuild(std::span<const double> xs, std::span<const double> ys,
                         MethodData& data);

// r, r' and r'' at x from the weights.
PointValues floaterHormannAt(std::span<const double> xs, std::span<const double> ys,
                             const MethodData& data, double x, bool withSlopes);

// The Lebesgue function sum_j |c_j| / |sum_j c_j| at x (1 at a node): the
// blend's basis functions are rational, so the polynomial's first form does
// not hold.
double floaterHormannLebesgue(std::span<const double> xs, std::span<const double> weights,
                              double x);

}  // namespace tarvel
