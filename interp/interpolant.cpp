// Building and evaluating the comparison methods. Every input is checked
// here, once, before any arithmetic; the methods' own files compute.
//
// The piecewise methods become cubic pieces a + b t + c t^2 + d t^3 and
// are evaluated by Horner's rule with their derivatives b + t (2c + 3d t)
// and 2c + 6d t. The global polynomial keeps its barycentric weights and
// its derivatives at the nodes. The local polynomial takes the main
// window's windows, each in barycentric form, its derivatives from its Newton form.
// The other methods build and evaluate themselves through their rows.
#include "interp/interpolant.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <mutex>

#include "interp/barycentric.h"
#include "interp/cube.h"
#include "interp/global_forms.h"
#include "interp/hermite_rows.h"
#include "interp/lagrange.h"
#include "interp/newton_form.h"

namespace tarvel {
namespace {

using MaybeRefusal = std::optional<MethodRefusal>;

// A few units of rounding of the largest magnitude among the numbers.
double roundingOf(std::span<const double> numbers)
{
    double largest = 0;
    for (const double v : numbers)
        largest = std::max(largest, std::fabs(v));
    return 8 * std::numeric_limits<double>::epsilon() * largest;
}

MaybeRefusal checkPeriodic(const StudyMethodRow& row, std::span<const double> xs,
                      std::span<const double> ys)
{
    if (std::fabs(ys.back() - ys.front()) > roundingOf(ys))
        return MethodRefusal{RefusalKind::NotPeriodic, {}, {ys.front(), ys.back()}};
    if (!row.evenlySpaced)
        return std::nullopt;
    const double span = xs.back() - xs.front();
    const double last = static_cast<double>(xs.size() - 1);
    const double tolerance = roundingOf(std::array{xs.front(), xs.back(), span});
    for (std::size_t i = 1; i + 1 < xs.size(); ++i) {
        const double even = xs.front() + span * (static_cast<double>(i) / last);
        if (std::fabs(xs[i] - even) > tolerance)
            return MethodRefusal{RefusalKind::NotEvenlySpaced, {i, 0}, {xs[i], even}};
    }
    return std::nullopt;
}

MaybeRefusal checkNodes(StudyMethod method, std::span<const double> xs, std::span<const double> ys)
{
    if (xs.size() != ys.size())
        return MethodRefusal{RefusalKind::ValueCount, {xs.size(), ys.size()}};
    const StudyMethodRow& row = methodRow(method);
    if (xs.size() < static_cast<std::size_t>(row.minNodes) ||
        xs.size() > static_cast<std::size_t>(row.maxNodes))
        return MethodRefusal{RefusalKind::NodeCount, {xs.size(), 0}};
    for (std::size_t i = 0; i < xs.size(); ++i)
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i]))
            return MethodRefusal{RefusalKind::NotFinite, {i, 0}, {xs[i], ys[i]}};
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        if (xs[i] == xs[i + 1])
            return MethodRefusal{RefusalKind::SharedAbscissa, {i, i + 1}, {xs[i], xs[i]}};
        if (xs[i + 1] < xs[i])
            return MethodRefusal{RefusalKind::Unordered, {i, i + 1}, {xs[i], xs[i + 1]}};
        if (row.dividesByCubedWidths && cubeIsZero(xs[i + 1] - xs[i]))
            return MethodRefusal{RefusalKind::TooClose, {i, i + 1}, {xs[i], xs[i + 1]}};
    }
    if (!std::isfinite(xs.back() - xs.front()))
        return MethodRefusal{RefusalKind::TooWide, {0, xs.size() - 1}, {xs.front(), xs.back()}};
    if (row.periodic)
        return checkPeriodic(row, xs, ys);
    return std::nullopt;
}

