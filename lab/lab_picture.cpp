#include "lab/lab_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <limits>
#include <span>

#include "data/number_text.h"
#include "interp/aaa.h"
#include "interp/cardinal.h"
#include "interp/error_bound.h"
#include "lab/lab_counts.h"
#include "lab/lab_text.h"

namespace tarvel {
namespace {

std::string methodLabel(const LabModel& model, StudyMethod method)
{
    std::string label = studyMethodName(method);
    if (const std::optional<MethodParameter>& parameter = methodRow(method).parameter)
        label += joined({" (", parameter->symbol,
                         std::to_string(model.settings().parameters.of(method)), ")"});
    const GlobalForm form = model.settings().parameters.globalForm;
    if (method == StudyMethod::Global && form != GlobalForm::Barycentric)
        label += joined({" (", named(kGlobalForms, form).label, ")"});
    return label;
}

bool shownAndAvailable(const LabModel& model, StudyMethod method)
{
    return model.settings().shown[methodIndex(method)] && model.outcome(method).available();
}

// Every step-th grid value of a curve, keeping the last point.
LabSeries sampled(std::string label, ui::Colour colour, const std::vector<double>& values,
                  double (*transform)(double, double), const std::vector<double>* exact)
{
    LabSeries series{std::move(label), colour, false, false, {}, {}};
    const std::vector<double>& grid = errorGrid();
    const std::size_t step = (grid.size() - 1) / (kCurvePoints - 1);
    for (std::size_t k = 0; k < values.size() && k < grid.size(); k += step) {
        series.x.push_back(grid[k]);
        series.y.push_back(transform(values[k], exact ? (*exact)[k] : 0.0));
    }
    return series;
}

double plain(double value, double)
{
    return value;
}

double difference(double value, double exact)
{
    return value - exact;
}

double logOfError(double value, double exact)
{
    const double error = std::abs(value - exact);
    if (error == 0)
        return kLogErrorFloor;
    return std::log10(error);
}

// Where the nodes do not reach 0 or 1 a curve extrapolates: that stretch
// moves into a dashed series of its own without a legend line, joined to
// the curve at the first and the last point within the nodes.
void splitOffExtrapolation(LabPicture& picture, double firstNode, double lastNode)
{
    LabSeries& curve = picture.series.back();
    const auto outside = [&](std::size_t k) {
        return curve.x[k] < firstNode || curve.x[k] > lastNode;
    };
    const std::size_t count = curve.x.size();
    LabSeries stretch{"", curve.colour, true, false, {}, {}, LineDash::Dashed};
    for (std::size_t k = 0; k < count; ++k) {
        const bool joins = (k > 0 && outside(k - 1)) || (k + 1 < count && outside(k + 1));
        stretch.x.push_back(curve.x[k]);
        stretch.y.push_back(outside(k) || joins ? curve.y[k]
                                                : std::numeric_limits<double>::quiet_NaN());
    }
    if (std::all_of(stretch.y.begin(), stretch.y.end(), [](double y) { return std::isnan(y); }))
        return;
    for (std::size_t k = 0; k < count; ++k)
        if (outside(k))
            curve.y[k] = std::numeric_limits<double>::quiet_NaN();
    picture.series.push_back(std::move(stretch));
}

void addMethodCurves(LabPicture& picture, const LabModel& model)
{
    const LabView view = model.settings().view;
    const std::vector<double>* exact = &model.exact(0);
    for (const StudyMethod method : kStudyMethods) {
        const MethodOutcome& out = model.outcome(method);
        if (!shownAndAvailable(model, method) || out.pending)
            continue;  // a pending method is drawn when its values arrive
        const std::string label = methodLabel(model, method);
        const ui::Colour colour = methodColour(method);
        const std::size_t before = picture.series.size();
        switch (view) {
        case LabView::Values:
            picture.series.push_back(sampled(label, colour, out.value, plain, nullptr));
            break;
        case LabView::Error:
            picture.series.push_back(
                sampled(joined({"error of ", label}), colour, out.value, difference, exact));
            break;
        case LabView::LogError:
            picture.series.push_back(
                sampled(joined({"error of ", label}), colour, out.value, logOfError, exact));
            break;
        case LabView::Derivative:
            picture.series.push_back(sampled(label + ": p′", colour, out.first, plain, nullptr));
            break;
        case LabView::Second:
            picture.series.push_back(sampled(label + ": p″", colour, out.second, plain, nullptr));
            break;
        case LabView::Lebesgue:
            if (!out.lebesgue.empty())
                picture.series.push_back(
                    sampled(joined({"Lebesgue function of ", label}), colour, out.lebesgue, plain,
                            nullptr));
            break;
        case LabView::Convergence:
        case LabView::Bound:
        case LabView::Omega:
        case LabView::Cardinal:
        case LabView::Poles:
            break;
        }
        const std::span<const double> xs = out.interpolant->xs();
        if (picture.series.size() > before)
            splitOffExtrapolation(picture, xs.front(), xs.back());
    }
}

void addFunctionCurve(LabPicture& picture, const LabModel& model)
{
    const LabView view = model.settings().view;
    const int order = view == LabView::Derivative ? 1 : view == LabView::Second ? 2 : 0;
    if (!model.hasFunction() ||
        (view != LabView::Values && view != LabView::Derivative && view != LabView::Second))
        return;
    static constexpr std::array<const char*, 3> kSuffix = {"", ": f′", ": f″"};
    picture.series.push_back(sampled(model.functionLabel() + kSuffix[static_cast<std::size_t>(order)],
                                     kFunctionColour, model.exact(order), plain, nullptr));
}

void addConvergence(LabPicture& picture, const LabModel& model,
                    const ConvergenceTable& convergence)
{
    picture.logX = true;
    picture.logY = true;
    picture.markX = std::log10(static_cast<double>(model.settings().count));
    for (const auto& [method, points] : convergence) {
        if (!model.settings().shown[methodIndex(method)])
            continue;
        std::string label = methodLabel(model, method);
        if (const std::optional<ObservedRate> rate = observedRateOf(model, convergence, method))
            label += joined({" — ", rateText(*rate)});
        LabSeries series{std::move(label), methodColour(method), false, true, {}, {}};
        for (const auto& [count, error] : points) {
            series.x.push_back(std::log10(static_cast<double>(count)));
            const bool drawn = error && *error > 0 && std::isfinite(*error);
            series.y.push_back(drawn ? std::log10(*error)
                                     : std::numeric_limits<double>::quiet_NaN());
        }
        picture.series.push_back(std::move(series));
    }
    // Reference slopes through error 1 at n = 2.
    const double first = std::log10(static_cast<double>(kLabMinCount));
    const double last = std::log10(static_cast<double>(kLabMaxCount));
    struct Reference {
        double power;
        const char* label;
        LineDash dash;
    };
    for (const Reference& reference :
         {Reference{2, "n⁻²", LineDash::Dashed}, Reference{4, "n⁻⁴", LineDash::DashDotted}})
        picture.series.push_back({joined({"reference slope ", reference.label}), kReferenceColour,
                                  true, false, {first, last},
                                  {0.0, -reference.power * (last - first)}, reference.dash,
                                  reference.label});
}

struct LargestOmega {
    ScaledNumber value;
    double x = 0;
};

// The largest |ω| on the grid of the error bound.
LargestOmega largestOmega(const NodeList& nodes)
{
    std::vector<double> xs;
    for (const Node& node : nodes)
        xs.push_back(node.x);
    LargestOmega best{nodePolynomial(xs, 0.0), 0.0};
    double bestDigits = best.value.log10Magnitude();
    for (int k = 1; k < kBoundGridPoints; ++k) {
        const double x = k / static_cast<double>(kBoundGridPoints - 1);
        const ScaledNumber omega = nodePolynomial(xs, x);
        if (const double digits = omega.log10Magnitude(); digits > bestDigits) {
            best = {omega, x};
            bestDigits = digits;
        }
    }
    return best;
}

// Below this the plot's axes would not hold ω.
constexpr double kSmallestDrawnDecade = -300;

std::string largestOmegaText(const LargestOmega& largest)
{
    return joined({"largest |ω| ", scaledText(largest.value), " at x = ",
                   compactNumber(largest.x, ".")});
}

void addOmega(LabPicture& picture, const LabModel& model)
{
    const NodeList& nodes = model.nodes();
    const LargestOmega largest = largestOmega(nodes);
    if (largest.value.log10Magnitude() < kSmallestDrawnDecade) {
        picture.emptyReason = joined({"ω is too small to draw: its ", largestOmegaText(largest),
                                      ". Take fewer nodes."});
        return;
    }
    std::vector<double> xs;
    for (const Node& node : nodes)
        xs.push_back(node.x);
    LabSeries omega{joined({"ω(x), ", largestOmegaText(largest)}), 0, false, false, {}, {}};
    for (const double x : curveGrid()) {
        omega.x.push_back(x);
        omega.y.push_back(nodePolynomial(xs, x).value());
    }
    picture.series.push_back(std::move(omega));
    // Chebyshev roots give the smallest largest |ω| there is on [0, 1].
    const double level = std::ldexp(1.0, 1 - 2 * static_cast<int>(nodes.size()));
    if (std::log10(level) < kSmallestDrawnDecade)
        return;
    for (const double sign : {1.0, -1.0})
        picture.series.push_back({sign > 0 ? "±2¹⁻²ⁿ, the least largest |ω| (Chebyshev roots)" : "",
                                  kReferenceColour, true, false, {0.0, 1.0},
                                  {sign * level, sign * level}, LineDash::Dashed});
}

std::string bandText(const ErrorBand& band)
{
    const std::string order = superscript(band.order);
    return joined({"max|f⁽", order, "⁾|/", std::to_string(band.order), "! = ",
                   compactNumber(band.coefficient.value, "."), " (a maximum on ",
                   std::to_string(kBoundGridPoints), " grid points)"});
}

void addBound(LabPicture& picture, const LabModel& model)
{
    picture.logY = true;
    std::string refusal;
    for (const StudyMethod method : {StudyMethod::Global, StudyMethod::Local}) {
        const MethodOutcome& out = model.outcome(method);
        if (!shownAndAvailable(model, method) || out.pending)
            continue;
        const ErrorBand& band = model.band(method);
        if (!band.refusal.empty()) {
            refusal = joined({studyMethodName(method), ": ", band.refusal});
            continue;
        }
        const std::string label = methodLabel(model, method);
        const ui::Colour colour = methodColour(method);
        picture.series.push_back(sampled(joined({"|p − f| of ", label}), colour, out.value,
                                         logOfError, &model.exact(0)));
        LabSeries series{joined({"band of ", label, ": ", bandText(band), " · |ω(x)|"}),
                         colour, false, false, {}, {}, LineDash::Dashed};
        const double digits = std::log10(band.coefficient.value);
        for (const double x : curveGrid()) {
            const ScaledNumber omega = method == StudyMethod::Global
                                           ? nodePolynomial(out.interpolant->xs(), x)
                                           : windowNodePolynomial(*out.interpolant, x);
            const double decade = digits + omega.log10Magnitude();
            series.x.push_back(x);
            series.y.push_back(std::isfinite(decade) ? decade : kLogErrorFloor);
        }
        picture.series.push_back(std::move(series));
    }
    if (!picture.series.empty()) {
        picture.note = refusal;
        return;
    }
    picture.emptyReason = !refusal.empty() ? refusal
                          : model.workPending()
                              ? "Computing the error…"
                              : "The band belongs to the global and the local polynomial: show "
                                "one of them.";
}

void addCardinal(LabPicture& picture, const LabModel& model)
{
    const std::size_t picked = model.settings().pickedNode;
    for (const StudyMethod method : kStudyMethods) {
        if (!shownAndAvailable(model, method))
            continue;
        const std::string label = methodLabel(model, method);
        if (!linearInData(method)) {
            picture.series.push_back(
                {label + ": not linear in the data", methodColour(method), false, false, {}, {}});
            continue;
        }
        const std::vector<double>& curve = model.cardinal(method);
        if (!curve.empty())
            picture.series.push_back({label, methodColour(method), false, false, curveGrid(), curve});
    }
    for (std::size_t i = 0; i < model.nodes().size(); ++i)
        picture.nodes.push_back({model.nodes()[i].x, i == picked ? 1.0 : 0.0});
    picture.pickedNode = picked;
    picture.nodesLabel = joined({"data: 1 at node ", std::to_string(picked), ", 0 at the others"});
    picture.note = "The sum of the magnitudes of every node's curve is the Lebesgue function.";
}

// The node family as a legend names it, and as a title counts it.
struct FamilyWords {
    const char* kind;
    const char* counted;
};
constexpr std::array<FamilyWords, 3> kFamilyWords = {{
    {"evenly spaced", "evenly spaced nodes"},
    {"Chebyshev points", "Chebyshev points"},
    {"Chebyshev roots", "Chebyshev roots"},
}};

constexpr FamilyWords kOwnNodesWords = {"your own", "own nodes"};

// Nodes of the user's own keep the family they were first drawn from in the
// settings, which no longer says where they are.
const FamilyWords& familyWords(const LabSettings& settings)
{
    return settings.ownNodes ? kOwnNodesWords
                             : kFamilyWords[static_cast<std::size_t>(settings.family)];
}

struct Captions {
    const char* x;
    const char* y;
};

Captions captionsOf(LabView view)
{
    switch (view) {
    case LabView::Values:
        return {"x", "p(x), f(x)"};
    case LabView::Error:
        return {"x", "p(x) − f(x)"};
    case LabView::LogError:
        return {"x", "|p(x) − f(x)|"};
    case LabView::Derivative:
        return {"x", "p′(x), f′(x)"};
    case LabView::Second:
        return {"x", "p″(x), f″(x)"};
    case LabView::Lebesgue:
        return {"x", "Lebesgue function λ(x)"};
    case LabView::Bound:
        return {"x", "|p(x) − f(x)| under max|f⁽ⁿ⁾|/n! · |ω(x)|"};
    case LabView::Omega:
        return {"x", "node polynomial ω(x)"};
    case LabView::Cardinal:
        return {"x", "curve for the value 1 at the picked node"};
    case LabView::Poles:
        return {"Re z", "Im z"};
    case LabView::Convergence:
        break;
    }
    return {"n (number of nodes)", "largest error max |p − f|"};
}

std::string nodesLabel(const LabModel& model)
{
    std::string label = model.edited() ? "edited nodes (" : "nodes (";
    label += std::to_string(model.nodes().size());
    if (model.settings().function != LabFunction::Data)
        label += joined({", ", familyWords(model.settings()).kind});
    return label + ")";
}

using Complex = std::complex<double>;

// The study functions' own singularities: Runge's poles, the kink of
// |2x − 1|; the others are entire (a typed function is not looked into).
std::vector<Complex> singularitiesOf(LabFunction function)
{
    switch (function) {
    case LabFunction::Runge:
        return {{0.5, -0.1}, {0.5, 0.1}};
    case LabFunction::Abs:
        return {{0.5, 0}};
    default:
        return {};
    }
}

LabSeries pointsApart(std::string label, ui::Colour colour, PointMarks marks,
                      const std::vector<Complex>& points)
{
    LabSeries series{std::move(label), colour, false, false, {}, {}};
    series.apart = marks;
    for (const Complex& z : points) {
        series.x.push_back(z.real());
        series.y.push_back(z.imag());
    }
    return series;
}

std::optional<RationalRoots> aaaRootsShown(const LabModel& model)
{
    if (!shownAndAvailable(model, StudyMethod::Aaa) || model.outcome(StudyMethod::Aaa).pending)
        return std::nullopt;
    return aaaRoots(model.outcome(StudyMethod::Aaa).interpolant->data());
}

// The distance of z from the nodes' interval [low, high].
double distanceFrom(Complex z, double low, double high)
{
    return std::abs(z - std::clamp(z.real(), low, high));
}

Complex nearestPole(const RationalRoots& roots, double low, double high)
{
    return *std::min_element(
            roots.poles.begin(), roots.poles.end(), [&](const Complex& p, const Complex& q) {
                return distanceFrom(p, low, high) < distanceFrom(q, low, high);
            });
}

std::string shortNumber(double value)
{
    return compactNumber(value, ".");
}

// The plane around the nodes' interval, real axis in the middle, the axes
// to one scale on a plot about half as high as wide.
WorldRect planeAround(double low, double high)
{
    const double width = high - low;
    return WorldRect{low - width / 4, width * 0.375, high + width / 4, -width * 0.375};
}

void addPoles(LabPicture& picture, const LabModel& model)
{
    std::vector<Complex> nodes;
    for (const Node& node : model.nodes())
        nodes.push_back(node.x);
    picture.series.push_back(pointsApart(nodesLabel(model), kReferenceColour, PointMarks::Dots,
                                         nodes));
    const std::vector<Complex> own = singularitiesOf(model.settings().function);
    if (!own.empty())
        picture.series.push_back(
                pointsApart("singularities of f", kFunctionColour, PointMarks::WideRings, own));
    if (const std::optional<RationalRoots> roots = aaaRootsShown(model)) {
        const ui::Colour colour = methodColour(StudyMethod::Aaa);
        picture.series.push_back(pointsApart("poles of the AAA approximant", colour,
                                             PointMarks::Dots, roots->poles));
        picture.series.push_back(pointsApart("zeros of the AAA approximant", colour,
                                             PointMarks::Rings, roots->zeros));
        picture.note = polesFigures(model);
    } else {
        picture.emptyReason = model.workPending() && shownAndAvailable(model, StudyMethod::Aaa)
                                      ? "Computing the AAA approximant…"
                                      : "The poles and zeros belong to the AAA approximant: "
                                        "show it.";
    }
    const double low = std::min(0.0, model.nodes().front().x);
    const double high = std::max(1.0, model.nodes().back().x);
    picture.world = planeAround(low, high);
}

void addRange(const std::vector<double>& values, double& lo, double& hi)
{
    for (const double v : values)
        if (std::isfinite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
}

WorldRect fittingWorld(const LabPicture& picture)
{
    double xLo = std::numeric_limits<double>::infinity();
    double xHi = -xLo;
    double yLo = xLo;
    double yHi = -xLo;
    for (const LabSeries& series : picture.series) {
        // The reference lines run off the data; they do not set the scale.
        if (series.dashed)
            continue;
        addRange(series.x, xLo, xHi);
        addRange(series.y, yLo, yHi);
    }
    for (const Node& node : picture.nodes) {
        addRange({node.x}, xLo, xHi);
        addRange({node.y}, yLo, yHi);
    }
    if (!picture.logX) {
        xLo = std::min(xLo, 0.0);
        xHi = std::max(xHi, 1.0);
    }
    if (!(xLo < xHi)) {
        xLo = 0;
        xHi = 1;
    }
    // A method that diverges (the evenly spaced global polynomial reaches
    // errors near 1e300) would squeeze every converging curve onto one line
    // of the convergence view; its scale stops at 1e4 and such points run
    // off the top.
    constexpr double kTopErrorDecade = 4;
    if (picture.logX && picture.logY && yLo < kTopErrorDecade)
        yHi = std::min(yHi, kTopErrorDecade);
    if (!(yLo <= yHi)) {
        yLo = -1;
        yHi = 1;
    }
    if (yLo == yHi) {
        const double pad = yLo == 0 ? 1 : std::abs(yLo) * 0.1;
        yLo -= pad;
        yHi += pad;
    }
    const double xPad = (xHi - xLo) * 0.02;
    const double yPad = (yHi - yLo) * 0.05;
    return WorldRect{xLo - xPad, yHi + yPad, xHi + xPad, yLo - yPad};
}

}  // namespace

ui::Colour methodColour(StudyMethod method)
{
    return methodRow(method).colour;
}

std::string largestErrorText(const ErrorFigures& figures)
{
    std::string text = joined({"largest error ", compactNumber(figures.maxError, "."),
                               " at x = ", compactNumber(figures.maxErrorX, ".")});
    if (!figures.maxErrorOutside)
        return text;
    text += ", outside the nodes";
    if (figures.insideMaxError)
        text += joined({"; inside them ", compactNumber(*figures.insideMaxError, "."),
                        " at x = ", compactNumber(figures.insideMaxErrorX, ".")});
    return text;
}

LabPicture labPicture(const LabModel& model, const ConvergenceTable& convergence)
{
    LabPicture picture;
    const LabView view = model.settings().view;
    if (view == LabView::Convergence) {
        addConvergence(picture, model, convergence);
    } else if (view == LabView::Bound) {
        addBound(picture, model);
    } else if (view == LabView::Omega) {
        addOmega(picture, model);
    } else if (view == LabView::Cardinal) {
        addCardinal(picture, model);
    } else if (view == LabView::Poles) {
        addPoles(picture, model);
    } else {
        picture.logY = view == LabView::LogError;
        addFunctionCurve(picture, model);
        addMethodCurves(picture, model);
        if (view == LabView::Values) {
            picture.nodes = model.nodes();
            picture.nodesLabel = nodesLabel(model);
        }
        if (view == LabView::Lebesgue && picture.series.empty())
            picture.emptyReason = model.workPending()
                                      ? "Computing the Lebesgue function…"
                                      : "The Lebesgue function belongs to the global and the "
                                        "local polynomial and the Floater–Hormann interpolant: "
                                        "show one of them.";
    }
    // The poles view's plane is set by the nodes, not by what it holds.
    if (view != LabView::Poles)
        picture.world = fittingWorld(picture);
    picture.title = labTitle(model);
    const Captions captions = captionsOf(view);
    picture.xCaption = captions.x;
    picture.yCaption = captions.y;
    return picture;
}

std::optional<ObservedRate> observedRateOf(const LabModel& model,
                                           const ConvergenceTable& convergence,
                                           StudyMethod method)
{
    const auto points = convergence.find(method);
    if (model.settings().view != LabView::Convergence || points == convergence.end() ||
        points->second.size() < convergenceCounts(model.settings().count).size())
        return std::nullopt;
    std::vector<ErrorAtCount> errors;
    for (const auto& [count, error] : points->second)
        if (error)
            errors.push_back({count, *error});
    return observedRate(errors);
}

std::vector<NumbersRow> numbersWithViewFigures(const LabModel& model)
{
    std::vector<NumbersRow> rows = model.numbersRows();
    const LabView view = model.settings().view;
    if (view == LabView::Omega) {
        const LargestOmega largest = largestOmega(model.nodes());
        for (NumbersRow& row : rows) {
            row.largestOmega = largest.value;
            row.largestOmegaX = largest.x;
        }
    }
    const std::optional<RationalRoots> roots =
            view == LabView::Poles ? aaaRootsShown(model) : std::nullopt;
    for (NumbersRow& row : rows)
        if (roots && row.method == studyMethodKey(StudyMethod::Aaa)) {
            row.supportPoints = static_cast<double>(
                    model.outcome(StudyMethod::Aaa).interpolant->data().knots.size());
            if (!roots->poles.empty())
                row.nearestPole =
                        nearestPole(*roots, model.nodes().front().x, model.nodes().back().x);
        }
    return rows;
}

std::vector<NumbersRow> numbersWithOrders(const LabModel& model,
                                          const ConvergenceTable& convergence)
{
    std::vector<NumbersRow> rows = numbersWithViewFigures(model);
    for (NumbersRow& row : rows)
        if (const auto method = studyMethodFromKey(row.method))
            if (const auto rate = observedRateOf(model, convergence, *method))
                row.observedOrder = rateFigure(*rate);
    return rows;
}

std::string polesFigures(const LabModel& model)
{
    const std::optional<RationalRoots> roots = aaaRootsShown(model);
    if (!roots)
        return {};
    const std::size_t support =
            model.outcome(StudyMethod::Aaa).interpolant->data().knots.size();
    std::string text = joined({"AAA: ", std::to_string(support), " support point",
                               support == 1 ? "" : "s"});
    if (roots->poles.empty())
        return text + "; no pole";
    const double low = model.nodes().front().x;
    const double high = model.nodes().back().x;
    const Complex nearest = nearestPole(*roots, low, high);
    const std::string where = poleText(nearest, shortNumber);
    return text + joined({"; nearest pole ", where, ", ",
                          compactNumber(distanceFrom(nearest, low, high), "."),
                          " from the nodes"});
}

std::string labTitle(const LabModel& model)
{
    const LabSettings& settings = model.settings();
    const std::string count = std::to_string(model.nodes().size());
    if (settings.function == LabFunction::Data)
        return joined({model.functionLabel(), ", ", count, " nodes"});
    const FamilyWords& family = familyWords(settings);
    if (settings.view == LabView::Convergence)
        return joined({model.functionLabel(), ", ", family.counted, ": largest error against n"});
    return joined({model.functionLabel(), ", ", count, model.edited() ? " edited " : " ",
                   family.counted});
}

std::string pictureDescription(const LabModel& model)
{
    const LabSettings& settings = model.settings();
    std::string text = joined({named(kLabViews, settings.view).label, " of ",
                               model.functionLabel(), " at ",
                               std::to_string(model.nodes().size()), " ",
                               model.edited() ? "edited " : "", "nodes"});
    if (settings.function != LabFunction::Data)
        text += joined({" (", settings.ownNodes ? kOwnNodesLabel
                                                : named(kNodeFamilies, settings.family).label,
                        ")"});
    text += ".";
    if (settings.view == LabView::Omega)
        text += joined({" ω has its ", largestOmegaText(largestOmega(model.nodes())), "."});
    if (settings.view == LabView::Cardinal)
        text += joined({" The picked node is node ", std::to_string(settings.pickedNode),
                        " at x = ", compactNumber(model.nodes()[settings.pickedNode].x, "."),
                        "."});
    for (const StudyMethod method : kStudyMethods) {
        if (!settings.shown[methodIndex(method)])
            continue;
        const MethodOutcome& out = model.outcome(method);
        text += joined({" ", studyMethodName(method)});
        const ErrorBand& band = model.band(method);
        if (settings.view == LabView::Cardinal && out.available() && !linearInData(method))
            text += ": not linear in the data, so it has no curve of one node.";
        else if (band.order > 0 && !band.refusal.empty())
            text += joined({": no band. ", band.refusal});
        else if (!out.available())
            text += joined({": unavailable. ", out.refusal});
        else if (out.pending || out.previewed)
            text += ": being computed.";
        else if (out.figures && band.order > 0)
            text += joined({": ", largestErrorText(*out.figures), " under the band ",
                            bandText(band), " · |ω(x)|."});
        else if (out.figures)
            text += joined({": ", largestErrorText(*out.figures), "."});
        else
            text += ": shown.";
    }
    if (settings.view == LabView::Poles)
        if (const std::string figures = polesFigures(model); !figures.empty())
            text += joined({" ", figures, "."});
    return text;
}

}  // namespace tarvel
