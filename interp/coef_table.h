// The coefficient table through which the spline methods hand their cubics
// to the evaluation.
#pragma once

#include <array>
#include <cstddef>

#include "data/capacities.h"

namespace tarvel {

inline constexpr std::size_t kCoefColumns = 4;

// Row j: the cubic of the interval from xU(j) to xU(j+1) in t = x - xU(j),
// row[0] + row[1]*t + row[2]*t^2 + row[3]*t^3.
using CoefRow = std::array<double, kCoefColumns>;
using CoefTable = std::array<CoefRow, kCoefRows>;

}  // namespace tarvel
