#include "lab/lab_model.h"

#include <algorithm>
#include <cmath>

#include "data/number_text.h"
#include "data/printable_text.h"
#include "interp/cardinal.h"
#include "lab/lab_text.h"
#include "lab/method_refusal.h"

namespace tarvel {
namespace {

// The nodes' x and their y, apart.
std::pair<std::vector<double>, std::vector<double>> columnsOf(const NodeList& nodes)
{
    std::vector<double> xs;
    std::vector<double> ys;
    for (const Node& node : nodes) {
        xs.push_back(node.x);
        ys.push_back(node.y);
    }
    return {std::move(xs), std::move(ys)};
}

constexpr std::string_view kNoFunction = "the main window's given points have no exact function";
constexpr std::string_view kOwnNodesHaveNoFamily =
    "The convergence view steps n through a node family, and your own nodes have none: choose "
    "a family or another view first.";
constexpr std::string_view kStepToOwnNodes =
    "The convergence view steps n through a node family, and this step brings back your own "
    "nodes, which have none: choose another view first.";

std::string countText(int count)
{
    return std::to_string(count);
}

}  // namespace

std::optional<StudyFunctionId> studyFunctionOf(LabFunction function)
{
    switch (function) {
    case LabFunction::Sine:
        return StudyFunctionId::Sine;
    case LabFunction::Cos10:
        return StudyFunctionId::Cos10;
    case LabFunction::Polynomial:
        return StudyFunctionId::Polynomial;
    case LabFunction::Runge:
        return StudyFunctionId::Runge;
    case LabFunction::Abs:
        return StudyFunctionId::Abs;
    case LabFunction::Expression:
        return StudyFunctionId::Expression;
    case LabFunction::Data:
        break;
    }
    return std::nullopt;
}

LabModel::LabModel(LabStart start, bool deferLongWork)
    : settings_(start.settings), polynomial_(start.polynomial),
      expression_(std::move(start.expression)), ownXs_(std::move(start.ownXs)),
      data_(std::move(start.data)), deferLongWork_(deferLongWork)
{
    // An opening setting the lab cannot take falls back to its default.
    const LabSettings defaults;
    if (settings_.count < kLabMinCount || settings_.count > kLabMaxCount)
        settings_.count = defaults.count;
    for (const StudyMethod method : kStudyMethods)
        if (parameterProblem(method, settings_.parameters.of(method)))
            settings_.parameters.set(method, defaults.parameters.of(method));
    if (settings_.function == LabFunction::Data && data_.size() < static_cast<std::size_t>(kLabMinCount))
        settings_.function = defaults.function;
    if (settings_.function == LabFunction::Polynomial && polynomialProblem())
        settings_.function = defaults.function;
    if (settings_.function == LabFunction::Expression && !expression_)
        settings_.function = defaults.function;
    const bool rising = std::adjacent_find(ownXs_.begin(), ownXs_.end(), [](double a, double b) {
                            return !(b > a);
                        }) == ownXs_.end();
    const bool finite =
        std::all_of(ownXs_.begin(), ownXs_.end(), [](double x) { return std::isfinite(x); });
    if (ownXs_.size() < static_cast<std::size_t>(kLabMinCount) ||
        ownXs_.size() > static_cast<std::size_t>(kLabMaxCount) || !rising || !finite)
        ownXs_.clear();
    if (ownXs_.empty() || settings_.view == LabView::Convergence)
        settings_.ownNodes = false;
    if (!function() && viewNeedsFunction(settings_.view))
        settings_.view = LabView::Values;
    if (!noiseLevelIndex(settings_.noise))
        settings_.noise = defaults.noise;
    sampleFunction();
    takeNodes();
}

std::optional<StudyFunction> LabModel::function() const
{
    const std::optional<StudyFunctionId> id = studyFunctionOf(settings_.function);
    if (!id)
        return std::nullopt;
    return StudyFunction{*id, polynomial_, expression_};
}

const std::vector<double>& LabModel::exact(int order) const
{
    return exact_[static_cast<std::size_t>(std::clamp(order, 0, 2))];
}

const MethodOutcome& LabModel::outcome(StudyMethod method) const
{
    return outcomes_[methodIndex(method)];
}

namespace {

bool sameAbscissae(const NodeList& a, const NodeList& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Node& p, const Node& q) { return p.x == q.x; });
}

}  // namespace

