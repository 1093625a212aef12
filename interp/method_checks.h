// What each interpolation method needs of its input, checked in one place
// before any arithmetic. Each check returns the message that tells the user
// what is wrong and what is allowed, or nothing when the input is fine.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "data/capacities.h"
#include "interp/coef_table.h"

namespace tarvel {

// The main window's three methods. Count is not a method: it sizes the
// table of methods, which must hold one row for each.
enum class Method { Polynomial, CubicSpline, PwCubicSpline, Count };

inline constexpr std::size_t kMethodCount = static_cast<std::size_t>(Method::Count);

// Fills rows 0..lastU-1 of the coefficient table; false when the method
// cannot describe these given points.
using CoefficientStep = bool (*)(int lastU, std::span<const double> xU, std::span<const double> yU,
                                 CoefTable& table);

// Everything the Calculate command and its reports need to know of one
// method.
struct MethodRow {
    Method id;
    const char* name;        // begins its refusals: "The cubic spline"
    const char* statusName;  // in the status sentence: "the natural cubic spline"
    const char* legendName;  // in the picture's legend: "Natural cubic spline"
    bool takesDegree;        // both names go on with " of degree " and the degree
    const char* listHeading; // above the listed coefficients; nullptr: lists none
    int minPoints;
    int maxPoints;
    bool dividesByCube;      // its rows divide by the cube of each width
    CoefficientStep coefficients;  // nullptr: each point computed on its own
    std::string (*failureMessage)();  // when the coefficient step fails
    // When a coefficient or a value overflows although the given values are
    // not large.
    std::string (*growthMessage)(Method method, double nDeg, std::string_view separator);
};

const MethodRow& methodRow(Method method);

using Problem = std::optional<std::string>;

// nI = 1 leaves no spacing (1/0); more than 1001 points do not fit.
Problem checkInterpolationCount(double nI, std::string_view separator);

Problem checkGivenCount(double nU, std::string_view separator);

// The degree within the window capacity, and distinct abscissae within the
// window of every interval that can hold an interpolation point.
Problem checkPolynomialWindows(double nDeg, double lastU, std::span<const double> xU,
                               std::string_view separator);

// Point count within the method's limits and distinct consecutive abscissae.
Problem checkSplineInput(Method method, double lastU, std::span<const double> xU,
                         std::string_view separator);

// Abscissae 0..lastU that change direction: the first given point out of
// order is named. Equal neighbours are left to the methods' own checks.
Problem checkOrder(double lastU, std::span<const double> xU, std::string_view separator);

// The abscissae 0..lastU first step downwards (and, once checkOrder has
// passed, never upwards).
bool isDecreasing(double lastU, std::span<const double> xU);


// An overflow is blamed on the given values when the largest of them is
// this large (its square overflows), otherwise on the method.
bool valuesAreLarge(double largestMagnitude);
std::string overflowMessage();

}  // namespace tarvel
