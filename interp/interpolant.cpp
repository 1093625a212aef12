// Building and evaluating the comparison methods. Every input is checked
// here, once, before any arithmetic; the methods' own files compute.
//
// The piecewise methods become cubic pieces a + b t + c t^2 + d t^3 and
// are evaluated by Horner's rule with their derivatives b + t (2c + 3d t)
// and 2c + 6d t. The global polynomial keeps its barycentric weights and
// its derivatives at the nodes. The local polynomial takes the main
// window's windows, each in barycentric form, its derivatives from its Newton form.
#include "interp/interpolant.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <mutex>

#include "data/list_format.h"
#include "interp/akima.h"
#include "interp/barycentric.h"
#include "interp/cube.h"
#include "interp/cubic_spline.h"
#include "interp/hermite_rows.h"
#include "interp/lagrange.h"
#include "interp/method_checks.h"
#include "interp/newton_form.h"
#include "interp/pchip.h"
#include "interp/pw_cubic_spline.h"

namespace tarvel {
namespace {

struct MethodNames {
    const char* key;
    const char* name;
    const char* subject;  // begins a refusal
};

constexpr std::array<MethodNames, kStudyMethods.size()> kMethodNames = {{
    {"global", "Global polynomial", "The global polynomial"},
    {"local", "Local Lagrange polynomial", "The local Lagrange polynomial"},
    {"linear", "Linear interpolation", "Linear interpolation"},
    {"natural", "Natural cubic spline", "The natural cubic spline"},
    {"clamped", "Clamped cubic spline", "The clamped cubic spline"},
    {"notaknot", "Not-a-knot cubic spline", "The not-a-knot cubic spline"},
    {"pw", "PW cubic spline", "The PW cubic spline"},
    {"pchip", "PCHIP", "PCHIP"},
    {"akima", "Akima spline", "The Akima spline"},
}};

const char* subjectOf(StudyMethod method)
{
    return kMethodNames[static_cast<std::size_t>(method)].subject;
}

std::string plain(double value)
{
    return formatPlain(value, ".");
}

// The Hermite pieces divide by the square and the cube of each width.
bool dividesByCubedWidths(StudyMethod method)
{
    return method == StudyMethod::Pw || method == StudyMethod::Pchip ||
           method == StudyMethod::Akima;
}

Problem checkNodes(StudyMethod method, std::span<const double> xs, std::span<const double> ys)
{
    const std::string subject = subjectOf(method);
    if (xs.size() != ys.size())
        return subject + " needs one value at each node; there are " + formatIndex(xs.size()) +
               " nodes and " + formatIndex(ys.size()) + " values.";
    if (xs.size() < kMinStudyNodes || xs.size() > kMaxStudyNodes)
        return subject + " takes from " + formatIndex(kMinStudyNodes) + " to " +
               formatIndex(kMaxStudyNodes) + " nodes; there are " + formatIndex(xs.size()) + ".";
    for (std::size_t i = 0; i < xs.size(); ++i)
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i]))
            return subject + " needs finite nodes and values; node " + formatIndex(i) +
                   " has x = " + plain(xs[i]) + " and y = " + plain(ys[i]) + ".";
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        if (xs[i] == xs[i + 1])
            return subject + " needs distinct abscissae; nodes " + formatIndex(i) + " and " +
                   formatIndex(i + 1) + " both have x = " + plain(xs[i]) + ".";
        if (xs[i + 1] < xs[i])
            return subject + " needs the nodes in increasing order of x; node " +
                   formatIndex(i + 1) + " (x = " + plain(xs[i + 1]) + ") comes after node " +
                   formatIndex(i) + " (x = " + plain(xs[i]) + ").";
        if (dividesByCubedWidths(method) && cubeIsZero(xs[i + 1] - xs[i]))
            return subject + " needs the nodes further apart; nodes " + formatIndex(i) + " and " +
                   formatIndex(i + 1) +
                   " are too close for the cube of their distance to be held.";
    }
    if (!std::isfinite(xs.back() - xs.front()))
        return subject + " needs the nodes closer together: the distance from the first to the "
                         "last exceeds the range of numbers.";
    return std::nullopt;
}

Problem checkSettings(StudyMethod method, std::size_t nodes, const MethodSettings& settings)
{
    if (method == StudyMethod::Local) {
        const int highest =
            std::min(kMaxInterpolationDegree, static_cast<int>(nodes) - 1);
        if (settings.localDegree < 0 || settings.localDegree > highest)
            return std::string(subjectOf(method)) + " through " + formatIndex(nodes) +
                   " nodes takes a degree from 0 to " + formatIndex(highest) + "; it is " +
                   formatIndex(settings.localDegree) + ".";
    }
    if (method == StudyMethod::Clamped &&
        !(std::isfinite(settings.leftSlope) && std::isfinite(settings.rightSlope)))
        return std::string(subjectOf(method)) + " needs finite end slopes; they are " +
               plain(settings.leftSlope) + " and " + plain(settings.rightSlope) + ".";
    return std::nullopt;
}

std::string overflowRefusal(StudyMethod method)
{
    return std::string(subjectOf(method)) +
           " grows too large between these nodes: a coefficient overflows the range of "
           "numbers. Spread the nodes further apart or scale the values down.";
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
    std::vector<double> weights;
    std::optional<std::size_t> newtonPiece;
    NewtonForm newton;
};

void formWindow(std::span<const double> xs, std::size_t start, std::size_t count,
                WindowForm& form)
{
    form.start = start;
    form.count = count;
    form.weights = productWeights(xs.subspan(start, count));
    form.newtonPiece.reset();
}

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

