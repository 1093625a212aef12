// The comparison methods: the convergence table (largest and RMS error on
// the 10,001-point grid for every function, node family, method and count),
// its time, and the time of each method at n = 101 with values and both
// derivatives at 1001 points. Beside them SciPy's time for the table of the
// methods SciPy has (bench/scipy_convergence.py, when Debian's
// python3-scipy is installed), against ours for the same methods.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "interp/error_figures.h"
#include "interp/interpolant.h"
#include "interp/nodes.h"
#include "interp/study_functions.h"

namespace tarvel {
namespace {

constexpr std::array<int, 9> kCounts = {5, 11, 21, 41, 81, 161, 321, 641, 1001};
constexpr std::array<StudyFunctionId, 5> kFunctions = {
    StudyFunctionId::Sine, StudyFunctionId::Cos10, StudyFunctionId::Runge, StudyFunctionId::Abs,
    StudyFunctionId::Polynomial};
constexpr std::array<NodeFamily, 2> kFamilies = {NodeFamily::Equispaced, NodeFamily::Lobatto};
// The methods the SciPy script computes too (bench/scipy_convergence.py).
constexpr std::array<StudyMethod, 11> kScipyMethods = {
    StudyMethod::Global, StudyMethod::Local,    StudyMethod::Linear, StudyMethod::Natural,
    StudyMethod::Clamped, StudyMethod::NotAKnot, StudyMethod::Pw,     StudyMethod::Pchip,
    StudyMethod::Akima,  StudyMethod::Periodic, StudyMethod::BSpline};

struct Row {
    StudyFunctionId function;
    NodeFamily family;
    StudyMethod method;
    int n;
    ErrorFigures figures;
};

// The key, with the parameter's default value for a method that has one:
// "local3", "fh3", "bspline5".
std::string methodLabel(StudyMethod method)
{
    std::string label = studyMethodKey(method);
    if (methodRow(method).parameter)
        label += std::to_string(MethodParameters().of(method));
    return label;
}

// The method through the function's values at xs; clamped ends take the
// function's exact slopes.
std::optional<Interpolant> interpolantOf(StudyMethod method, const StudyFunction& f,
                                         const std::vector<double>& xs)
{
    const std::vector<double> ys = functionValues(f, xs);
    MethodSettings settings;
    settings.leftSlope = evaluateFunction(f, 0).first;
    settings.rightSlope = evaluateFunction(f, 1).first;
    return buildInterpolant(method, xs, ys, settings).interpolant;
}

// A refused method's row: every figure not a number.
ErrorFigures refusedFigures()
{
    const double nan = std::nan("");
    ErrorFigures figures;
    figures.maxError = nan;
    figures.maxErrorX = nan;
    figures.rmsError = nan;
    figures.overshoot = nan;
    return figures;
}

template <std::size_t N>
std::vector<Row> convergenceTable(const std::array<StudyMethod, N>& methods)
{
    std::vector<Row> rows;
    for (const StudyFunctionId id : kFunctions) {
        const StudyFunction f{id, {}};
        const std::vector<double> exact = valuesOnGrid(f);
        for (const NodeFamily family : kFamilies)
            for (const StudyMethod method : methods)
                for (const int n : kCounts) {
                    const auto p = interpolantOf(method, f, familyNodes(family, n));
                    rows.push_back({id, family, method, n,
                                    p ? errorFigures(*p, exact) : refusedFigures()});
                }
    }
    return rows;
}

double processSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double medianMicroseconds(StudyMethod method)
{
    const StudyFunction f{StudyFunctionId::Sine, {}};
    const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, 101);
    std::vector<double> points(1001);
    for (std::size_t k = 0; k < points.size(); ++k)
        points[k] = static_cast<double>(k) / 1000;
    std::vector<double> value(points.size());
    std::vector<double> first(points.size());
    std::vector<double> second(points.size());
    std::vector<double> times;
    for (int run = 0; run < 101; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const auto p = interpolantOf(method, f, xs);
        p->evaluate(points, value, first, second);
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The rational approximant's build at 1000 evenly spaced nodes: its
// greedy steps, each a singular value decomposition, and its poles.
double aaaMedianMilliseconds(StudyFunctionId id)
{
    const StudyFunction f{id, {}};
    const std::vector<double> xs = familyNodes(NodeFamily::Equispaced, 1000);
    std::vector<double> times;
    for (int run = 0; run < 11; ++run) {
        const auto start = std::chrono::steady_clock::now();
        interpolantOf(StudyMethod::Aaa, f, xs);
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double scipySeconds()
{
    const char* python =
        std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    const std::string command = std::string(python) + " '" TARVEL_SCIPY_CONVERGENCE "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return 0;
    double seconds = 0;
    char line[256];
    while (std::fgets(line, sizeof line, pipe))
        if (std::sscanf(line, "scipy_convergence_table seconds=%lf", &seconds) != 1)
            std::fputs(line, stdout);
    pclose(pipe);
    return seconds;
}

}  // namespace
}  // namespace tarvel

int main()
{
    using namespace tarvel;
    double start = processSeconds();
    const std::vector<Row> rows = convergenceTable(kStudyMethods);
    const double tableSeconds = processSeconds() - start;
    // The best of three, as SciPy's time is taken.
    double scipyMethodsSeconds = HUGE_VAL;
    for (int run = 0; run < 3; ++run) {
        start = processSeconds();
        convergenceTable(kScipyMethods);
        scipyMethodsSeconds = std::min(scipyMethodsSeconds, processSeconds() - start);
    }
    double chebyshevRunge = 0;  // the largest error of global, lobatto, n >= 321
    for (const Row& row : rows) {
        std::printf("convergence function=%s nodes=%s method=%s n=%d max_error=%.6e "
                    "rms_error=%.6e\n",
                    studyFunctionKey(row.function), nodeFamilyKey(row.family),
                    methodLabel(row.method).c_str(), row.n, row.figures.maxError,
                    row.figures.rmsError);
        if (row.function == StudyFunctionId::Runge && row.family == NodeFamily::Lobatto &&
            row.method == StudyMethod::Global && row.n >= 321)
            chebyshevRunge = std::max(chebyshevRunge, row.figures.maxError);
    }
    std::printf("convergence_table seconds=%.3f\n", tableSeconds);
    double allMethods = 0;
    for (const StudyMethod method : kStudyMethods) {
        const double us = medianMicroseconds(method);
        allMethods += us;
        std::printf("methods_time n=101 points=1001 method=%s us=%.1f\n",
                    methodLabel(method).c_str(), us);
    }
    for (const StudyFunctionId id : kFunctions)
        std::printf("aaa points=1000 function=%s ms=%.1f%s\n", studyFunctionKey(id),
                    aaaMedianMilliseconds(id), id == StudyFunctionId::Runge ? " (at most 50)" : "");
    const double scipy = scipySeconds();
    std::printf("targets table_seconds=%.3f scipy_methods_seconds=%.3f scipy_seconds=%.3f "
                "speedup=%.1f (at least 10) all_methods_us=%.1f chebyshev_runge_321_to_1001=%.1e "
                "(at most 1e-14)\n",
                tableSeconds, scipyMethodsSeconds, scipy,
                scipy > 0 ? scipy / scipyMethodsSeconds : 0.0, allMethods, chebyshevRunge);
}