std::string LabModel::unsavedEdits() const
{
    // The user's own nodes stay theirs when a new function gives them new
    // values: their abscissae are the edit.
    const bool ownUnsaved = nodes_.source().own &&
                            (!savedNodes_ || !sameAbscissae(nodes_.nodes(), *savedNodes_));
    const bool nodes = (nodes_.edited() && nodes_.nodes() != savedNodes_) || ownUnsaved;
    // Each accepted entry is a new expression, so a pointer tells a new one.
    const bool typed =
        settings_.function == LabFunction::Expression && expression_ != savedExpression_;
    if (nodes && typed)
        return "edited nodes and a typed function";
    return nodes ? "edited nodes" : typed ? "a typed function" : "";
}

std::string LabModel::functionLabel() const
{
    if (settings_.function == LabFunction::Expression)
        return "f(x) = " + printableText(expression_->text());
    return std::string(named(kLabFunctions, settings_.function).label);
}

Refusal LabModel::refuseForData(std::string_view what) const
{
    if (settings_.function != LabFunction::Data)
        return std::nullopt;
    std::string text(what);
    text += " the main window's given points keep their own (";
    text += countText(static_cast<int>(data_.size()));
    text += " points).";
    return text;
}

// The main window's own rule for its entries: a degree above 4 or of -1
// (which would divide by 0) and coefficients whose sum overflows are
// refused there, so the lab refuses them too.
Refusal LabModel::polynomialProblem() const
{
    const double degree = polynomial_.degree;
    if (degree > kMaxTestDegree || degree == -1)
        return joined({"The main window's test polynomial has the degree ",
                       compactNumber(degree, ".", 6), "; it must be at most ",
                       std::to_string(kMaxTestDegree), " and not -1."});
    double bound = 0;
    for (int k = 0; k <= degree && k < kPolyCapacity; ++k)
        bound += std::abs(polynomial_.coefs[static_cast<std::size_t>(k)]);
    if (!std::isfinite(bound))
        return std::string("The coefficients of the main window's test polynomial are too "
                           "large: their sum overflows a number.");
    return std::nullopt;
}

Refusal LabModel::setFunction(LabFunction function)
{
    if (function == settings_.function)
        return std::nullopt;
    if (function == LabFunction::Polynomial)
        if (Refusal problem = polynomialProblem())
            return problem;
    if (function == LabFunction::Expression && !expression_)
        return std::string("Type your function of x in the entry f(x) = first.");
    if (function == LabFunction::Data) {
        if (data_.size() < static_cast<std::size_t>(kLabMinCount))
            return joined({"The main window has ", countText(static_cast<int>(data_.size())),
                           " given points; the lab needs at least 2 (press OK there first)."});
        if (viewNeedsFunction(settings_.view))
            return joined({"The ", named(kLabViews, settings_.view).key,
                           " view compares with f, and ", kNoFunction,
                           ": choose the values or Lebesgue view first."});
    }
    keepOwnNodes();
    settings_.function = function;
    sampleFunction();
    takeNodes();
    return std::nullopt;
}

Refusal LabModel::setExpression(std::string_view text)
{
    ExpressionParse parse = parseExpression(text);
    if (!parse.expression)
        return parse.refusal;
    for (const double x : errorGrid())
        if (const std::string reason = parse.expression->notFiniteReason(x); !reason.empty())
            return joined({"f is not finite at x = ", compactNumber(x, ".", 6), ": ", reason});
    keepOwnNodes();
    expression_ = std::move(parse.expression);
    settings_.function = LabFunction::Expression;
    sampleFunction();
    takeNodes();
    return std::nullopt;
}

Refusal LabModel::setFamily(NodeFamily family)
{
    if (family == settings_.family && !settings_.ownNodes)
        return std::nullopt;
    if (Refusal refusal = refuseForData("The node family cannot change:"))
        return refusal;
    keepOwnNodes();
    settings_.family = family;
    settings_.ownNodes = false;
    chooseNodes();
    return std::nullopt;
}