class InterpolantBuilder {
public:
    static BuildResult build(StudyMethod method, std::span<const double> xs,
                             std::span<const double> ys, const MethodSettings& settings)
    {
        Interpolant p;
        p.method_ = method;
        p.xs_.assign(xs.begin(), xs.end());
        p.ys_.assign(ys.begin(), ys.end());
        if (method == StudyMethod::Global)
            return buildGlobal(std::move(p));
        if (method == StudyMethod::Local) {
            p.localDegree_ = settings.localDegree;
            return {std::move(p), {}};
        }
        p.pieces_.resize(xs.size() - 1);
        if (!fillPieces(method, settings, p) || !allFinite(p.pieces_))
            return {std::nullopt, overflowRefusal(method)};
        return {std::move(p), {}};
    }

private:
    friend class Interpolant;

    static BuildResult buildGlobal(Interpolant p)
    {
        p.weights_ = barycentricWeights(p.xs_);
        if (std::any_of(p.weights_.begin(), p.weights_.end(), [](double w) { return w == 0; }))
            return {std::nullopt, std::string(subjectOf(p.method_)) +
                                      " cannot weigh these nodes: their spacings differ too "
                                      "widely."};
        p.nodeSlopes_ = std::make_shared<NodeSlopes>();
        return {std::move(p), {}};
    }

    static bool fillPieces(StudyMethod method, const MethodSettings& settings, Interpolant& p)
    {
        std::vector<double> slopes(p.xs_.size());
        switch (method) {
        case StudyMethod::Linear:
            for (std::size_t j = 0; j < p.pieces_.size(); ++j)
                p.pieces_[j] = {p.ys_[j], (p.ys_[j + 1] - p.ys_[j]) / (p.xs_[j + 1] - p.xs_[j]),
                                0, 0};
            return true;
        case StudyMethod::Natural:
            return cubicSplineRows(SplineEnds::Natural, {}, p.xs_, p.ys_, p.pieces_) ==
                   SolveStatus::Solved;
        case StudyMethod::Clamped:
            return cubicSplineRows(SplineEnds::Clamped, {settings.leftSlope, settings.rightSlope},
                                   p.xs_, p.ys_, p.pieces_) == SolveStatus::Solved;
        case StudyMethod::NotAKnot:
            return cubicSplineRows(SplineEnds::NotAKnot, {}, p.xs_, p.ys_, p.pieces_) ==
                   SolveStatus::Solved;
        case StudyMethod::Pw:
            if (!chordBisectorSlopes(p.xs_, p.ys_, slopes))
                return false;
            break;
        case StudyMethod::Pchip:
            pchipSlopes(p.xs_, p.ys_, slopes);
            break;
        case StudyMethod::Akima:
            akimaSlopes(p.xs_, p.ys_, slopes);
            break;
        case StudyMethod::Global:
        case StudyMethod::Local:
            return false;
        }
        hermiteRows(p.xs_, p.ys_, slopes, p.pieces_);
        return true;
    }

    static PointValues globalAt(const Interpolant& p, double x, const EvaluationState& state)
    {
        std::array<double, 3> values{};
        if (state.withSlopes) {
            const NodeSlopes& slopes = nodeSlopesOf(p);
            barycentricColumns(p.xs_, p.weights_, {p.ys_, slopes.first, slopes.second}, x,
                               values);
        } else
            barycentricColumns(p.xs_, p.weights_, {p.ys_}, x, values);
        return {values[0], values[1], values[2]};
    }

    static const NodeSlopes& nodeSlopesOf(const Interpolant& p)
    {
        NodeSlopes& slopes = *p.nodeSlopes_;
        std::call_once(slopes.computed, [&] {
            slopes.first.resize(p.xs_.size());
            slopes.second.resize(p.xs_.size());
            nodeDerivatives(p.xs_, p.weights_, p.ys_, slopes.first, slopes.second);
        });
        return slopes;
    }

    // The window of the interval that holds x, as the main window chooses
    // it; its polynomial in barycentric form.
    static PointValues localAt(const Interpolant& p, double x, EvaluationState& state)
    {
        state.piece = pieceFrom(p.xs_, x, state.piece);
        const auto start = static_cast<std::size_t>(windowStart(
            p.localDegree_, static_cast<double>(p.xs_.size() - 1), static_cast<int>(state.piece)));
        const auto count = static_cast<std::size_t>(p.localDegree_) + 1;
        WindowForm& window = state.window;
        if (window.count != count || window.start != start)
            formWindow(p.xs_, start, count, window);
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
    return kMethodNames[static_cast<std::size_t>(method)].key;
}

const char* studyMethodName(StudyMethod method)
{
    return kMethodNames[static_cast<std::size_t>(method)].name;
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
    switch (method_) {
    case StudyMethod::Global:
        each([&](double at) { return InterpolantBuilder::globalAt(*this, at, state); });
        break;
    case StudyMethod::Local:
        each([&](double at) { return InterpolantBuilder::localAt(*this, at, state); });
        break;
    default:
        each([&](double at) { return InterpolantBuilder::pieceAt(*this, at, state); });
        break;
    }
}

BuildResult buildInterpolant(StudyMethod method, std::span<const double> xs,
                             std::span<const double> ys, const MethodSettings& settings)
{
    Problem problem = checkNodes(method, xs, ys);
    if (!problem)
        problem = checkSettings(method, xs.size(), settings);
    if (problem)
        return {std::nullopt, *problem};
    return InterpolantBuilder::build(method, xs, ys, settings);
}

}  // namespace tarvel
