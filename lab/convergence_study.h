// The convergence view's bookkeeping without a window or a thread: the
// request the lab's settings ask for, which run its points belong to, the
// points so far and whether the run has ended. The window runs each
// request on a worker (ConvergenceRun) and hands back what arrives with the
// id of the run that produced it; a point of an earlier run is dropped.
#pragma once

#include <cstdint>
#include <optional>

#include "lab/convergence.h"
#include "lab/lab_model.h"

namespace tarvel {

// The request of the model's current settings: its function, node family,
// parameters, shown methods and the counts of the view; nothing for data.
std::optional<ConvergenceRequest> convergenceRequestFor(const LabModel& model);

class ConvergenceStudy {
public:
    // A new run when the request differs from the one the points belong
    // to: its id, the points cleared. Nothing when they already belong to
    // it (the view goes on with them).
    std::optional<std::uint64_t> begin(const ConvergenceRequest& request);
    // False, changing nothing, for a point or an end of an earlier run.
    bool take(std::uint64_t run, const ConvergencePoint& point);
    bool finish(std::uint64_t run);

    const ConvergenceTable& table() const { return table_; }
    bool complete() const { return complete_; }
    const std::optional<ConvergenceRequest>& request() const { return request_; }

private:
    ConvergenceTable table_;
    std::optional<ConvergenceRequest> request_;
    bool complete_ = false;
    std::uint64_t run_ = 0;
};

}  // namespace tarvel
