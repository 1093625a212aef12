// The interpolation methods a student compares, each built once from nodes
// and values and then evaluated, with its first and second derivative, at
// any x. Pure numerics: no window, no message box. The methods themselves
// are the rows of interp/method_table.h.
//
// Outside [xs.front(), xs.back()] the piecewise methods extend their end
// pieces; global and local extend their polynomials, fh its rational
// function, trig its period.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interp/method_table.h"

namespace tarvel {

// The short key, e.g. "notaknot".
const char* studyMethodKey(StudyMethod method);

// A name for people, e.g. "Not-a-knot cubic spline".
const char* studyMethodName(StudyMethod method);

std::optional<StudyMethod> studyMethodFromKey(std::string_view key);

// What some methods need besides the nodes. Others ignore it.
struct MethodSettings {
    MethodParameters parameters;  // the local degree, fh's d, bspline's k
    double leftSlope = 0;         // clamped: p'(xs.front())
    double rightSlope = 0;        // clamped: p'(xs.back())
};

// One built interpolant. Cheap to move; evaluation is const and may run on
// several threads at once.
class Interpolant {
public:
    StudyMethod method() const { return method_; }
    std::span<const double> xs() const { return xs_; }
    std::span<const double> ys() const { return ys_; }
    // The local degree, fh's d or bspline's k; 0 for the other methods.
    int parameter() const { return data_.parameter; }
    GlobalForm globalForm() const { return globalForm_; }

    // p, p' and p'' at x. At a node, value is the node's y exactly.
    PointValues at(double x) const;
    double value(double x) const;

    // Batched: p(x[k]) into value[k] and, when the spans are not empty,
    // p'(x[k]) into first[k] and p''(x[k]) into second[k]. Each non-empty
    // output must be at least as long as x. The same numbers as at().
    void evaluate(std::span<const double> x, std::span<double> value, std::span<double> first = {},
                  std::span<double> second = {}) const;

    // For global and fh: the barycentric weights (scaled so that the
    // largest has magnitude 1). Empty for the other methods.
    std::span<const double> weights() const { return data_.weights; }
    // What an own method keeps from its build (aaa's support points).
    const MethodData& data() const { return data_; }
    // For local: the barycentric weights of the window of parameter() + 1
    // nodes from xs()[start], computed when first asked for and kept for
    // every later evaluation, the Lebesgue function and every copy.
    std::span<const double> windowWeights(std::size_t start) const;

private:
    friend class InterpolantBuilder;
    StudyMethod method_ = StudyMethod::Linear;
    GlobalForm globalForm_ = GlobalForm::Barycentric;  // global: how p is evaluated
    std::vector<double> xs_;
    std::vector<double> ys_;
    MethodData data_;  // global's weights, the parameter, an own method's numbers
    // global: p' and p'' at the nodes, computed when first asked for
    std::shared_ptr<struct NodeSlopes> nodeSlopes_;
    // local: each window's weights, computed when first asked for
    std::shared_ptr<struct WindowWeights> windowWeights_;
    // Piecewise cubics: piece j on [xs[j], xs[j+1]] is
    // a + b t + c t^2 + d t^3 in t = x - xs[j], stored as 4 numbers a, b, c, d.
    std::vector<std::array<double, 4>> pieces_;
};

// Why a method cannot take its nodes or its settings, as the lab words it.
enum class RefusalKind {
    ValueCount,       // nodes: {nodes, values}
    NodeCount,        // nodes: {nodes, 0}, outside the row's limits
    NotFinite,        // nodes[0] at numbers {x, y}
    SharedAbscissa,   // nodes {i, i + 1} at numbers {x, x}
    Unordered,        // node nodes[1] at numbers[1] after nodes[0] at numbers[0]
    TooClose,         // nodes {i, i + 1}: the cube of their distance underflows
    TooWide,          // from the first node to the last exceeds the range of numbers
    NotPeriodic,      // numbers {first value, last value}
    NotEvenlySpaced,  // nodes[0] at numbers[0], where evenly spaced nodes have numbers[1]
    Parameter,        // nodes[0] nodes; numbers[0] the value, highest the most allowed
    EndSlopes,        // numbers {left slope, right slope}
    Unweighable,      // weights spread beyond the range of numbers
    Overflow,         // a coefficient overflows
};

struct MethodRefusal {
    RefusalKind kind = RefusalKind::Overflow;
    std::array<std::size_t, 2> nodes{};
    std::array<double, 2> numbers{};
    int highest = 0;
};

// Either the built interpolant, or why the nodes or the settings were
// refused. Refused: fewer nodes than the method's row allows or more than
// 1001, xs and ys of different lengths, a value that is not finite, equal
// or unordered abscissae (xs must rise strictly), nodes spread beyond the
// range of numbers, for the Hermite methods nodes so close that the cube of
// their distance underflows, a parameter outside its row's range or above
// n - 1, clamped end slopes that are not finite, for periodic and trig a
// last value that differs from the first by more than a few units of
// rounding, for trig nodes not evenly spaced, coefficients that overflow,
// and for global and fh nodes whose weights span more than the range of
// numbers.
struct BuildResult {
    std::optional<Interpolant> interpolant;
    std::optional<MethodRefusal> refusal;
};

BuildResult buildInterpolant(StudyMethod method, std::span<const double> xs,
                             std::span<const double> ys, const MethodSettings& settings = {});

}  // namespace tarvel