Refusal LabModel::showNodes(NodeList nodes)
{
    if (nodes.size() != nodes_.nodes().size())
        return joined({"The study has ", countText(static_cast<int>(nodes.size())),
                       " nodes where its settings give ",
                       countText(static_cast<int>(nodes_.nodes().size())), "."});
    if (Refusal order = orderProblem(nodes))
        return joined({"The nodes' x must rise: ", *order, "."});
    for (const Node& node : nodes)
        if (!std::isfinite(node.x) || !std::isfinite(node.y))
            return std::string("The nodes hold a value that is not finite.");
    if (nodes_.replace(std::move(nodes), nodes_.source()))
        recompute();
    return std::nullopt;
}

Refusal LabModel::setOwnNodes(bool own)
{
    if (!own)
        return setFamily(settings_.family);
    if (settings_.ownNodes)
        return std::nullopt;
    if (Refusal refusal = refuseForData("The nodes cannot become your own:"))
        return refusal;
    if (settings_.view == LabView::Convergence)
        return std::string(kOwnNodesHaveNoFamily);
    if (ownXs_.empty())
        for (const Node& node : nodes())
            ownXs_.push_back(node.x);
    settings_.ownNodes = true;
    chooseNodes();
    return std::nullopt;
}

Refusal LabModel::replaceNodes(NodeList nodes, bool withY)
{
    const std::optional<StudyFunction> f = function();
    if (nodes.size() < static_cast<std::size_t>(kLabMinCount) ||
        nodes.size() > static_cast<std::size_t>(kLabMaxCount))
        return joined({"From 2 to 1001 nodes are taken; these are ",
                       countText(static_cast<int>(nodes.size())), "."});
    if (Refusal order = orderProblem(nodes))
        return joined({"The nodes' x must rise: ", *order, "."});
    if (f && settings_.view == LabView::Convergence)
        return std::string(kOwnNodesHaveNoFamily);
    if (!f && !withY)
        return std::string("Data (no function) take an x and a y for each node.");
    for (Node& node : nodes) {
        if (f)
            node.y = evaluateFunction(*f, node.x).value;
        if (!std::isfinite(node.x) || !std::isfinite(node.y))
            return joined({f ? "f is not finite at x = " : "The node at x = ",
                           compactNumber(node.x, ".", 15), f ? "." : " has no finite y."});
    }
    if (f)
        addNoise(nodes, settings_.noise, settings_.noiseSeed);
    if (f)
        settings_.ownNodes = true;
    nodes_.replace(std::move(nodes), sourceOf(settings_));
    countNodes();
    recompute();
    return std::nullopt;
}

Refusal LabModel::setCount(int count)
{
    if (count == settings_.count)
        return std::nullopt;
    if (count < kLabMinCount || count > kLabMaxCount)
        return joined({"The number of nodes is a whole number from ", countText(kLabMinCount),
                       " to ", countText(kLabMaxCount), "; ", countText(count), " is not."});
    if (Refusal refusal = refuseForData("The number of nodes cannot change:"))
        return refusal;
    if (settings_.ownNodes)
        return joined({"Your own nodes keep their number (", countText(settings_.count),
                       "): add or delete rows in the node table."});
    settings_.count = count;
    takeNodes();
    return std::nullopt;
}

Refusal LabModel::parameterProblem(StudyMethod method, int value)
{
    const std::optional<MethodParameter>& parameter = methodRow(method).parameter;
    if (!parameter)
        return std::nullopt;
    const bool fits = value >= parameter->low && value <= parameter->high &&
                      (!parameter->oddOnly || value % 2 != 0);
    if (fits)
        return std::nullopt;
    return joined({"The ", parameter->name, " of the ", studyMethodName(method), " is ",
                   parameter->oddOnly ? "an odd" : "a", " whole number from ",
                   countText(parameter->low), " to ", countText(parameter->high), "; ",
                   countText(value), " is not."});
}

Refusal LabModel::setParameter(StudyMethod method, int value)
{
    if (Refusal problem = parameterProblem(method, value))
        return problem;
    settings_.parameters.set(method, value);
    recompute();
    return std::nullopt;
}

Refusal LabModel::setGlobalForm(GlobalForm form)
{
    settings_.parameters.globalForm = form;
    recompute();
    return std::nullopt;
}

void LabModel::setShown(StudyMethod method, bool shown)
{
    settings_.shown[methodIndex(method)] = shown;
    recompute();
}

