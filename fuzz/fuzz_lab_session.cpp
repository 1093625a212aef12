// A session over the interpolation lab's model: the fuzzer's bytes choose
// the main window's given points (any order, equal or huge finite values), then a
// sequence of actions: any function (typed ones too), node family, count,
// degree, method and view, the user's own nodes, drags of any node to any
// place (NaN and infinities too), Undo, Redo and Reset. After every action:
//
// - a refused change says why and leaves the settings and the nodes as they
//   were;
// - the nodes number the count (the given points' own count for data);
// - own nodes, which have no family, never reach the convergence view, by
//   Undo and Redo neither;
// - a method that took the nodes saw them in rising order, and while it is
//   shown has a value at every grid point;
// - a drag with Shift keeps rising nodes rising;
// - Undo right after a finished drag brings back exactly the former nodes;
// - the picture, the numbers and the values can be made, and the picture's
//   curves have a point for each of their abscissae;
// - a convergence run of the settings' request (its first few counts)
//   fills the view's table with a point for each method and count, and the
//   points of an earlier run are dropped.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "interp/error_figures.h"
#include "lab/convergence_study.h"
#include "lab/lab_model.h"
#include "lab/lab_picture.h"
#include "lab/noise.h"
#include "lab/tableau.h"

namespace tarvel {
namespace {

[[noreturn]] void violated(const char* property)
{
    std::fprintf(stderr, "PROPERTY VIOLATED: %s\n", property);
    std::abort();
}

void require(bool holds, const char* property)
{
    if (!holds)
        violated(property);
}

double anyValue(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0:
        return std::numeric_limits<double>::quiet_NaN();
    case 1:
        return in.ConsumeBool() ? INFINITY : -INFINITY;
    case 2:
        return in.ConsumeBool() ? 1e308 : -1e308;
    default:
        return in.ConsumeFloatingPointInRange(-2.0, 3.0);
    }
}

NodeList givenPoints(FuzzedDataProvider& in)
{
    NodeList nodes;
    const int count = in.ConsumeIntegralInRange(0, 40);
    double x = 0;
    for (int i = 0; i < count; ++i) {
        // Mostly rising, sometimes equal, falling or wild.
        x += in.ConsumeIntegralInRange(0, 9) == 0 ? in.ConsumeFloatingPointInRange(-0.5, 0.0)
                                                  : in.ConsumeFloatingPointInRange(0.0, 0.2);
        // The main window holds finite values only (its loader refuses others).
        const double y = in.ConsumeIntegralInRange(0, 15) == 0
                             ? (in.ConsumeBool() ? 1e308 : -1e308)
                             : in.ConsumeFloatingPointInRange(-2.0, 2.0);
        nodes.push_back({x, y});
    }
    return nodes;
}

void checkState(const LabModel& model)
{
    const LabSettings& s = model.settings();
    require(model.nodes().size() == static_cast<std::size_t>(s.count), "nodes number the count");
    require(!(s.ownNodes && s.view == LabView::Convergence), "own nodes have no convergence view");
    require(s.pickedNode < model.nodes().size(), "the picked node is one of the nodes");
    const bool rising = !orderProblem(model.nodes());
    for (const StudyMethod method : kStudyMethods) {
        const MethodOutcome& out = model.outcome(method);
        require(out.available() != !out.refusal.empty(), "a method is built or says why");
        if (!out.available())
            continue;
        require(rising, "a method took rising nodes only");
        if (s.shown[methodIndex(method)] && s.view != LabView::Convergence)
            require(out.value.size() == errorGrid().size(), "a shown method has every value");
    }
    const LabPicture picture = labPicture(model, {});
    for (const LabSeries& series : picture.series)
        require(series.x.size() == series.y.size(), "a curve has a point for each abscissa");
    (void)model.numbersRows();
    (void)model.valuesColumns();
}

void refusedOrApplied(LabModel& model, const Refusal& refusal, const LabSettings& before,
                      const NodeList& nodes)
{
    if (!refusal)
        return;
    require(!refusal->empty(), "a refusal says why");
    require(model.settings() == before, "a refusal keeps the settings");
    require(model.nodes() == nodes, "a refusal keeps the nodes");
}

void drag(LabModel& model, FuzzedDataProvider& in)
{
    const NodeList before = model.nodes();
    const bool rising = !orderProblem(before);
    const std::size_t node = in.ConsumeIntegralInRange<std::size_t>(0, before.size() + 1);
    const bool moveX = in.ConsumeBool();
    model.beginDrag();
    for (int step = in.ConsumeIntegralInRange(1, 4); step > 0; --step) {
        model.moveNode(node, anyValue(in), anyValue(in), moveX);
        if (rising)
            require(!orderProblem(model.nodes()), "a drag keeps rising nodes rising");
    }
    model.finishDrag();
    if (model.nodes() != before && in.ConsumeBool()) {
        require(!model.undo(), "a finished drag can be undone");
        require(model.nodes() == before, "Undo brings back the nodes before the drag");
    }
}

// The first few counts only: under the sanitizers a whole run is too slow.
void runConvergence(const LabModel& model, ConvergenceStudy& study, FuzzedDataProvider& in)
{
    std::optional<ConvergenceRequest> request = convergenceRequestFor(model);
    if (!request)
        return;
    request->counts.resize(std::min<std::size_t>(request->counts.size(),
                                                 in.ConsumeIntegralInRange<std::size_t>(1, 3)));
    const std::optional<std::uint64_t> run = study.begin(*request);
    if (!run) {
        require(study.complete(), "the same request keeps its finished points");
        return;
    }
    require(!study.begin(*request), "the same request starts no second run");
    const ConvergencePoint stale{StudyMethod::Linear, -1, 0.0};
    require(!study.take(*run - 1, stale), "a point of an earlier run is dropped");
    computeConvergence(*request, {}, [&](const ConvergencePoint& point) {
        require(study.take(*run, point), "a point of the current run is taken");
    });
    require(study.finish(*run) && study.complete(), "the run ends complete");
    for (const StudyMethod method : request->methods)
        for (const int count : request->counts)
            require(study.table().at(method).count(count) == 1,
                    "each method has a point at each count");
    require(study.table().size() == request->methods.size(), "only the requested methods");
}

// The noise at a level of the slider or between its decades, or another
// seed and back: the same seed draws the same values.
void changeNoise(LabModel& model, FuzzedDataProvider& in)
{
    const LabSettings before = model.settings();
    const NodeList nodes = model.nodes();
    if (in.ConsumeBool()) {
        const std::size_t level = in.ConsumeIntegralInRange<std::size_t>(0, kNoiseLevels.size());
        refusedOrApplied(model, model.setNoise(level < kNoiseLevels.size() ? kNoiseLevels[level] : 3e-6),
                         before, nodes);
        return;
    }
    model.setNoiseSeed(nextNoiseSeed(before.noiseSeed));
    const NodeList drawn = model.nodes();
    model.setNoiseSeed(before.noiseSeed);
    const NodeList again = model.nodes();
    model.setNoiseSeed(nextNoiseSeed(before.noiseSeed));
    require(model.nodes() == drawn, "the same seed draws the same noise");
    model.setNoiseSeed(before.noiseSeed);
    require(model.nodes() == again, "the first seed draws its noise again");
}

// A step of the divided-difference table: a refusal leaves its steps, and
// the nodes taken are distinct nodes there.
void stepTableau(TableauSteps& tableau, FuzzedDataProvider& in)
{
    const std::vector<std::size_t> taken = tableau.taken();
    const TableauOrder order = tableau.order();
    Refusal refusal;
    switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
        refusal = tableau.addStep();
        break;
    case 1:
        refusal = tableau.removeStep();
        break;
    case 2:
        refusal = tableau.setOrder(kTableauOrders[in.ConsumeIntegralInRange<std::size_t>(0, 2)].id);
        break;
    case 3:
        refusal = tableau.takeNode(in.ConsumeIntegralInRange<std::size_t>(0, 20));
        break;
    default:
        refusal = tableau.pickX(anyValue(in));
        break;
    }
    if (refusal) {
        require(!refusal->empty(), "a refused step says why");
        require(tableau.taken() == taken && tableau.order() == order, "a refused step keeps the steps");
    }
    std::vector<std::size_t> sorted = tableau.taken();
    std::sort(sorted.begin(), sorted.end());
    require(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end() &&
                (sorted.empty() || sorted.back() < tableau.nodeCount()),
            "the tableau takes distinct nodes that are there");
    const DividedDifferenceTable table = tableau.table();
    require(table.rows.size() == tableau.taken().size(), "one row per node taken");
    if (const std::optional<NevilleTableau> neville = tableau.neville())
        require(neville->rows.size() == table.rows.size(), "Neville's rows are the table's");
    if (tableau.unavailable().empty() && !tableau.taken().empty())
        require(tableau.series().size() == tableau.taken().size() + 1,
                "the plot shows each p_k and the newest term");
}

