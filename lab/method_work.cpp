#include "lab/method_work.h"

#include <algorithm>
#include <limits>
#include <span>

#include "interp/aaa.h"
#include "lab/method_refusal.h"

namespace tarvel {
namespace {

// About the terms a processor sums in a few milliseconds.
constexpr double kTermsWithinAFrame = 3e6;

// A stale work gives its processor up within this many grid points.
constexpr std::size_t kPointsBetweenStopChecks = 256;

// body(from, count) over blocks of 0 ... size - 1, in order; false, with
// the rest left undone, once stop is requested.
template <typename Body> bool inBlocks(std::size_t size, std::stop_token stop, Body body)
{
    for (std::size_t from = 0; from < size; from += kPointsBetweenStopChecks) {
        if (stop.stop_requested())
            return false;
        body(from, std::min(kPointsBetweenStopChecks, size - from));
    }
    return !stop.stop_requested();
}

}  // namespace

const std::vector<double>& curveGrid()
{
    static const std::vector<double> points = [] {
        const std::vector<double>& grid = errorGrid();
        const std::size_t step = (grid.size() - 1) / (kCurvePoints - 1);
        std::vector<double> picked;
        for (std::size_t k = 0; k < grid.size(); k += step)
            picked.push_back(grid[k]);
        return picked;
    }();
    return points;
}

bool previewable(LabView view)
{
    return view == LabView::Values || view == LabView::Error || view == LabView::Derivative ||
           view == LabView::Second;
}

MethodOutcome previewOutcome(const MethodWork& work)
{
    MethodOutcome out;
    out.interpolant = work.interpolant;
    out.previewed = true;
    const std::vector<double>& curve = curveGrid();
    std::vector<double> value(curve.size());
    std::vector<double> first(work.view == LabView::Derivative ? curve.size() : 0);
    std::vector<double> second(work.view == LabView::Second ? curve.size() : 0);
    out.interpolant->evaluate(curve, value, first, second);
    // Spread over the grid as completedOutcome() lays them out, so the
    // picture samples both alike.
    const std::size_t gridSize = errorGrid().size();
    const std::size_t step = (gridSize - 1) / (kCurvePoints - 1);
    const auto spread = [&](const std::vector<double>& at, std::vector<double>& onGrid) {
        if (at.empty())
            return;
        onGrid.assign(gridSize, std::numeric_limits<double>::quiet_NaN());
        for (std::size_t k = 0; k < at.size(); ++k)
            onGrid[k * step] = at[k];
    };
    spread(value, out.value);
    spread(first, out.first);
    spread(second, out.second);
    if (work.knownLebesgueConstant)
        out.lebesgueConstant = *work.knownLebesgueConstant;
    return out;
}

std::optional<MethodOutcome> completedOutcome(const MethodWork& work, std::stop_token stop)
{
    MethodOutcome out;
    out.interpolant = work.interpolant;
    const Interpolant& p = *out.interpolant;
    const std::vector<double>& grid = errorGrid();
    out.value.resize(grid.size());
    if (work.view == LabView::Derivative)
        out.first.resize(grid.size());
    if (work.view == LabView::Second)
        out.second.resize(grid.size());
    const bool evaluated = inBlocks(grid.size(), stop, [&](std::size_t from, std::size_t count) {
        const auto part = [&](std::vector<double>& values) {
            return values.empty() ? std::span<double>() : std::span(values).subspan(from, count);
        };
        p.evaluate(std::span(grid).subspan(from, count), part(out.value), part(out.first),
                   part(out.second));
    });
    if (!evaluated)
        return std::nullopt;
    if (!work.exact.empty()) {
        const auto [low, high] = std::minmax_element(p.ys().begin(), p.ys().end());
        out.figures = errorFiguresOf(grid, out.value, work.exact, *low, *high, p.xs().front(),
                                     p.xs().back());
    }
    // The Lebesgue view shows the function; otherwise it is computed only
    // for its largest value, the constant, unless that is known already.
    const bool wantsFunction = work.view == LabView::Lebesgue || !work.knownLebesgueConstant;
    std::vector<double> lebesgue(wantsFunction ? grid.size() : 0);
    bool hasFunction = wantsFunction;
    const bool weighed = !wantsFunction || inBlocks(grid.size(), stop, [&](std::size_t from,
                                                                           std::size_t count) {
        hasFunction = hasFunction && lebesgueFunction(p, std::span(grid).subspan(from, count),
                                                      std::span(lebesgue).subspan(from, count));
    });
    if (!weighed)
        return std::nullopt;
    if (work.knownLebesgueConstant)
        out.lebesgueConstant = *work.knownLebesgueConstant;
    else if (hasFunction)
        out.lebesgueConstant = firstLargest(grid, lebesgue).value;
    if (work.view == LabView::Lebesgue && hasFunction)
        out.lebesgue = std::move(lebesgue);
    return out;
}

bool takesLongerThanAFrame(const Interpolant& interpolant)
{
    // The values and the Lebesgue function of the global forms each sum
    // every weighted term at every grid point; the local polynomial also
    // weighs each of its windows.
    const auto grid = static_cast<double>(errorGrid().size());
    const auto nodes = static_cast<double>(interpolant.xs().size());
    switch (interpolant.method()) {
    case StudyMethod::Global:
    case StudyMethod::Fh:
    case StudyMethod::Trig:
        return 2 * grid * nodes > kTermsWithinAFrame;
    case StudyMethod::Local: {
        const double terms = interpolant.parameter() + 1;
        const double windows = std::min(nodes - terms + 1, grid);
        return 2 * (windows * terms * terms + grid * terms) > kTermsWithinAFrame;
    }
    default:
        return false;
    }
}

bool buildTakesLongerThanAFrame(StudyMethod method, std::size_t nodes)
{
    if (method != StudyMethod::Aaa)
        return false;
    // At most one support point for every two nodes: each step fits the
    // other nodes against all the support points taken so far.
    const double support =
        std::min(static_cast<double>(nodes) / 2, static_cast<double>(kAaaMaxSupportPoints));
    return static_cast<double>(nodes) * support * support * support / 3 > kTermsWithinAFrame;
}

std::optional<MethodOutcome> builtOutcome(MethodWork work, std::stop_token stop)
{
    if (const std::optional<MethodBuild> build = std::move(work.build)) {
        BuildResult built = buildInterpolant(work.method, build->xs, build->ys, build->settings);
        if (stop.stop_requested())
            return std::nullopt;
        MethodOutcome out;
        if (!built.interpolant) {
            out.refusal = refusalText(work.method, *built.refusal);
            return out;
        }
        work.interpolant = std::move(*built.interpolant);
    }
    return completedOutcome(work, stop);
}

void MethodWorkRun::start(std::vector<MethodWork> works, Deliver deliver)
{
    threads_.stopRunning();
    // The methods are computed side by side on as many processors as there
    // are, dealt out in turn; a later start stops each between methods.
    const std::size_t lanes =
        std::min<std::size_t>(works.size(), std::max(1U, std::thread::hardware_concurrency()));
    std::vector<std::vector<MethodWork>> dealt(lanes);
    for (std::size_t k = 0; k < works.size(); ++k)
        dealt[k % lanes].push_back(std::move(works[k]));
    for (std::vector<MethodWork>& lane : dealt)
        threads_.add([lane = std::move(lane), deliver](std::stop_token stop) {
            for (const MethodWork& work : lane) {
                if (stop.stop_requested())
                    return;
                if (std::optional<MethodOutcome> outcome = builtOutcome(work, stop))
                    deliver({work.method, work.generation, std::move(*outcome)});
            }
        });
}

}  // namespace tarvel