MaybeRefusal checkSettings(StudyMethod method, std::size_t nodes, const MethodSettings& settings)
{
    const StudyMethodRow& row = methodRow(method);
    if (row.parameter) {
        const MethodParameter& parameter = *row.parameter;
        const int value = settings.parameters.of(method);
        int highest = std::min(parameter.high, static_cast<int>(nodes) - 1);
        if (parameter.oddOnly && highest % 2 == 0)
            --highest;
        const bool odd = value % 2 != 0;
        if (value < parameter.low || value > highest || (parameter.oddOnly && !odd))
            return MethodRefusal{RefusalKind::Parameter, {nodes, 0}, {static_cast<double>(value), 0},
                           highest};
    }
    if (row.needsFunction &&
        !(std::isfinite(settings.leftSlope) && std::isfinite(settings.rightSlope)))
        return MethodRefusal{RefusalKind::EndSlopes, {}, {settings.leftSlope, settings.rightSlope}};
    return std::nullopt;
}

BuildResult refused(RefusalKind kind)
{
    return {std::nullopt, MethodRefusal{kind}};
}

bool allFinite(std::span<const CoefRow> rows)
{
    return std::all_of(rows.begin(), rows.end(), [](const CoefRow& row) {
        return std::all_of(row.begin(), row.end(), [](double c) { return std::isfinite(c); });
    });
}

// Piece j of the interval that holds x; the end pieces also hold what lies
// beyond the nodes.
std::size_t pieceOf(std::span<const double> xs, double x)
{
    const auto above = std::upper_bound(xs.begin(), xs.end(), x) - xs.begin();
    const auto last = static_cast<std::ptrdiff_t>(xs.size()) - 2;
    return static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(above - 1, 0, last));
}

PointValues hornerAt(const CoefRow& row, double t)
{
    const auto& [a, b, c, d] = row;
    return {a + t * (b + t * (c + t * d)), b + t * (2 * c + 3 * d * t), 2 * c + 6 * d * t};
}

// The barycentric form of one local window: its weights; and, when the
// derivatives are asked for, its Newton form about the interval in hand.
struct WindowForm {
    std::size_t start = 0;
    std::size_t count = 0;  // 0: no window yet
    std::span<const double> weights;
    std::optional<std::size_t> newtonPiece;
    NewtonForm newton;
};

// What the evaluation of one point leaves for the next: the piece where
// the search starts and the last local window.
struct EvaluationState {
    bool withSlopes = true;
    std::size_t piece = 0;
    WindowForm window;
};

// Piece j of the interval that holds x, found by walking on from the last
// piece when x has not moved left of it (rising points, as on a grid), by
// bisection otherwise.
std::size_t pieceFrom(std::span<const double> xs, double x, std::size_t hint)
{
    const std::size_t last = xs.size() - 2;
    if (!(x >= xs[hint]))
        return pieceOf(xs, x);
    std::size_t j = hint;
    while (j < last && x >= xs[j + 1])
        ++j;
    return j;
}

}  // namespace

// Only the derivatives need them, and they take n^2 divisions: a table of
// values never pays for them.
struct NodeSlopes {
    std::once_flag computed;
    std::vector<double> first;
    std::vector<double> second;
};

// A window's weights take (degree + 1)^2 products, and neighbouring points
// of a grid share their window: each is computed once, on whichever thread
// first needs it.
struct WindowWeights {
    explicit WindowWeights(std::size_t windows) : formed(windows), weights(windows) {}
    std::vector<std::once_flag> formed;
    std::vector<std::vector<double>> weights;
};

class InterpolantBuilder {
public:
    static BuildResult build(StudyMethod method, std::span<const double> xs,
                             std::span<const double> ys, const MethodSettings& settings)
    {
        const StudyMethodRow& row = methodRow(method);
        Interpolant p;
        p.method_ = method;
        p.xs_.assign(xs.begin(), xs.end());
        p.ys_.assign(ys.begin(), ys.end());
        if (row.parameter)
            p.data_.parameter = settings.parameters.of(method);
        switch (row.form) {
        case MethodForm::Global:
            p.globalForm_ = settings.parameters.globalForm;
            return buildGlobal(std::move(p));
        case MethodForm::Local:
            p.windowWeights_ = std::make_shared<WindowWeights>(
                p.xs_.size() - static_cast<std::size_t>(p.data_.parameter));
            return {std::move(p), {}};
        case MethodForm::Own:
            // Of the own methods only the rational one weighs its nodes.
            if (!row.build(p.xs_, p.ys_, p.data_))
                return refused(p.data_.weights.empty() ? RefusalKind::Overflow
                                                       : RefusalKind::Unweighable);
            return {std::move(p), {}};
        case MethodForm::Pieces:
            break;
        }
        p.pieces_.resize(xs.size() - 1);
        if (!fillPieces(row, settings, p) || !allFinite(p.pieces_))
            return refused(RefusalKind::Overflow);
        return {std::move(p), {}};
    }

private:
    friend class Interpolant;

