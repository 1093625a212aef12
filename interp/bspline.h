// B-spline interpolation of odd degree with not-a-knot knots.
#pragma once

#include <span>

#include "interp/method_table.h"

namespace tarvel {

// The spline of degree k = data.parameter (odd, 1 .. n - 1) through the n
// rising nodes: knots into data.knots, the n B-spline coefficients and
// those of its first and second derivatives into data.coefs. False when
// the collocation system meets a zero pivot or a coefficient overflows.
bool bsplineBuild(std::span<const double> xs, std::span<const double> ys, MethodData& data);

// s, s' and s'' at x; beyond the nodes the end pieces go on.
PointValues bsplineAt(std::span<const double> xs, std::span<const double> ys,
                      const MethodData& data, double x, bool withSlopes);

}  // namespace tarvel
