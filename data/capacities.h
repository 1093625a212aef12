// The fixed capacities of the program's arrays, each defined once. Every
// check and every message that names one of these limits takes it from here.
//
// They live beside the given points (data/) because the lowest layer that
// needs them is the data-set reader, which depends on nothing else of the
// program; the methods, their checks and the main window include them from
// here, so no file of pure functions has to reach into the window (app/).
#pragma once

#include <cmath>

namespace tarvel {

// Given points xU, yU and interpolation points xI, yI: slots 0..1000, so at
// most 1001 points of each kind (a data set too).
inline constexpr int kPointCapacity = 1001;

// The interval arrays of the two spline methods. Their point limits (101 and
// 302) come first, so these are never the binding limit.
inline constexpr int kIntervalCapacity = 501;

// Coefficients a0..a4 of the test polynomial.
inline constexpr int kPolyCapacity = 5;

// The last whole number that a loop from 0 up to the real bound visits,
// kept within the point arrays (-1 when the loop visits nothing, also for
// NaN).
inline int loopBound(double bound)
{
    if (!(bound >= 0))
        return -1;
    if (bound >= kPointCapacity - 1)
        return kPointCapacity - 1;
    return static_cast<int>(std::floor(bound));
}

}  // namespace tarvel