    static BuildResult buildGlobal(Interpolant p)
    {
        p.data_.weights = barycentricWeights(p.xs_);
        if (std::any_of(p.data_.weights.begin(), p.data_.weights.end(),
                        [](double w) { return w == 0; }))
            return refused(RefusalKind::Unweighable);
        buildGlobalForm(p.globalForm_, p.xs_, p.ys_, p.data_);
        p.nodeSlopes_ = std::make_shared<NodeSlopes>();
        return {std::move(p), {}};
    }

    static bool fillPieces(const StudyMethodRow& row, const MethodSettings& settings, Interpolant& p)
    {
        if (row.pieces)
            return row.pieces({p.xs_, p.ys_, settings.leftSlope, settings.rightSlope}, p.pieces_);
        std::vector<double> slopes(p.xs_.size());
        if (!row.slopes(p.xs_, p.ys_, slopes))
            return false;
        hermiteRows(p.xs_, p.ys_, slopes, p.pieces_);
        return true;
    }

    static PointValues globalAt(const Interpolant& p, double x, const EvaluationState& state)
    {
        std::array<double, 3> values{};
        if (state.withSlopes) {
            const NodeSlopes& slopes = nodeSlopesOf(p);
            barycentricColumns(p.xs_, p.data_.weights, {p.ys_, slopes.first, slopes.second}, x,
                               values);
        } else
            barycentricColumns(p.xs_, p.data_.weights, {p.ys_}, x, values);
        if (p.globalForm_ == GlobalForm::Barycentric)
            return {values[0], values[1], values[2]};
        const PointValues form = globalFormAt(p.globalForm_, p.xs_, p.ys_, p.data_, x);
        if (p.globalForm_ == GlobalForm::First)
            return {form.value, values[1], values[2]};
        return form;
    }

    static const NodeSlopes& nodeSlopesOf(const Interpolant& p)
    {
        NodeSlopes& slopes = *p.nodeSlopes_;
        std::call_once(slopes.computed, [&] {
            slopes.first.resize(p.xs_.size());
            slopes.second.resize(p.xs_.size());
            nodeDerivatives(p.xs_, p.data_.weights, p.ys_, slopes.first, slopes.second);
        });
        return slopes;
    }

    // The window of the interval that holds x, as the main window chooses
    // it; its polynomial in barycentric form.
    static PointValues localAt(const Interpolant& p, double x, EvaluationState& state)
    {
        state.piece = pieceFrom(p.xs_, x, state.piece);
        const auto start = static_cast<std::size_t>(windowStart(
            p.data_.parameter, static_cast<double>(p.xs_.size() - 1), static_cast<int>(state.piece)));
        const auto count = static_cast<std::size_t>(p.data_.parameter) + 1;
        WindowForm& window = state.window;
        if (window.count != count || window.start != start) {
            window.start = start;
            window.count = count;
            window.weights = p.windowWeights(start);
            window.newtonPiece.reset();
        }
        const auto wx = std::span<const double>(p.xs_).subspan(start, count);
        const auto wy = std::span<const double>(p.ys_).subspan(start, count);
        std::array<double, 3> values{};
        barycentricColumns(wx, window.weights, {wy}, x, values);
        // The derivatives from the window's own polynomial at x: through
        // values at the nodes, the window's conditioning would multiply
        // their rounding errors.
        if (state.withSlopes) {
            const std::size_t j = state.piece;
            if (window.newtonPiece != j) {
                window.newton = newtonForm(wx, wy, p.xs_[j] / 2 + p.xs_[j + 1] / 2);
                window.newtonPiece = j;
            }
            const PointValues slopes = newtonAt(window.newton, x);
            values[1] = slopes.first;
            values[2] = slopes.second;
        }
        // A node outside its interval's window (degree 0 at the right end
        // of the interval) still takes its own value, as in the main window.
        const std::size_t j = state.piece;
        if (x == p.xs_[j] || x == p.xs_[j + 1])
            values[0] = x == p.xs_[j] ? p.ys_[j] : p.ys_[j + 1];
        return {values[0], values[1], values[2]};
    }

