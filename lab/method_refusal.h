// The sentence that tells why a study method refused its nodes or its
// settings.
#pragma once

#include <string>

#include "interp/interpolant.h"

namespace tarvel {

// E.g. "The not-a-knot cubic spline needs distinct abscissae; nodes 3 and 4
// both have x = 0.5."
std::string refusalText(StudyMethod method, const MethodRefusal& refusal);

}  // namespace tarvel
