// Akima's slopes.
#pragma once

#include <span>

namespace tarvel {

// Akima's slope at each of the points xs, ys (at least two, rising
// abscissae, same count as slopes).
void akimaSlopes(std::span<const double> xs, std::span<const double> ys, std::span<double> slopes);

}  // namespace tarvel
