// Natural cubic spline coefficients.
#pragma once

#include <span>

#include "interp/coef_table.h"
#include "interp/tridiagonal.h"

namespace tarvel {

inline constexpr int kCubicSplineCapacity = 101;  // given points

// Fills rows 0..lastU-1 of table with the natural cubic spline through the
// given points 0..lastU (second derivative 0 at both ends); other rows are
// left as they are. lastU must lie in -1..100 and consecutive abscissae must
// differ. Reports the solver's status; on failure no row is written.
SolveStatus naturalCubicSplineCoefs(int lastU, std::span<const double> xU,
                                    std::span<const double> yU, CoefTable& table);

}  // namespace tarvel
