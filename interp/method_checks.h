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

std::string zeroPivotMessage();
std::string overflowMessage();
std::string noSlopeMessage();

}  // namespace tarvel
