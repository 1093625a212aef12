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
    const std::vector<double> clean = functionValues(request.function, xs);
    NodeList nodes;
    for (std::size_t k = 0; k < xs.size(); ++k)
        nodes.push_back({xs[k], clean[k]});
    addNoise(nodes, request.noise, request.noiseSeed);
    std::vector<double> ys;
    for (const Node& node : nodes)
        ys.push_back(node.y);
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
    threads_.stopRunning();
    threads_.add([request = std::move(request), deliver = std::move(deliver),
                  finished = std::move(finished)](std::stop_token stop) {
        computeConvergence(request, stop, deliver);
        if (!stop.stop_requested() && finished)
            finished();
    });
}

}  // namespace tarvel