Refusal LabModel::setView(LabView view)
{
    if (!function() && viewNeedsFunction(view))
        return joined({"The ", named(kLabViews, view).key, " view compares with f, and ",
                       kNoFunction, "."});
    if (view == LabView::Convergence && settings_.ownNodes)
        return std::string(kOwnNodesHaveNoFamily);
    settings_.view = view;
    recompute();
    return std::nullopt;
}

Refusal LabModel::setNoise(double level)
{
    if (!noiseLevelIndex(level))
        return joined({"The noise is 0 or a decade from 1e-15 to 1e-2 of the values' range; ",
                       compactNumber(level, ".", 6), " is not."});
    if (level == settings_.noise)
        return std::nullopt;
    keepOwnNodes();
    settings_.noise = level;
    takeNodes();
    return std::nullopt;
}

void LabModel::setNoiseSeed(std::uint64_t seed)
{
    if (seed == settings_.noiseSeed)
        return;
    keepOwnNodes();
    settings_.noiseSeed = seed;
    takeNodes();
}

std::optional<NoiseEffectInputs> LabModel::noiseEffectInputs() const
{
    if (settings_.noise == 0 || nodes_.edited())
        return std::nullopt;
    LabSettings noiseless = settings_;
    noiseless.noise = 0;
    const NodeList clean = nodesOf(noiseless);
    if (clean.size() != nodes().size())
        return std::nullopt;
    NoiseEffectInputs inputs;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        inputs.xs.push_back(clean[i].x);
        inputs.ys.push_back(clean[i].y);
        inputs.noise = std::max(inputs.noise, std::fabs(nodes()[i].y - clean[i].y));
    }
    inputs.settings = methodSettingsFor(settings_.parameters, function(), inputs.xs);
    for (const StudyMethod method : kStudyMethods) {
        const MethodOutcome& out = outcome(method);
        if (settings_.shown[methodIndex(method)] && out.interpolant)
            inputs.noisy.emplace_back(method, *out.interpolant);
    }
    if (inputs.noisy.empty())
        return std::nullopt;
    return inputs;
}

std::vector<NoiseEffect> noiseEffectsOf(const NoiseEffectInputs& inputs, std::stop_token stop)
{
    const std::vector<double>& grid = errorGrid();
    std::vector<double> noisy(grid.size());
    std::vector<double> exact(grid.size());
    std::vector<NoiseEffect> effects;
    for (const auto& [method, built] : inputs.noisy) {
        if (stop.stop_requested())
            break;
        const BuildResult clean = buildInterpolant(method, inputs.xs, inputs.ys, inputs.settings);
        if (!clean.interpolant)
            continue;
        built.evaluate(grid, noisy);
        clean.interpolant->evaluate(grid, exact);
        double change = 0;
        for (std::size_t k = 0; k < grid.size(); ++k)
            change = std::max(change, std::fabs(noisy[k] - exact[k]));
        effects.push_back({method, change, inputs.noise});
    }
    return effects;
}

std::vector<NoiseEffect> LabModel::noiseEffects() const
{
    const std::optional<NoiseEffectInputs> inputs = noiseEffectInputs();
    return inputs ? noiseEffectsOf(*inputs) : std::vector<NoiseEffect>{};
}

std::string noiseEffectText(const NoiseEffect& effect)
{
    return joined({"error ", compactNumber(effect.change, ".", 2), " from noise ",
                   compactNumber(effect.noise, ".", 2), ": ",
                   amplificationText(effect.change / effect.noise), " ×"});
}

std::string noiseEffectSentence(const LabSettings& settings,
                                const std::vector<NoiseEffect>& effects)
{
    std::string said;
    for (const NoiseEffect& effect : effects)
        said += joined({said.empty() ? "" : "; ", studyMethodName(effect.method), " ",
                        noiseEffectText(effect)});
    if (said.empty())
        return {};
    return joined({"Noise ", compactNumber(settings.noise, "."), " of the range, seed ",
                   std::to_string(settings.noiseSeed), ": ", said, "."});
}

std::string LabModel::noiseEffect() const
{
    return noiseEffectSentence(settings_, noiseEffects());
}

Refusal LabModel::setPickedNode(std::size_t node)
{
    if (node >= nodes().size())
        return joined({"There is no node ", std::to_string(node), ": the nodes are numbered 0 to ",
                       std::to_string(nodes().size() - 1), "."});
    settings_.pickedNode = node;
    computeCardinals();
    return std::nullopt;
}

