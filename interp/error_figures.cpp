// Error figures and Lebesgue functions on the fixed grid.
#include "interp/error_figures.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "interp/barycentric.h"
#include "interp/floater_hormann.h"
#include "interp/lagrange.h"

namespace tarvel {
namespace {

// The local polynomial's Lebesgue function: at each x that of the window
// its value comes from, with the weights the interpolant keeps for it.
void localLebesgue(const Interpolant& p, std::span<const double> x, std::span<double> out)
{
    const auto count = static_cast<std::size_t>(p.parameter()) + 1;
    for (std::size_t k = 0; k < x.size(); ++k) {
        const std::size_t start = localWindowStart(p, x[k]);
        out[k] = barycentricLebesgue(p.xs().subspan(start, count), p.windowWeights(start), x[k]);
    }
}

}  // namespace

std::size_t localWindowStart(const Interpolant& local, double x)
{
    const std::span<const double> xs = local.xs();
    const auto above = std::upper_bound(xs.begin(), xs.end(), x) - xs.begin();
    const int interval =
        static_cast<int>(std::clamp<std::ptrdiff_t>(above - 1, 0, std::ssize(xs) - 2));
    return static_cast<std::size_t>(
        windowStart(local.parameter(), static_cast<double>(xs.size() - 1), interval));
}

// The largest of values and the first x where it occurs; a NaN counts as
// larger than any number.
LebesgueMaximum firstLargest(std::span<const double> x, std::span<const double> values)
{
    LebesgueMaximum best{values.empty() ? 0 : values[0], x.empty() ? 0 : x[0]};
    for (std::size_t k = 1; k < values.size(); ++k) {
        if (std::isnan(best.value))
            break;
        if (std::isnan(values[k]) || values[k] > best.value)
            best = {values[k], x[k]};
    }
    return best;
}

const std::vector<double>& errorGrid()
{
    static const std::vector<double> grid = [] {
        std::vector<double> x(kErrorGridPoints);
        for (int k = 0; k < kErrorGridPoints; ++k)
            x[static_cast<std::size_t>(k)] = k / 10000.0;
        return x;
    }();
    return grid;
}

ErrorFigures errorFiguresOf(std::span<const double> x, std::span<const double> p,
                            std::span<const double> f, double nodeLow, double nodeHigh,
                            double firstNode, double lastNode)
{
    ErrorFigures figures;
    double sumOfSquares = 0;
    double highest = nodeHigh;
    double lowest = nodeLow;
    std::vector<double> errors(x.size());
    for (std::size_t k = 0; k < x.size(); ++k) {
        errors[k] = std::fabs(p[k] - f[k]);
        sumOfSquares += errors[k] * errors[k];
        highest = std::max(highest, p[k]);
        lowest = std::min(lowest, p[k]);
    }
    const LebesgueMaximum largest = firstLargest(x, errors);
    figures.maxError = largest.value;
    figures.maxErrorX = largest.x;
    figures.maxErrorOutside = !x.empty() && (largest.x < firstNode || largest.x > lastNode);
    // x rises: the points within the nodes are one run of them.
    const auto from =
        static_cast<std::size_t>(std::lower_bound(x.begin(), x.end(), firstNode) - x.begin());
    const auto to =
        static_cast<std::size_t>(std::upper_bound(x.begin(), x.end(), lastNode) - x.begin());
    if (from < to) {
        const LebesgueMaximum inside = firstLargest(
            x.subspan(from, to - from), std::span<const double>(errors).subspan(from, to - from));
        figures.insideMaxError = inside.value;
        figures.insideMaxErrorX = inside.x;
    }
    const double count = static_cast<double>(std::max<std::size_t>(x.size(), 1));
    figures.rmsError = std::sqrt(sumOfSquares / count);
    if (std::isinf(sumOfSquares) && std::isfinite(figures.maxError)) {
        // The squares overflowed: the same mean taken relative to the
        // largest error.
        double relative = 0;
        for (std::size_t k = 0; k < x.size(); ++k) {
            const double scaled = std::fabs(p[k] - f[k]) / figures.maxError;
            relative += scaled * scaled;
        }
        figures.rmsError = figures.maxError * std::sqrt(relative / count);
    }
    figures.overshoot = std::max({0.0, highest - nodeHigh, nodeLow - lowest});
    return figures;
}

std::vector<double> valuesOnGrid(const StudyFunction& f)
{
    return functionValues(f, errorGrid());
}

ErrorFigures errorFigures(const Interpolant& p, std::span<const double> exactOnGrid)
{
    const std::vector<double>& grid = errorGrid();
    std::vector<double> values(grid.size());
    p.evaluate(grid, values);
    const auto [low, high] = std::minmax_element(p.ys().begin(), p.ys().end());
    return errorFiguresOf(grid, values, exactOnGrid, *low, *high, p.xs().front(), p.xs().back());
}

ErrorFigures errorFigures(const Interpolant& p, const StudyFunction& f)
{
    return errorFigures(p, valuesOnGrid(f));
}

bool lebesgueFunction(const Interpolant& p, std::span<const double> x, std::span<double> out)
{
    if (p.method() == StudyMethod::Global) {
        for (std::size_t k = 0; k < x.size(); ++k)
            out[k] = barycentricLebesgue(p.xs(), p.weights(), x[k]);
        return true;
    }
    if (p.method() == StudyMethod::Fh) {
        for (std::size_t k = 0; k < x.size(); ++k)
            out[k] = floaterHormannLebesgue(p.xs(), p.weights(), x[k]);
        return true;
    }
    if (p.method() == StudyMethod::Local) {
        localLebesgue(p, x, out);
        return true;
    }
    return false;
}

std::optional<LebesgueMaximum> lebesgueConstant(const Interpolant& p)
{
    const std::vector<double>& grid = errorGrid();
    std::vector<double> values(grid.size());
    if (!lebesgueFunction(p, grid, values))
        return std::nullopt;
    return firstLargest(grid, values);
}

}  // namespace tarvel