    // An own method's form, the node's own value exactly at a node.
    static PointValues ownAt(const Interpolant& p, double x, EvaluationState& state)
    {
        PointValues values = methodRow(p.method_).at(p.xs_, p.ys_, p.data_, x, state.withSlopes);
        state.piece = pieceFrom(p.xs_, x, state.piece);
        const std::size_t j = state.piece;
        if (x == p.xs_[j] || x == p.xs_[j + 1])
            values.value = x == p.xs_[j] ? p.ys_[j] : p.ys_[j + 1];
        return values;
    }

    static PointValues pieceAt(const Interpolant& p, double x, EvaluationState& state)
    {
        state.piece = pieceFrom(p.xs_, x, state.piece);
        const std::size_t j = state.piece;
        PointValues values = hornerAt(p.pieces_[j], x - p.xs_[j]);
        if (x == p.xs_[j + 1])
            values.value = p.ys_[j + 1];
        return values;
    }
};

const char* studyMethodKey(StudyMethod method)
{
    return methodRow(method).key;
}

const char* studyMethodName(StudyMethod method)
{
    return methodRow(method).name;
}

std::optional<StudyMethod> studyMethodFromKey(std::string_view key)
{
    for (const StudyMethod method : kStudyMethods)
        if (key == studyMethodKey(method))
            return method;
    return std::nullopt;
}

PointValues Interpolant::at(double x) const
{
    PointValues values;
    evaluate({&x, 1}, {&values.value, 1}, {&values.first, 1}, {&values.second, 1});
    return values;
}

std::span<const double> Interpolant::windowWeights(std::size_t start) const
{
    WindowWeights& windows = *windowWeights_;
    std::call_once(windows.formed[start], [&] {
        windows.weights[start] = productWeights(
            std::span(xs_).subspan(start, static_cast<std::size_t>(data_.parameter) + 1));
    });
    return windows.weights[start];
}

double Interpolant::value(double x) const
{
    double result = 0;
    evaluate({&x, 1}, {&result, 1});
    return result;
}

void Interpolant::evaluate(std::span<const double> x, std::span<double> value,
                           std::span<double> first, std::span<double> second) const
{
    EvaluationState state;
    state.withSlopes = !first.empty() || !second.empty();
    if (!x.empty())
        state.piece = pieceOf(xs_, x[0]);
    const auto each = [&](auto pointValues) {
        for (std::size_t k = 0; k < x.size(); ++k) {
            const PointValues v = pointValues(x[k]);
            value[k] = v.value;
            if (!first.empty())
                first[k] = v.first;
            if (!second.empty())
                second[k] = v.second;
        }
    };
    switch (methodRow(method_).form) {
    case MethodForm::Global:
        each([&](double at) { return InterpolantBuilder::globalAt(*this, at, state); });
        break;
    case MethodForm::Local:
        each([&](double at) { return InterpolantBuilder::localAt(*this, at, state); });
        break;
    case MethodForm::Own:
        each([&](double at) { return InterpolantBuilder::ownAt(*this, at, state); });
        break;
    case MethodForm::Pieces:
        each([&](double at) { return InterpolantBuilder::pieceAt(*this, at, state); });
        break;
    }
}

BuildResult buildInterpolant(StudyMethod method, std::span<const double> xs,
                             std::span<const double> ys, const MethodSettings& settings)
{
    MaybeRefusal problem = checkNodes(method, xs, ys);
    if (!problem)
        problem = checkSettings(method, xs.size(), settings);
    if (problem)
        return {std::nullopt, problem};
    return InterpolantBuilder::build(method, xs, ys, settings);
}

}  // namespace tarvel
