#include "lab/convergence.h"

#include "interp/error_figures.h"
#include "lab/lab_settings.h"

namespace tarvel {

ConvergencePoint convergencePoint(const ConvergenceRequest& request, StudyMethod method,
                                  int count, const std::vector<double>& exact)
{
    ConvergencePoint point{method, count, std::nullopt};
    const std::vector<double> xs = familyNodes(request.family, count);
    if (xs.empty())
        return point;
    std::vector<double> ys;
    for (const double x : xs)
        ys.push_back(functionValue(request.function, x));
    const BuildResult built = buildInterpolant(
        method, xs, ys, methodSettingsFor(request.parameters, request.function, xs));
    if (!built.interpolant)
        return point;
    point.largestError = errorFigures(*built.interpolant, exact).maxError;
    return point;
}

void computeConvergence(const ConvergenceRequest& request, std::stop_token stop,
                        const std::function<void(const ConvergencePoint&)>& deliver)
{
    const std::vector<double> exact = valuesOnGrid(request.function);
    for (const int count : request.counts)
        for (const StudyMethod method : request.methods) {
            if (stop.stop_requested())
                return;
            deliver(convergencePoint(request, method, count, exact));
        }
}

void ConvergenceRun::start(ConvergenceRequest request, Deliver deliver, Finished finished)
{
    // Runs that have ended are joined at once; the running ones are told
    // to stop and left to end on their own, so the caller never waits.
    std::erase_if(workers_, [](Worker& worker) {
        worker.thread.request_stop();
        return worker.done->load();
    });
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::jthread thread([request = std::move(request), deliver = std::move(deliver),
                         finished = std::move(finished), done](std::stop_token stop) {
        computeConvergence(request, stop, deliver);
        if (!stop.stop_requested() && finished)
            finished();
        done->store(true);
    });
    workers_.push_back({std::move(thread), std::move(done)});
}

void ConvergenceRun::cancel()
{
    for (Worker& worker : workers_)
        worker.thread.request_stop();
    workers_.clear();  // each jthread joins as it goes
}

}  // namespace tarvel
