#include "lab/convergence_study.h"

namespace tarvel {
namespace {

bool sameRequest(const ConvergenceRequest& a, const ConvergenceRequest& b)
{
    return a.function.id == b.function.id && a.function.expression == b.function.expression &&
           a.function.polynomial.degree == b.function.polynomial.degree &&
           a.function.polynomial.coefs == b.function.polynomial.coefs && a.family == b.family &&
           a.parameters == b.parameters && a.methods == b.methods && a.counts == b.counts &&
           a.noise == b.noise && a.noiseSeed == b.noiseSeed;
}

}  // namespace

std::optional<ConvergenceRequest> convergenceRequestFor(const LabModel& model)
{
    const std::optional<StudyFunction> function = model.function();
    if (!function)
        return std::nullopt;
    ConvergenceRequest request;
    request.function = *function;
    request.family = model.settings().family;
    request.parameters = model.settings().parameters;
    for (const StudyMethod method : kStudyMethods)
        if (model.settings().shown[methodIndex(method)])
            request.methods.push_back(method);
    request.counts = convergenceCounts(model.settings().count);
    request.noise = model.settings().noise;
    request.noiseSeed = model.settings().noiseSeed;
    return request;
}

std::optional<std::uint64_t> ConvergenceStudy::begin(const ConvergenceRequest& request)
{
    if (request_ && sameRequest(*request_, request))
        return std::nullopt;
    request_ = request;
    table_.clear();
    complete_ = request.methods.empty();
    return ++run_;
}

bool ConvergenceStudy::take(std::uint64_t run, const ConvergencePoint& point)
{
    if (run != run_)
        return false;
    table_[point.method][point.count] = point.largestError;
    return true;
}

bool ConvergenceStudy::finish(std::uint64_t run)
{
    if (run != run_)
        return false;
    complete_ = true;
    return true;
}

}  // namespace tarvel
