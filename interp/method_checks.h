// What each interpolation method needs of its input, checked in one place
// before any arithmetic. Each check returns why the input is refused, as
// data, or nothing when the input is fine; the main window words it.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "data/capacities.h"
#include "interp/coef_table.h"

namespace tarvel {

// The main window's three methods. Count is not a method: it sizes the
// table of methods, which must hold one row for each.
enum class Method { Polynomial, CubicSpline, PwCubicSpline, Count };

inline constexpr std::size_t kMethodCount = static_cast<std::size_t>(Method::Count);

// Why the inputs of a command were refused.
enum class InputProblem {
    InterpolationCount,   // numbers[0] the count Ni: 1, or beyond the capacity
    GivenCount,           // numbers[0] the count, beyond the capacity
    Degree,               // numbers[0] the degree, beyond the window capacity
    PointCount,           // numbers[0] the count, outside the method's limits
    SharedAbscissa,       // given points {i, j} both at numbers[0]
    TooClose,             // given points {i, i + 1}: the cube of their distance underflows
    Unordered,            // given point points[1] at numbers[1] after points[0] at numbers[0]
    Unsolvable,           // the coefficient step failed
    Growth,               // a result overflows although the given values are not large;
                          // numbers[0] the degree, for the method that takes one
    LargeValues,          // a result overflows and the given values are large
    SampledCount,         // numbers[0] the count, outside what a test function is sampled at
    TestDegree,           // numbers[0] the test polynomial's degree: -1, or beyond its capacity
    TestCoefficients,     // the sum of the test polynomial's coefficients overflows
    ExistingPoints,       // numbers[1] the count, beyond the numbers[0] given points that exist
    NoDataSet,            // the data set chosen, none loaded
    NoTestFunction,       // OK with no option of the given points selected
    NotReady,             // Calculate before OK has given the points
    DegreeNotBelowCount,  // numbers[0] the count nU, not above the degree
};

struct InputRefusal {
    InputProblem kind = InputProblem::LargeValues;
    std::optional<Method> method;  // the method that refuses; none for a count
    std::array<int, 2> points{};
    std::array<double, 2> numbers{};
};

using Refused = std::optional<InputRefusal>;

// Fills rows 0..lastU-1 of the coefficient table; false when the method
// cannot describe these given points.
using CoefficientStep = bool (*)(int lastU, std::span<const double> xU, std::span<const double> yU,
                                 CoefTable& table);

// Everything the Calculate command needs to know of one method.
struct MethodRow {
    Method id;
    bool takesDegree;        // its names go on with " of degree " and the degree
    bool listsCoefficients;  // the coefficient table goes into the list
    int minPoints;
    int maxPoints;
    bool dividesByCube;            // its rows divide by the cube of each width
    CoefficientStep coefficients;  // nullptr: each point computed on its own
};

const MethodRow& methodRow(Method method);

// nI = 1 leaves no spacing (1/0); more than 1001 points do not fit.
Refused checkInterpolationCount(double nI);

Refused checkGivenCount(double nU);

// The degree within the window capacity, and distinct abscissae within the
// window of every interval that can hold an interpolation point.
Refused checkPolynomialWindows(double nDeg, double lastU, std::span<const double> xU);

// Point count within the method's limits and distinct consecutive abscissae.
Refused checkSplineInput(Method method, double lastU, std::span<const double> xU);

// Abscissae 0..lastU that change direction: the first given point out of
// order is named. Equal neighbours are left to the methods' own checks.
Refused checkOrder(double lastU, std::span<const double> xU);

// The abscissae 0..lastU first step downwards (and, once checkOrder has
// passed, never upwards).
bool isDecreasing(double lastU, std::span<const double> xU);

// A result of the method that overflowed: blamed on the given values when
// the largest of them is this large (its square overflows), otherwise on
// the method.
InputRefusal overflowRefusal(Method method, double nDeg, double largestMagnitude);

}  // namespace tarvel
