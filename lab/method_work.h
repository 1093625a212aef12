// The part of a shown method's outcome that takes time: its values on the
// grid, its error figures, its Lebesgue function and constant. At many nodes
// or a high local degree this takes longer than a frame, so the window has it
// done on a worker thread, cancelled by the next change and taken when it
// arrives.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "interp/error_figures.h"
#include "interp/interpolant.h"
#include "lab/lab_settings.h"

#include "lab/stoppable_threads.h"

namespace tarvel {

// One method as the lab shows it: refused with the reason, or built, with
// its values on the grid while it is shown.
struct MethodOutcome {
    std::string refusal;  // empty when the method took the nodes
    std::optional<Interpolant> interpolant;
    std::vector<double> value;            // p on errorGrid(), while shown
    std::vector<double> first;            // p', in the derivative view
    std::vector<double> second;           // p'', in the second-derivative view
    std::vector<double> lebesgue;         // in the Lebesgue view, global, local and fh only
    std::optional<ErrorFigures> figures;  // with an exact function
    std::optional<double> lebesgueConstant;
    // Still being built on a worker (no interpolant yet), or built with its
    // values still being computed.
    bool pending = false;
    // Drawn from the curve's grid points alone while a drag goes on: only
    // every curve-grid-th entry of value, first and second is set, and the
    // figures are being computed.
    bool previewed = false;
    // Not shown, and too slow to build for nothing: built once it is shown.
    bool waitsUntilShown = false;
    bool available() const { return interpolant.has_value() || pending || waitsUntilShown; }
};

// What a method whose build itself takes longer than a frame is built from
// on the worker.
struct MethodBuild {
    std::vector<double> xs;
    std::vector<double> ys;
    MethodSettings settings;
};

// What the values of one built method are computed from.
struct MethodWork {
    StudyMethod method = StudyMethod::Linear;
    std::uint64_t generation = 0;  // which state of the nodes and settings it belongs to
    Interpolant interpolant;
    LabView view = LabView::Values;
    std::vector<double> exact;  // f on errorGrid(); empty without a function
    // The Lebesgue constant when it is known already (it depends on the
    // abscissae alone, so a move of a value keeps it).
    std::optional<std::optional<double>> knownLebesgueConstant;
    // With a build to do, interpolant is empty until the worker has built it.
    std::optional<MethodBuild> build;
};

struct MethodWorkResult {
    StudyMethod method = StudyMethod::Linear;
    std::uint64_t generation = 0;
    MethodOutcome outcome;
};

// The outcome of the work, its values computed; nothing when stop was
// requested meanwhile.
std::optional<MethodOutcome> completedOutcome(const MethodWork& work, std::stop_token stop = {});

// The points of the 10,001-point grid a curve is drawn through: one every
// two pixels of a wide plot, and few enough for a drag to stay smooth.
inline constexpr int kCurvePoints = 501;
// Those points' x: every 20th point of errorGrid().
const std::vector<double>& curveGrid();

// The curves of the values views at the curve's grid points alone, for a
// drag to draw at once while completedOutcome() is computed meanwhile.
MethodOutcome previewOutcome(const MethodWork& work);
bool previewable(LabView view);

// Whether computing the values may take longer than a frame: the global
// forms (the polynomial, Floater–Hormann, trigonometric) at many nodes, the
// local polynomial at a high degree.
bool takesLongerThanAFrame(const Interpolant& interpolant);

// Whether building the method on this many nodes may take longer than a
// frame: AAA, whose greedy steps each solve a least-squares problem of every
// node against every support point so far.
bool buildTakesLongerThanAFrame(StudyMethod method, std::size_t nodes);

// The work's outcome: built first when it has a build to do (refused with
// the reason), then its values computed; nothing when stop was requested
// meanwhile.
std::optional<MethodOutcome> builtOutcome(MethodWork work, std::stop_token stop = {});

// Runs of works, each work on a worker thread of its own. deliver is called
// on that thread with its result. Starting a run
// stops the former one without waiting for it (a result it is computing
// may still be delivered: the generation tells it apart); cancel() and the
// destructor stop every run and wait for them, so no call comes after them.
class MethodWorkRun {
public:
    using Deliver = std::function<void(MethodWorkResult)>;

    void start(std::vector<MethodWork> works, Deliver deliver);
    void cancel() { threads_.cancel(); }

private:
    StoppableThreads threads_;
};

}  // namespace tarvel
