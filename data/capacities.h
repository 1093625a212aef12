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

// Rows of the coefficient table: one cubic per interval of a spline.
inline constexpr int kCoefRows = 301;

// The natural cubic spline's system: one equation per given point.
inline constexpr int kCubicSplineCapacity = 101;

// The PW cubic spline: one coefficient row per interval, so one given point
// more than there are rows.
inline constexpr int kPwSplineCapacity = kCoefRows + 1;

// The tridiagonal solver's working arrays: equations.
inline constexpr int kThomasCapacity = 301;

// The local polynomial's window holds degree + 1 given points.
inline constexpr int kMaxInterpolationDegree = 100;
inline constexpr int kWindowCapacity = kMaxInterpolationDegree + 1;

// Coefficients a0..a4 of the test polynomial: degrees 0 to 4.
inline constexpr int kPolyCapacity = 5;
inline constexpr int kMaxTestDegree = kPolyCapacity - 1;

// A test function is sampled with the step 1 / lastU.
inline constexpr int kMinSampledPoints = 2;

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
