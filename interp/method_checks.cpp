#include "interp/method_checks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "data/capacities.h"
#include "data/list_format.h"
#include "interp/cube.h"
#include "interp/cubic_spline.h"
#include "interp/lagrange.h"
#include "interp/pw_cubic_spline.h"

namespace tarvel {
namespace {

std::string zeroPivotMessage()
{
    return "The cubic spline cannot be solved for these given points (a zero pivot); "
           "it needs abscissae in increasing or decreasing order.";
}

std::string noSlopeMessage()
{
    return "The PW cubic spline finds no slope where two chords point in opposite directions; "
           "it needs abscissae in increasing or decreasing order.";
}

std::string noFailure()
{
    return {};
}

std::string polynomialGrowthMessage(Method, double nDeg, std::string_view separator)
{
    return "The polynomial of degree " + formatPlain(nDeg, separator) +
           " through these abscissae grows too large between them: an interpolated value "
           "overflows the range of numbers, although the given values are not large. Choose a "
           "lower degree.";
}

std::string splineGrowthMessage(Method method, double, std::string_view)
{
    return std::string(methodRow(method).name) +
           " grows too large between these abscissae: a coefficient or an interpolated value "
           "overflows the range of numbers, although the given values are not large. Given "
           "points that lie very close together cause this; spread them further apart.";
}

bool naturalSplineStep(int lastU, std::span<const double> xU, std::span<const double> yU,
                       CoefTable& table)
{
    return naturalCubicSplineCoefs(lastU, xU, yU, table) == SolveStatus::Solved;
}

constexpr const char* kSplineHeading = "Cubic spline coefficients";

constexpr std::array<MethodRow, kMethodCount> kMethodRows = {{
    {Method::Polynomial, "Polynomial interpolation", "polynomial interpolation",
     "Polynomial interpolation", true, nullptr, 1, kPointCapacity, false, nullptr, noFailure,
     polynomialGrowthMessage},
    {Method::CubicSpline, "The cubic spline", "the natural cubic spline", "Natural cubic spline",
     false, kSplineHeading, 1, kCubicSplineCapacity, false, naturalSplineStep, zeroPivotMessage,
     splineGrowthMessage},
    {Method::PwCubicSpline, "The PW cubic spline", "the PW cubic spline", "PW cubic spline", false,
     kSplineHeading, 2, kPwSplineCapacity, true, pwCubicSplineCoefs, noSlopeMessage,
     splineGrowthMessage},
}};

// Row i describes method i: a method added without its row leaves a
// default row in its place, and the build stops here.
constexpr bool everyMethodHasItsRow()
{
    for (std::size_t i = 0; i < kMethodRows.size(); ++i)
        if (kMethodRows[i].id != static_cast<Method>(i) || kMethodRows[i].name == nullptr)
            return false;
    return true;
}
static_assert(everyMethodHasItsRow(), "each method needs its row in kMethodRows, in order");

std::string sharedAbscissa(const char* who, int first, int second, double x,
                           std::string_view separator)
{
    return std::string(who) + " needs distinct abscissae; given points " + formatIndex(first) +
           " and " + formatIndex(second) + " both have x = " + formatValue(x, separator) + ".";
}

}  // namespace

const MethodRow& methodRow(Method method)
{
    return kMethodRows[static_cast<std::size_t>(method)];
}

Problem checkInterpolationCount(double nI, std::string_view separator)
{
    if (nI == 1 || nI > kPointCapacity)
        return "The number of interpolation points Ni must not be 1 (no spacing) and must not "
               "exceed " +
               formatIndex(kPointCapacity) + "; it is " + formatPlain(nI, separator) + ".";
    return std::nullopt;
}

Problem checkGivenCount(double nU, std::string_view separator)
{
    if (nU > kPointCapacity)
        return "The number of given points must not exceed " + formatIndex(kPointCapacity) +
               "; it is " + formatPlain(nU, separator) + ".";
    return std::nullopt;
}

Problem checkPolynomialWindows(double nDeg, double lastU, std::span<const double> xU,
                               std::string_view separator)
{
    if (nDeg > kMaxInterpolationDegree)
        return "Polynomial interpolation takes a degree of at most " +
               formatIndex(kMaxInterpolationDegree) + "; it is " + formatPlain(nDeg, separator) +
               ".";
    const int last = loopBound(lastU);
    // The strictly rising run that ends at each point: a window inside one
    // run repeats no abscissa, and only the others need sorting.
    const std::size_t held = std::min(xU.size(), static_cast<std::size_t>(kPointCapacity));
    std::vector<int> risingRun(held, 0);
    for (std::size_t k = 1; k < held; ++k)
        risingRun[k] = xU[k - 1] < xU[k] ? risingRun[k - 1] + 1 : 0;
    const int widest = nDeg >= 0 ? static_cast<int>(std::floor(nDeg)) : -1;
    std::vector<std::pair<double, int>> window;
    for (int j = 0; j < last; ++j) {
        const auto at = static_cast<std::size_t>(j);
        if (!(xU[at] < xU[at + 1]))
            continue;  // no interpolation point lies strictly inside
        const int start = windowStart(nDeg, lastU, j);
        const int end = std::min(start + widest, kPointCapacity - 1);
        if (end <= start || (static_cast<std::size_t>(end) < held &&
                             risingRun[static_cast<std::size_t>(end)] >= end - start))
            continue;
        window.clear();
        for (int k = 0; k <= nDeg && start + k < kPointCapacity; ++k)
            window.emplace_back(xU[static_cast<std::size_t>(start + k)], start + k);
        std::sort(window.begin(), window.end());
        for (std::size_t k = 1; k < window.size(); ++k)
            if (window[k - 1].first == window[k].first)
                return sharedAbscissa(
                    "Polynomial interpolation", std::min(window[k - 1].second, window[k].second),
                    std::max(window[k - 1].second, window[k].second), window[k].first, separator);
    }
    return std::nullopt;
}

Problem checkSplineInput(Method method, double lastU, std::span<const double> xU,
                         std::string_view separator)
{
    const MethodRow& limits = methodRow(method);
    const double points = loopBound(lastU) + 1.0;
    if (points < limits.minPoints || lastU + 1 > limits.maxPoints)
        return std::string(limits.name) + " takes from " + formatIndex(limits.minPoints) + " to " +
               formatIndex(limits.maxPoints) + " given points; there are " +
               formatPlain(lastU + 1, separator) + ".";
    for (int i = 0; i < loopBound(lastU); ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (xU[at] == xU[at + 1])
            return sharedAbscissa(limits.name, i, i + 1, xU[at], separator);
        // The PW coefficients divide by the cube of the width.
        if (limits.dividesByCube && cubeIsZero(xU[at + 1] - xU[at]))
            return std::string(limits.name) + " needs given points further apart; given points " +
                   formatIndex(i) + " and " + formatIndex(i + 1) +
                   " are too close for the cube of their distance to be held.";
    }
    return std::nullopt;
}

Problem checkOrder(double lastU, std::span<const double> xU, std::string_view separator)
{
    int direction = 0;  // +1 increasing, -1 decreasing, 0 not yet seen
    for (int i = 0; i < loopBound(lastU); ++i) {
        const double from = xU[static_cast<std::size_t>(i)];
        const double to = xU[static_cast<std::size_t>(i + 1)];
        const int step = to > from ? 1 : to < from ? -1 : 0;
        if (step == 0)
            continue;
        if (direction == 0)
            direction = step;
        else if (step != direction)
            return "The given points must be in increasing or decreasing order of x; given "
                   "point " +
                   formatIndex(i + 1) + " (x = " + formatPlain(to, separator) +
                   ") is out of order after given point " + formatIndex(i) +
                   " (x = " + formatPlain(from, separator) + ").";
    }
    return std::nullopt;
}

bool isDecreasing(double lastU, std::span<const double> xU)
{
    for (int i = 0; i < loopBound(lastU); ++i) {
        const double from = xU[static_cast<std::size_t>(i)];
        const double to = xU[static_cast<std::size_t>(i + 1)];
        if (to != from)
            return to < from;
    }
    return false;
}

std::string overflowMessage()
{
    return "The given values are too large for this method: a coefficient or an interpolated "
           "value overflows the range of numbers. Scale the data down.";
}

bool valuesAreLarge(double largestMagnitude)
{
    return largestMagnitude >= std::sqrt(std::numeric_limits<double>::max());
}

}  // namespace tarvel
