// Steffen's monotone cubic Hermite slopes.
#pragma once

#include <span>

namespace tarvel {

// Steffen's slope at each of the points xs, ys (at least two, rising
// abscissae, same count as slopes).
void steffenSlopes(std::span<const double> xs, std::span<const double> ys,
                   std::span<double> slopes);

}  // namespace tarvel
