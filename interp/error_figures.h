// How far an interpolant is from the function it interpolates, measured on
// the fixed grid x(k) = k / 10000, k = 0 .. 10000, and the Lebesgue
// function of the linear methods.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "interp/interpolant.h"
#include "interp/study_functions.h"

namespace tarvel {

inline constexpr int kErrorGridPoints = 10001;

// x(k) = k / 10000 for k = 0 .. 10000.
const std::vector<double>& errorGrid();

struct ErrorFigures {
    double maxError = 0;    // the largest |p - f| on the grid
    double maxErrorX = 0;   // the first grid x where it occurs
    double rmsError = 0;    // sqrt(mean of (p - f)^2) over the grid
    double overshoot = 0;   // how far p rises above the largest node value
                            // or falls below the smallest; 0 when it stays inside
    // Where the nodes do not reach 0 or 1 the methods extrapolate, with a
    // conditioning of their own: whether the largest error lies outside
    // [first node, last node], and the largest error within it (nothing when
    // no grid point lies there).
    bool maxErrorOutside = false;
    std::optional<double> insideMaxError;
    double insideMaxErrorX = 0;
};

// The figures of p against f on errorGrid(). A NaN error counts as the
// largest (the first one is reported).
ErrorFigures errorFigures(const Interpolant& p, const StudyFunction& f);

// The same with f's values on the grid given, exactOnGrid[k] = f(x(k)):
// many interpolants of one function need them only once.
ErrorFigures errorFigures(const Interpolant& p, std::span<const double> exactOnGrid);

// f(x(k)) at every grid point.
std::vector<double> valuesOnGrid(const StudyFunction& f);

// The same figures from values already computed at the rising points x:
// p[k], f[k] at x[k]; nodeLow/nodeHigh are the smallest and largest node
// values (for the overshoot), firstNode/lastNode the nodes' extent.
ErrorFigures errorFiguresOf(std::span<const double> x, std::span<const double> p,
                            std::span<const double> f, double nodeLow, double nodeHigh,
                            double firstNode, double lastNode);

// Lebesgue function sum_i |l_i(x)| at each x into out (same length as x):
// global by the barycentric first form, fh by its second form, local window by window (the window of
// the interval that holds x, as for the values). False, writing nothing,
// for the other methods.
bool lebesgueFunction(const Interpolant& p, std::span<const double> x, std::span<double> out);

// The first node of the local polynomial's window at x: the window of the
// interval that holds x (the first or last interval outside the nodes).
std::size_t localWindowStart(const Interpolant& local, double x);

struct LebesgueMaximum {
    double value = 0;  // the largest Lebesgue function value on errorGrid()
    double x = 0;      // the first grid x where it occurs
};

// Nothing for methods other than global, local and fh.
std::optional<LebesgueMaximum> lebesgueConstant(const Interpolant& p);

// The largest of values at x and the first x where it occurs; a NaN counts
// as larger than any number. The error figures take their largest errors so.
LebesgueMaximum firstLargest(std::span<const double> x, std::span<const double> values);

}  // namespace tarvel
