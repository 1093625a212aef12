// The cubic spline with periodic ends.
#pragma once

#include <span>

#include "interp/coef_table.h"

namespace tarvel {

// Rows 0 .. n-2 become the cubic spline through the n >= 2 points xs, ys
// whose first and second derivatives at xs.back() equal those at
// xs.front(), the period being the span of the nodes; ys.back() is taken
// to equal ys.front(). Two points give the constant. Consecutive abscissae
// must rise. False, writing no row, when the system has a zero pivot.
bool periodicSplineRows(std::span<const double> xs, std::span<const double> ys,
                        std::span<CoefRow> rows);

}  // namespace tarvel
