// What each interpolation method needs of its input, checked in one place
// before any arithmetic. Each check returns the message that tells the user
// what is wrong and what is allowed, or nothing when the input is fine.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarvel {

enum class Method { Polynomial, CubicSpline, PwCubicSpline };

struct MethodLimits {
    const char* name;
    int minPoints;
    int maxPoints;
};

const MethodLimits& limitsOf(Method method);

inline constexpr int kMaxInterpolationDegree = 100;

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

std::string zeroPivotMessage();
std::string noSlopeMessage();

// An overflow is blamed on the given values when the largest of them is
// this large (its square overflows), otherwise on the method.
bool valuesAreLarge(double largestMagnitude);
std::string overflowMessage();
std::string polynomialGrowthMessage(double nDeg, std::string_view separator);
std::string splineGrowthMessage(Method method);

}  // namespace tarvel
