// Fitting the picture's world coordinates to the data.
#pragma once

#include <span>

#include "interp/evaluation.h"
#include "plot/drawing.h"

namespace tarvel {

struct Extent {
    double yMin = 0;
    double yMax = 0;
};

// The smallest and largest of 0 and the values 0..lastU of yU and
// 0..lastI of yI (strict comparisons, so NaN never takes part). With
// settled given, only the entries of yI that it marks settled take part:
// the others hold values of an earlier command.
Extent verticalExtent(std::span<const double> yU, int lastU, std::span<const double> yI, int lastI,
                      std::span<const Settlement> settled = {});

// x from -0.1 to 1.1; y from yMin - d to yMax + d with d a tenth of yMax
// (of |yMin| when yMax is 0). An empty extent (all values 0) shows -1..1;
// a corner beyond the range of a double is held at the largest double.
WorldRect worldFor(const Extent& extent);

}  // namespace tarvel
