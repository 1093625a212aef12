// A node's influence: the curve a method linear in the data draws for the
// value 1 at that node and 0 at every other (its cardinal function). The
// method's curve for any values is their sum weighted by the values, and the
// sum of their magnitudes is its Lebesgue function.
#pragma once

#include <cstddef>
#include <span>

#include "interp/interpolant.h"

namespace tarvel {

inline bool linearInData(StudyMethod method)
{
    return methodRow(method).linearInData;
}

// The cardinal function of node j of the method on xs at each x into out
// (as long as x); false, writing nothing, when the method refuses the
// nodes. The clamped spline takes the end slopes 0, the part of its curve
// the values give. For a periodic method the first and the last node are
// one point of the period, so picking either gives both the value 1.
bool cardinalCurve(StudyMethod method, std::span<const double> xs, std::size_t j,
                   const MethodParameters& parameters, std::span<const double> x,
                   std::span<double> out);

}  // namespace tarvel
