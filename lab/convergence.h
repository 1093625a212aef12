// The convergence view's numbers: the largest error on the grid against the
// number of nodes, computed on a worker thread so the window stays free,
// delivered point by point and cancelled when a setting changes.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "interp/interpolant.h"
#include "interp/nodes.h"
#include "interp/study_functions.h"

#include "lab/noise.h"
#include "lab/stoppable_threads.h"

namespace tarvel {

// The convergence view's points as they arrive, per method by count.
using ConvergenceTable = std::map<StudyMethod, std::map<int, std::optional<double>>>;

struct ConvergenceRequest {
    StudyFunction function;
    NodeFamily family = NodeFamily::Equispaced;
    MethodParameters parameters;
    std::vector<StudyMethod> methods;
    std::vector<int> counts;
    // The lab's noise on the values at every count, drawn as at its own nodes.
    double noise = 0;
    std::uint64_t noiseSeed = kFirstNoiseSeed;
};

struct ConvergencePoint {
    StudyMethod method = StudyMethod::Linear;
    int count = 0;
    // The largest |p - f| on the grid; nothing when the method refuses
    // these nodes (local of a degree above n - 1, for one).
    std::optional<double> largestError;
};

// One point: the method built on `count` nodes of the family and compared
// with f (given on errorGrid()).
ConvergencePoint convergencePoint(const ConvergenceRequest& request, StudyMethod method,
                                  int count, const std::vector<double>& exact);

// Every point of the request, count by count (rising) and within a count
// method by method, against f on the grid computed once; stops early, delivering nothing more, once stop is
// requested. deliver is called on the calling thread.
void computeConvergence(const ConvergenceRequest& request, std::stop_token stop,
                        const std::function<void(const ConvergencePoint&)>& deliver);

// Runs of computeConvergence, each on a worker thread of its own. deliver
// and finished are called on that thread; finished only when every point was
// delivered. Starting a run stops the former one without waiting for it (a
// point it is computing may still be delivered, so a caller tells the runs
// apart by what its callbacks capture); cancel() and the destructor stop
// every run and wait for them, so no call comes after them.
class ConvergenceRun {
public:
    using Deliver = std::function<void(const ConvergencePoint&)>;
    using Finished = std::function<void()>;

    void start(ConvergenceRequest request, Deliver deliver, Finished finished);
    void cancel() { threads_.cancel(); }

private:
    StoppableThreads threads_;
};

}  // namespace tarvel
