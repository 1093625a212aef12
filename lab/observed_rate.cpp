#include "lab/observed_rate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "data/number_text.h"

namespace tarvel {
namespace {

struct Line {
    double slope = 0;
    double worst = 0;  // the largest distance of a point from the line, in decades
};

// The least-squares line of y against x over [from, to).
Line fitted(const std::vector<double>& x, const std::vector<double>& y, std::size_t from,
            std::size_t to)
{
    const double count = static_cast<double>(to - from);
    double meanX = 0;
    double meanY = 0;
    for (std::size_t i = from; i < to; ++i) {
        meanX += x[i];
        meanY += y[i];
    }
    meanX /= count;
    meanY /= count;
    double sxy = 0;
    double sxx = 0;
    for (std::size_t i = from; i < to; ++i) {
        sxy += (x[i] - meanX) * (y[i] - meanY);
        sxx += (x[i] - meanX) * (x[i] - meanX);
    }
    Line line;
    line.slope = sxy / sxx;
    for (std::size_t i = from; i < to; ++i) {
        const double off = y[i] - (meanY + line.slope * (x[i] - meanX));
        line.worst = std::max(line.worst, std::abs(off) / std::log(10.0));
    }
    return line;
}

struct Run {
    std::size_t from = 0;
    std::size_t to = 0;
    Line line;
    std::size_t size() const { return to - from; }
};

// The longest run of points that ends at the last one and lies on one
// falling line of ln error against x.
Run longestRun(const std::vector<double>& x, const std::vector<double>& y,
               const std::vector<int>& counts)
{
    Run best;
    const std::size_t to = y.size();
    for (std::size_t from = 0; from + kFitPoints <= to; ++from) {
        if (counts[to - 1] < 2 * counts[from])
            break;
        const Line line = fitted(x, y, from, to);
        if (line.worst <= kFitTolerance && line.slope < 0)
            return {from, to, line};
    }
    return best;
}

// The later half of a run, along x, with at least kFitPoints points: the
// run's start may still bend towards the error's early, larger values, and
// the rate is that of its end.
Run laterHalf(const Run& run, const std::vector<double>& x, const std::vector<double>& y)
{
    const double middle = x[run.from] / 2 + x[run.to - 1] / 2;
    std::size_t from = run.from;
    while (from + kFitPoints < run.to && x[from] < middle)
        ++from;
    return {from, run.to, fitted(x, y, from, run.to)};
}

// Whether the error climbs well above its smallest value at a larger n:
// the method stops converging there, and no rate describes it.
bool climbsAgain(const std::vector<double>& logError, std::size_t smallest)
{
    constexpr double kClimb = 2.302585092994046;  // ln 10: a tenfold error
    for (std::size_t i = smallest + 1; i < logError.size(); ++i)
        if (logError[i] > logError[smallest] + kClimb)
            return true;
    return false;
}

}  // namespace

ObservedRate observedRate(std::span<const ErrorAtCount> points)
{
    std::vector<int> counts;
    std::vector<double> logN;
    std::vector<double> n;
    std::vector<double> logError;
    for (const ErrorAtCount& point : points) {
        if (!std::isfinite(point.error) || !(point.error > kRoundingFloor))
            continue;
        counts.push_back(point.count);
        logN.push_back(std::log(static_cast<double>(point.count)));
        n.push_back(static_cast<double>(point.count));
        logError.push_back(std::log(point.error));
    }
    if (logError.empty())
        return {};
    const std::size_t smallest = static_cast<std::size_t>(
        std::min_element(logError.begin(), logError.end()) - logError.begin());
    if (climbsAgain(logError, smallest))
        return {};
    for (std::vector<double>* column : {&logN, &n, &logError})
        column->resize(smallest + 1);
    counts.resize(smallest + 1);
    const Run algebraic = longestRun(logN, logError, counts);
    const Run geometric = longestRun(n, logError, counts);
    if (algebraic.size() == 0 && geometric.size() == 0)
        return {};
    const bool byOrder =
        algebraic.size() > geometric.size() ||
        (algebraic.size() == geometric.size() && algebraic.line.worst <= geometric.line.worst);
    const Run run = laterHalf(byOrder ? algebraic : geometric, byOrder ? logN : n, logError);
    ObservedRate rate;
    rate.kind = byOrder ? ObservedRate::Kind::Algebraic : ObservedRate::Kind::Geometric;
    rate.value = byOrder ? -run.line.slope : std::exp(-run.line.slope);
    rate.fromCount = counts[run.from];
    rate.toCount = counts[run.to - 1];
    return rate;
}

std::string rateText(const ObservedRate& rate)
{
    char text[48];
    switch (rate.kind) {
    case ObservedRate::Kind::Algebraic:
        std::snprintf(text, sizeof text, "order %.1f", rate.value);
        return text;
    case ObservedRate::Kind::Geometric:
        std::snprintf(text, sizeof text, "geometric, ρ = %.2f", rate.value);
        return text;
    case ObservedRate::Kind::None:
        break;
    }
    return "no steady rate";
}

std::string rateFigure(const ObservedRate& rate)
{
    switch (rate.kind) {
    case ObservedRate::Kind::Algebraic:
        return fullNumber(rate.value);
    case ObservedRate::Kind::Geometric:
        return "rho=" + fullNumber(rate.value);
    case ObservedRate::Kind::None:
        break;
    }
    return {};
}

}  // namespace tarvel
