// Trigonometric interpolation through evenly spaced nodes.
#pragma once

#include <span>

#include "interp/method_table.h"

namespace tarvel {

// The coefficients of the trigonometric polynomial of period P =
// xs.back() - xs.front() through the N = n - 1 nodes in [xs.front(),
// xs.back()) (the last node repeats the first): a_k and b_k, k = 0 ..
// N/2, into data.coefs. The nodes must be evenly spaced.
bool trigonometricBuild(std::span<const double> xs, std::span<const double> ys,
                        MethodData& data);

// p, p' and p'' at x, any x (p repeats with period P).
PointValues trigonometricAt(std::span<const double> xs, std::span<const double> ys,
                            const MethodData& data, double x, bool withSlopes);

}  // namespace tarvel
