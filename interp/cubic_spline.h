// Cubic spline coefficients: natural, clamped or not-a-knot ends.
#pragma once

#include <span>

#include "data/capacities.h"

#include "interp/coef_table.h"
#include "interp/tridiagonal.h"

namespace tarvel {

enum class SplineEnds {
    Natural,   // second derivative 0 at both ends
    Clamped,   // given first derivatives at both ends
    NotAKnot,  // third derivative continuous at the second and the last but one node
};

struct EndSlopes {
    double left = 0;
    double right = 0;
};

// Rows 0 .. n-2 of rows become the cubic spline through the n >= 2 points
// xs, ys (same count) with the given ends (slopes read for Clamped only).
// With not-a-knot ends two points give the line and three the parabola.
// The natural spline's rows are the main window's, bit for bit. Consecutive
// abscissae must differ; for increasing or decreasing abscissae no pivot is
// zero. On failure no row is written.
SolveStatus cubicSplineRows(SplineEnds ends, const EndSlopes& slopes, std::span<const double> xs,
                            std::span<const double> ys, std::span<CoefRow> rows);

// Fills rows 0..lastU-1 of table with the natural cubic spline through the
// given points 0..lastU (second derivative 0 at both ends); other rows are
// left as they are. lastU must lie in -1..100 and consecutive abscissae must
// differ. Reports the solver's status; on failure no row is written.
SolveStatus naturalCubicSplineCoefs(int lastU, std::span<const double> xU,
                                    std::span<const double> yU, CoefTable& table);

}  // namespace tarvel