StudyMethod anyMethod(FuzzedDataProvider& in)
{
    return kStudyMethods[in.ConsumeIntegralInRange<std::size_t>(0, kStudyMethods.size() - 1)];
}

}  // namespace
}  // namespace tarvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvel;
    FuzzedDataProvider in(data, size);
    LabStart start;
    start.settings.function = kLabFunctions[in.ConsumeIntegralInRange<std::size_t>(0, kLabFunctions.size() - 1)].id;
    start.settings.count = in.ConsumeIntegralInRange(-3, 60);
    start.settings.parameters.set(anyMethod(in), in.ConsumeIntegralInRange(-3, 20));
    start.settings.shown[methodIndex(anyMethod(in))] = true;
    start.polynomial.degree = in.ConsumeFloatingPointInRange(-1.0, 6.0);
    start.data = givenPoints(in);
    LabModel model(std::move(start));
    ConvergenceStudy convergence;
    TableauSteps tableau;
    checkState(model);

    // The kept inputs were written when a session knew the first seven views
    // and no picked node, noise or tableau; only the actions after their 24
    // take those, so that every kept input still takes its own path.
    for (int actions = 0; actions < 48 && in.remaining_bytes() > 0; ++actions) {
        const bool later = actions >= 24;
        const LabSettings before = model.settings();
        const NodeList nodes = model.nodes();
        switch (in.ConsumeIntegralInRange(0, later ? 16 : 12)) {
        case 0:
            refusedOrApplied(model,
                             model.setFunction(
                                 kLabFunctions[in.ConsumeIntegralInRange<std::size_t>(0, kLabFunctions.size() - 1)].id),
                             before, nodes);
            break;
        case 1:
            refusedOrApplied(model,
                             model.setFamily(
                                 kNodeFamilies[in.ConsumeIntegralInRange<std::size_t>(0, 2)].id),
                             before, nodes);
            break;
        case 2:
            refusedOrApplied(model, model.setCount(in.ConsumeIntegralInRange(-2, 120)), before,
                             nodes);
            break;
        case 3:
            // High degrees only where they are refused: the Lebesgue function
            // of local Lagrange grows with the degree's square, too slow for
            // a session under the sanitizers.
            refusedOrApplied(model,
                             model.setParameter(anyMethod(in),
                                                in.ConsumeBool()
                                                    ? in.ConsumeIntegralInRange(-2, 12)
                                                    : in.ConsumeIntegralInRange(101, 2000)),
                             before, nodes);
            break;
        case 4:
            model.setShown(anyMethod(in), in.ConsumeBool());
            break;
        case 5:
            refusedOrApplied(
                model, model.setView(kLabViews[in.ConsumeIntegralInRange<std::size_t>(
                                  0, later ? kLabViews.size() - 1 : 6)]
                                  .id),
                before, nodes);
            break;
        case 6:
            drag(model, in);
            break;
        case 7:
            refusedOrApplied(model, model.undo(), before, nodes);
            break;
        case 8:
            refusedOrApplied(model, model.redo(), before, nodes);
            break;
        case 10:
            refusedOrApplied(model,
                             model.setExpression(in.PickValueInArray(
                                 {"exp(x) sin(10x)", "1/(1+25x^2)", "sqrt(x)", "abs(x-0.3)",
                                  "log(x)", "1/(x-0.5)", "2 +* x", "1e308 x^9", "x^x"})),
                             before, nodes);
            break;
        case 11: {
            Refusal refusal;
            if (in.ConsumeBool()) {
                NodeList own = givenPoints(in);
                const bool withY = in.ConsumeBool();
                refusal = model.replaceNodes(std::move(own), withY);
            } else {
                refusal = model.setOwnNodes(in.ConsumeBool());
            }
            refusedOrApplied(model, refusal, before, nodes);
            break;
        }
        case 12:
            runConvergence(model, convergence, in);
            break;
        case 13:
            refusedOrApplied(model,
                             model.setPickedNode(
                                 in.ConsumeIntegralInRange<std::size_t>(0, model.nodes().size())),
                             before, nodes);
            break;
        case 14:
            changeNoise(model, in);
            break;
        case 15:
            tableau.setNodes(model.nodes());
            stepTableau(tableau, in);
            break;
        case 16: {
            const std::size_t form = in.ConsumeIntegralInRange<std::size_t>(0, kGlobalForms.size() - 1);
            refusedOrApplied(model, model.setGlobalForm(kGlobalForms[form].id), before, nodes);
            break;
        }
        default:
            model.resetNodes();
            require(!model.edited(), "Reset brings back the function's nodes");
            break;
        }
        checkState(model);
    }
    return 0;
}