const std::vector<double>& LabModel::cardinal(StudyMethod method) const
{
    return cardinals_[methodIndex(method)];
}

const ErrorBand& LabModel::band(StudyMethod method) const
{
    return bands_[methodIndex(method)];
}

void LabModel::beginDrag()
{
    nodes_.beginDrag();
}

bool LabModel::moveNode(std::size_t i, double x, double y, bool moveX)
{
    if (!nodes_.moveNode(i, x, y, moveX))
        return false;
    recompute();
    return true;
}

void LabModel::finishDrag()
{
    nodes_.finishDrag();
}

Refusal LabModel::undo()
{
    return stepNodes(nodes_.undoSource(), "undo", &LabNodes::undo);
}

Refusal LabModel::redo()
{
    return stepNodes(nodes_.redoSource(), "redo", &LabNodes::redo);
}

Refusal LabModel::stepNodes(std::optional<NodeSource> source, std::string_view verb,
                            bool (LabNodes::*step)())
{
    if (!source)
        return joined({"There is no change of the nodes to ", verb, "."});
    if (source->own && settings_.view == LabView::Convergence)
        return std::string(kStepToOwnNodes);
    keepOwnNodes();
    (nodes_.*step)();
    followNodes();
    return std::nullopt;
}

bool LabModel::resetNodes()
{
    const bool reset = nodes_.restoreOriginal();
    if (reset)
        followNodes();
    return reset;
}

// The settings name where the nodes a step brought back come from.
void LabModel::followNodes()
{
    settings_.family = nodes_.source().family;
    settings_.ownNodes = nodes_.source().own;
    countNodes();
    recompute();
}

NodeList LabModel::nodesOf(const LabSettings& settings) const
{
    const std::optional<StudyFunction> f = function();
    NodeList nodes = data_;
    if (f) {
        const std::vector<double> xs =
            settings.ownNodes ? ownXs_ : familyNodes(settings.family, settings.count);
        const std::vector<double> ys = functionValues(*f, xs);
        nodes.clear();
        for (std::size_t k = 0; k < xs.size(); ++k)
            nodes.push_back({xs[k], ys[k]});
    }
    addNoise(nodes, settings.noise, settings.noiseSeed);
    return nodes;
}

NodeSource LabModel::sourceOf(const LabSettings& settings)
{
    return {settings.family, settings.ownNodes};
}

void LabModel::takeNodes()
{
    nodes_.reset(nodesOf(settings_), sourceOf(settings_));
    countNodes();
    recompute();
}

void LabModel::chooseNodes()
{
    nodes_.choose(nodesOf(settings_), sourceOf(settings_));
    countNodes();
    recompute();
}

// The abscissae of the user's own nodes outlast a change of function or
// family, so that choosing them again brings them back.
void LabModel::keepOwnNodes()
{
    if (!settings_.ownNodes || !hasFunction())
        return;
    ownXs_.clear();
    for (const Node& node : nodes())
        ownXs_.push_back(node.x);
}

// A family's nodes number the count already; a step back to them from own
// nodes of another number brings their number back too.
void LabModel::countNodes()
{
    settings_.count = static_cast<int>(nodes().size());
    settings_.pickedNode = std::min(settings_.pickedNode, nodes().size() - 1);
}

void LabModel::sampleFunction()
{
    taylorMaxima_.clear();
    for (std::vector<double>& values : exact_)
        values.clear();
    const std::optional<StudyFunction> f = function();
    if (!f)
        return;
    for (const FunctionValues& at : evaluateFunction(*f, errorGrid())) {
        exact_[0].push_back(at.value);
        exact_[1].push_back(at.first);
        exact_[2].push_back(at.second);
    }
}

void LabModel::recompute()
{
    for (const StudyMethod method : kStudyMethods)
        computeMethod(method);
    computeCardinals();
    computeBands();
}

void LabModel::computeCardinals()
{
    for (const StudyMethod method : kStudyMethods) {
        std::vector<double>& curve = cardinals_[methodIndex(method)];
        curve.clear();
        const MethodOutcome& out = outcome(method);
        if (settings_.view != LabView::Cardinal || !settings_.shown[methodIndex(method)] ||
            !out.available() || !linearInData(method))
            continue;
        curve.resize(curveGrid().size());
        if (!cardinalCurve(method, out.interpolant->xs(), settings_.pickedNode,
                           settings_.parameters, curveGrid(), curve))
            curve.clear();
    }
}

