// Slopes of the monotone piecewise cubic Hermite interpolant (PCHIP).
#pragma once

#include <span>

namespace tarvel {

// The PCHIP slope at each of the points xs, ys (at least two, rising
// abscissae, same count as slopes).
void pchipSlopes(std::span<const double> xs, std::span<const double> ys, std::span<double> slopes);

}  // namespace tarvel
