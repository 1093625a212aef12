// Akima's slopes and the modified Akima (makima) slopes.
#pragma once

#include <span>

namespace tarvel {

// Akima's slope at each of the points xs, ys (at least two, rising
// abscissae, same count as slopes).
void akimaSlopes(std::span<const double> xs, std::span<const double> ys, std::span<double> slopes);

// The same with the modified weights that also count each pair's sum.
void makimaSlopes(std::span<const double> xs, std::span<const double> ys, std::span<double> slopes);

}  // namespace tarvel
