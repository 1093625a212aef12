// Round steps for the scale of the picture; their labels are number texts
// (data/number_text.h).
#pragma once

#include <vector>

namespace tarvel {

// The smallest step of the form 1, 2 or 5 times a power of ten that puts at
// most maxTicks steps between lo and hi; 0 when the range is empty, not
// finite, or maxTicks is below 1. Works for extents from the smallest
// normal doubles to the largest ones.
double tickStep(double lo, double hi, int maxTicks);

// The whole multiples of tickStep(lo, hi, maxTicks) within [lo, hi], in
// ascending order; empty when there is no step. A tick at zero is exactly 0.
std::vector<double> ticksIn(double lo, double hi, int maxTicks);

}  // namespace tarvel