void LabModel::computeBands()
{
    for (const StudyMethod method : {StudyMethod::Global, StudyMethod::Local}) {
        ErrorBand& band = bands_[methodIndex(method)];
        band = ErrorBand{};
        const MethodOutcome& out = outcome(method);
        if (settings_.view != LabView::Bound || !settings_.shown[methodIndex(method)] ||
            !out.available())
            continue;
        band.order = method == StudyMethod::Global ? static_cast<int>(nodes().size())
                                                   : settings_.parameters.of(method) + 1;
        band.refusal = bandProblem(method, band.order);
        if (band.refusal.empty())
            band.coefficient = taylorMaxima_.at(band.order);
    }
}

// Why the error formula gives no band of this order, in words; empty
// when it does.
std::string LabModel::bandProblem(StudyMethod method, int order)
{
    if (order > kTaylorMaxOrder)
        return joined({"The band takes f⁽", superscript(order), "⁾, and the Taylor coefficients "
                       "reach the order ", std::to_string(kTaylorMaxOrder), ": take ",
                       method == StudyMethod::Global ? "at most " : "a degree of at most ",
                       std::to_string(method == StudyMethod::Global ? kTaylorMaxOrder
                                                                    : kTaylorMaxOrder - 1),
                       method == StudyMethod::Global ? " nodes." : "."});
    const std::optional<StudyFunction> f = function();
    for (const Node& node : nodes())
        if (node.y != evaluateFunction(*f, node.x).value)
            return "The band bounds the error of interpolating f, and the nodes were moved off "
                   "f: reset the nodes first.";
    auto known = taylorMaxima_.find(order);
    if (known == taylorMaxima_.end())
        known = taylorMaxima_.emplace(order, taylorCoefficientMaximum(*f, order)).first;
    const DerivativeMaximum& maximum = known->second;
    const std::string at = compactNumber(maximum.at, ".", 6);
    switch (maximum.problem) {
    case DerivativeProblem::None:
    case DerivativeProblem::OrderTooHigh:
        break;
    case DerivativeProblem::Kink:
        return joined({"f has a kink at x = ", at, ": without f⁽", superscript(order),
                       "⁾ there no band bounds its error."});
    case DerivativeProblem::NotFinite:
        return joined({"f⁽", superscript(order), "⁾ is not finite at x = ", at,
                       ", so no band bounds the error."});
    }
    return {};
}

void LabModel::computeMethod(StudyMethod method)
{
    MethodOutcome& out = outcomes_[methodIndex(method)];
    out = MethodOutcome{};
    const std::uint64_t generation = ++generations_[methodIndex(method)];
    longWork_[methodIndex(method)].reset();
    if (methodRow(method).needsFunction && !hasFunction()) {
        out.refusal = joined({methodRow(method).subject,
                              " needs the end slopes f′(0) and f′(1), and ", kNoFunction, "."});
        return;
    }
    auto [xs, ys] = columnsOf(nodes_.nodes());
    const MethodSettings methodSettings = methodSettingsFor(settings_.parameters, function(), xs);
    const bool shown = settings_.shown[methodIndex(method)];
    MethodWork work{method, generation, {}, settings_.view, {}, std::nullopt, std::nullopt};
    if (hasFunction())
        work.exact = exact_[0];
    if (deferLongWork_ && buildTakesLongerThanAFrame(method, xs.size())) {
        if (!shown) {
            out.waitsUntilShown = true;
            return;
        }
        out.pending = true;
        work.build = MethodBuild{xs, ys, methodSettings};
        longWork_[methodIndex(method)] = std::move(work);
        return;
    }
    BuildResult built = buildInterpolant(method, xs, ys, methodSettings);
    if (!built.interpolant) {
        out.refusal = refusalText(method, *built.refusal);
        return;
    }
    out.interpolant = std::move(built.interpolant);
    if (!shown)
        return;
    work.interpolant = *out.interpolant;
    const auto& cached = lebesgueCache_[methodIndex(method)];
    if (cached && cached->first == LebesgueKey{xs, settings_.parameters.of(method)})
        work.knownLebesgueConstant = cached->second;
    // A drag draws its curves at once; the figures, which take every grid
    // point, follow from a worker.
    if (deferLongWork_ && nodes_.dragging() && previewable(settings_.view)) {
        out = previewOutcome(work);
        longWork_[methodIndex(method)] = std::move(work);
        return;
    }
    if (deferLongWork_ && takesLongerThanAFrame(*out.interpolant)) {
        out.pending = true;
        longWork_[methodIndex(method)] = std::move(work);
        return;
    }
    takeResult({method, generation, *completedOutcome(work)});
}

