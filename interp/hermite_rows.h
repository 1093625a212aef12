// Cubic Hermite pieces from slopes at the nodes: the step shared by every
// method that first estimates a slope at each given point (the PW spline's
// chord bisectors, PCHIP's and Akima's slopes).
#pragma once

#include <span>

#include "interp/coef_table.h"

namespace tarvel {

// Row i (i = 0 .. xs.size() - 2) becomes the cubic on [xs[i], xs[i+1]] that
// takes the values ys[i], ys[i+1] and the slopes slopes[i], slopes[i+1], in
// t = x - xs[i]. xs, ys and slopes hold the same number of entries and rows
// at least one fewer.
void hermiteRows(std::span<const double> xs, std::span<const double> ys,
                 std::span<const double> slopes, std::span<CoefRow> rows);

}  // namespace tarvel
