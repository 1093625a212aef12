// Every comparison method over random nodes and values: never a crash;
// each refusal comes with its sentence; a built interpolant returns the
// node values exactly at the nodes; and where the inputs are moderate
// (nodes at least 1/256 of a unit apart, |values| at most 32) it is built,
// and it and its two derivatives are finite between the nodes.
//
// The first byte picks the method and whether the nodes are moderate or
// raw doubles taken from the input; the second the method's parameter.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "interp/interpolant.h"
#include "lab/method_refusal.h"

namespace tarvel {
namespace {

[[noreturn]] void violated(const char* property, StudyMethod method, std::size_t nodes, double x,
                           double got)
{
    std::fprintf(stderr, "PROPERTY VIOLATED: %s\n  method %s, %zu nodes, x = %.17g, got %.17g\n",
                 property, studyMethodKey(method), nodes, x, got);
    __builtin_trap();
}

struct Nodes {
    std::vector<double> xs;
    std::vector<double> ys;
};

// Rising nodes with gaps of 1..256 units of 1/256 and values within +-32.
Nodes moderateNodes(FuzzedDataProvider& data, std::size_t most)
{
    Nodes nodes;
    double x = data.ConsumeIntegralInRange<int>(-256, 256) / 256.0;
    while (nodes.xs.size() < most && data.remaining_bytes() >= 3) {
        nodes.xs.push_back(x);
        nodes.ys.push_back(data.ConsumeIntegral<std::int16_t>() / 1024.0);
        x += (1 + data.ConsumeIntegral<std::uint8_t>()) / 256.0;
    }
    return nodes;
}

Nodes rawNodes(FuzzedDataProvider& data)
{
    Nodes nodes;
    while (data.remaining_bytes() >= 2 * sizeof(double)) {
        nodes.xs.push_back(data.ConsumeFloatingPoint<double>());
        nodes.ys.push_back(data.ConsumeFloatingPoint<double>());
    }
    return nodes;
}

// Whether the method must take moderate nodes with this parameter: enough
// of them, a parameter in its range, and periodic data where it needs them.
bool takes(const StudyMethodRow& row, int parameter, const Nodes& nodes)
{
    const auto n = static_cast<int>(nodes.xs.size());
    if (n < row.minNodes)
        return false;
    if (row.parameter) {
        const MethodParameter& p = *row.parameter;
        if (parameter < p.low || parameter > std::min(p.high, n - 1) ||
            (p.oddOnly && parameter % 2 == 0))
            return false;
    }
    return !row.periodic;
}

void checkBetweenNodes(const Interpolant& p, StudyMethod method)
{
    // AAA's least-squares fit may put a pole on the line between nodes, where
    // it is rightly not finite; the poles view draws such poles.
    if (method == StudyMethod::Aaa)
        return;
    const auto xs = p.xs();
    std::vector<double> points;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i)
        for (const double t : {0.25, 0.5, 0.875})
            points.push_back(xs[i] + t * (xs[i + 1] - xs[i]));
    std::vector<double> value(points.size()), first(points.size()), second(points.size());
    p.evaluate(points, value, first, second);
    for (std::size_t k = 0; k < points.size(); ++k)
        for (const double got : {value[k], first[k], second[k]})
            if (!std::isfinite(got))
                violated("not finite between moderate nodes", method, xs.size(), points[k], got);
}

}  // namespace
}  // namespace tarvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    using namespace tarvel;
    FuzzedDataProvider data(bytes, size);
    const auto choice = data.ConsumeIntegral<std::uint8_t>();
    const StudyMethod method = kStudyMethods[choice % kStudyMethods.size()];
    const bool moderate = choice < 128;
    MethodSettings settings;
    const int parameter = data.ConsumeIntegralInRange<int>(-1, 12);
    settings.parameters.set(method, parameter);
    settings.leftSlope = data.ConsumeIntegralInRange<int>(-64, 64) / 4.0;
    settings.rightSlope = data.ConsumeIntegralInRange<int>(-64, 64) / 4.0;
    // The global polynomial through many uneven nodes grows beyond any
    // bound by nature; moderate runs keep it to few nodes.
    const std::size_t most = method == StudyMethod::Global ? 24 : kMaxStudyNodes;
    const Nodes nodes = moderate ? moderateNodes(data, most) : rawNodes(data);

    const BuildResult result = buildInterpolant(method, nodes.xs, nodes.ys, settings);
    if (!result.interpolant) {
        if (!result.refusal || refusalText(method, *result.refusal).empty())
            violated("refused without a sentence", method, nodes.xs.size(), 0, 0);
        // Weights spread beyond the precision of numbers are refused even
        // between moderate nodes (clustered ones, for a rational blend).
        const bool unweighable = result.refusal->kind == RefusalKind::Unweighable;
        if (moderate && !unweighable && takes(methodRow(method), parameter, nodes))
            violated("moderate nodes refused", method, nodes.xs.size(), 0, 0);
        return 0;
    }
    const Interpolant& p = *result.interpolant;
    for (std::size_t i = 0; i < nodes.xs.size(); ++i)
        if (p.value(nodes.xs[i]) != nodes.ys[i] && !(p.value(nodes.xs[i]) == 0 && nodes.ys[i] == 0))
            violated("not exact at a node", method, nodes.xs.size(), nodes.xs[i],
                     p.value(nodes.xs[i]));
    if (moderate)
        checkBetweenNodes(p, method);
    return 0;
}