std::vector<MethodWork> LabModel::takeLongWork()
{
    std::vector<MethodWork> works;
    for (std::optional<MethodWork>& work : longWork_) {
        if (work)
            works.push_back(std::move(*work));
        work.reset();
    }
    return works;
}

bool LabModel::takeResult(MethodWorkResult result)
{
    const std::size_t i = methodIndex(result.method);
    if (result.generation != generations_[i])
        return false;
    const MethodOutcome& out = result.outcome;
    // A build refused on the worker has no interpolant.
    if (out.interpolant) {
        const std::span<const double> xs = out.interpolant->xs();
        lebesgueCache_[i].emplace(
            LebesgueKey{{xs.begin(), xs.end()}, settings_.parameters.of(result.method)},
            out.lebesgueConstant);
    }
    outcomes_[i] = std::move(result.outcome);
    return true;
}

bool LabModel::workPending() const
{
    return std::any_of(outcomes_.begin(), outcomes_.end(),
                       [](const MethodOutcome& out) { return out.pending || out.previewed; });
}

std::vector<NumbersRow> LabModel::numbersRows() const
{
    std::vector<NumbersRow> rows;
    for (const StudyMethod method : kStudyMethods) {
        if (!settings_.shown[methodIndex(method)])
            continue;
        const MethodOutcome& out = outcome(method);
        NumbersRow row;
        row.method = studyMethodKey(method);
        if (out.figures) {
            row.largestError = out.figures->maxError;
            row.atX = out.figures->maxErrorX;
            row.rmsError = out.figures->rmsError;
            row.overshoot = out.figures->overshoot;
        }
        row.lebesgueConstant = out.lebesgueConstant;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<ValuesColumn> LabModel::valuesColumns() const
{
    // x = k/1000 is grid point 10k: both are the same correctly rounded
    // quotient, so the function's values are read off the grid.
    const auto every10th = [](const std::vector<double>& values) {
        std::vector<double> picked;
        for (std::size_t k = 0; k < values.size(); k += 10)
            picked.push_back(values[k]);
        return picked;
    };
    std::vector<ValuesColumn> columns = {
        {"f", every10th(exact_[0])}, {"f'", every10th(exact_[1])}, {"f''", every10th(exact_[2])}};
    std::vector<double> xs(kValuesPoints);
    for (int k = 0; k < kValuesPoints; ++k)
        xs[static_cast<std::size_t>(k)] = valuesAbscissa(k);
    for (const StudyMethod method : kStudyMethods) {
        const MethodOutcome& out = outcome(method);
        if (!settings_.shown[methodIndex(method)] || !out.available())
            continue;
        // A method still being built on a worker is built here too: the
        // file holds every shown method.
        std::optional<Interpolant> building;
        if (!out.interpolant) {
            const auto [nodeXs, nodeYs] = columnsOf(nodes_.nodes());
            building = buildInterpolant(method, nodeXs, nodeYs,
                                        methodSettingsFor(settings_.parameters, function(), nodeXs))
                           .interpolant;
            if (!building)
                continue;
        }
        const Interpolant& p = out.interpolant ? *out.interpolant : *building;
        const std::string id = studyMethodKey(method);
        ValuesColumn value{id, std::vector<double>(xs.size())};
        ValuesColumn first{id + "'", std::vector<double>(xs.size())};
        ValuesColumn second{id + "''", std::vector<double>(xs.size())};
        p.evaluate(xs, value.values, first.values, second.values);
        columns.push_back(std::move(value));
        columns.push_back(std::move(first));
        columns.push_back(std::move(second));
    }
    return columns;
}

}  // namespace tarvel
