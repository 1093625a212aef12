#include "interp/method_checks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "data/capacities.h"
#include "interp/cube.h"
#include "interp/cubic_spline.h"
#include "interp/lagrange.h"
#include "interp/pw_cubic_spline.h"

namespace tarvel {
namespace {

bool naturalSplineStep(int lastU, std::span<const double> xU, std::span<const double> yU,
                       CoefTable& table)
{
    return naturalCubicSplineCoefs(lastU, xU, yU, table) == SolveStatus::Solved;
}

constexpr std::array<MethodRow, kMethodCount> kMethodRows = {{
    {Method::Polynomial, true, false, 1, kPointCapacity, false, nullptr},
    {Method::CubicSpline, false, true, 1, kCubicSplineCapacity, false, naturalSplineStep},
    {Method::PwCubicSpline, false, true, 2, kPwSplineCapacity, true, pwCubicSplineCoefs},
}};

// Row i describes method i: a method added without its row leaves a
// default row in its place, and the build stops here.
constexpr bool everyMethodHasItsRow()
{
    for (std::size_t i = 0; i < kMethodRows.size(); ++i)
        if (kMethodRows[i].id != static_cast<Method>(i) || kMethodRows[i].maxPoints == 0)
            return false;
    return true;
}
static_assert(everyMethodHasItsRow(), "each method needs its row in kMethodRows, in order");

InputRefusal sharedAbscissa(Method method, int first, int second, double x)
{
    return {InputProblem::SharedAbscissa, method, {first, second}, {x, x}};
}

}  // namespace

const MethodRow& methodRow(Method method)
{
    return kMethodRows[static_cast<std::size_t>(method)];
}

Refused checkInterpolationCount(double nI)
{
    if (nI == 1 || nI > kPointCapacity)
        return InputRefusal{InputProblem::InterpolationCount, std::nullopt, {}, {nI, 0}};
    return std::nullopt;
}

Refused checkGivenCount(double nU)
{
    if (nU > kPointCapacity)
        return InputRefusal{InputProblem::GivenCount, std::nullopt, {}, {nU, 0}};
    return std::nullopt;
}

Refused checkPolynomialWindows(double nDeg, double lastU, std::span<const double> xU)
{
    if (nDeg > kMaxInterpolationDegree)
        return InputRefusal{InputProblem::Degree, Method::Polynomial, {}, {nDeg, 0}};
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
                    Method::Polynomial, std::min(window[k - 1].second, window[k].second),
                    std::max(window[k - 1].second, window[k].second), window[k].first);
    }
    return std::nullopt;
}

Refused checkSplineInput(Method method, double lastU, std::span<const double> xU)
{
    const MethodRow& limits = methodRow(method);
    const double points = loopBound(lastU) + 1.0;
    if (points < limits.minPoints || lastU + 1 > limits.maxPoints)
        return InputRefusal{InputProblem::PointCount, method, {}, {lastU + 1, 0}};
    for (int i = 0; i < loopBound(lastU); ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (xU[at] == xU[at + 1])
            return sharedAbscissa(method, i, i + 1, xU[at]);
        // The PW coefficients divide by the cube of the width.
        if (limits.dividesByCube && cubeIsZero(xU[at + 1] - xU[at]))
            return InputRefusal{InputProblem::TooClose, method, {i, i + 1}, {}};
    }
    return std::nullopt;
}

Refused checkOrder(double lastU, std::span<const double> xU)
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
            return InputRefusal{InputProblem::Unordered, std::nullopt, {i, i + 1}, {from, to}};
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

InputRefusal overflowRefusal(Method method, double nDeg, double largestMagnitude)
{
    const bool valuesAreLarge = largestMagnitude >= std::sqrt(std::numeric_limits<double>::max());
    const InputProblem kind = valuesAreLarge ? InputProblem::LargeValues : InputProblem::Growth;
    return {kind, method, {}, {nDeg, 0}};
}

}  // namespace tarvel
