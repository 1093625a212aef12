// Piecewise cubic Hermite spline with chord-bisector slopes.
#pragma once

#include <span>

#include "data/capacities.h"

#include "interp/coef_table.h"

namespace tarvel {

// The chord-bisector slope at every one of the points xs, ys (at least
// two, same count as slopes). False when the two chords at an interior
// point point in opposite x directions so exactly that their bisector is
// vertical; slopes is then only partly written.
bool chordBisectorSlopes(std::span<const double> xs, std::span<const double> ys,
                         std::span<double> slopes);

// Fills rows 0..lastU-1 of table with the cubic Hermite pieces whose slopes
// are the bisectors of the neighbouring chord directions (end points take
// the slope of their inner neighbour). lastU must lie in 1..301 and
// consecutive abscissae must differ. Returns false, writing no row, when the
// sum of the chord cosines at an interior point is 0.
bool pwCubicSplineCoefs(int lastU, std::span<const double> xU, std::span<const double> yU,
                        CoefTable& table);

}  // namespace tarvel
