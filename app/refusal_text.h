// The main window's words: the names of its methods and the sentence for
// each input it refuses.
#pragma once

#include <string>
#include <string_view>

#include "interp/method_checks.h"

namespace tarvel {

struct MethodWords {
    const char* name;         // begins its refusals: "The cubic spline"
    const char* statusName;   // in the status sentence: "the natural cubic spline"
    const char* legendName;   // in the picture's legend: "Natural cubic spline"
    const char* listHeading;  // above the listed coefficients, when it lists them
};

const MethodWords& methodWords(Method method);

// What is wrong and what is allowed, numbers written with the decimal
// separator: "The cubic spline needs distinct abscissae; given points 3 and
// 4 both have x = 0.5."
std::string inputRefusalText(const InputRefusal& refusal, std::string_view separator);

}  // namespace tarvel
