#include "lab/lab_counts.h"

#include <algorithm>
#include <cmath>

namespace tarvel {
namespace {

constexpr int kConvergenceSteps = 60;

// Rounded points evenly spaced in log n; rounding merges the first few, so
// the spacing is refined until kConvergenceSteps distinct counts remain.
std::vector<int> evenInLog()
{
    const double first = std::log(static_cast<double>(kLabMinCount));
    const double last = std::log(static_cast<double>(kLabMaxCount));
    std::vector<int> counts;
    for (int points = kConvergenceSteps; counts.size() < static_cast<std::size_t>(kConvergenceSteps); ++points) {
        counts.clear();
        for (int k = 0; k < points; ++k) {
            const double t = static_cast<double>(k) / (points - 1);
            const int n = static_cast<int>(std::lround(std::exp(first + t * (last - first))));
            if (counts.empty() || n != counts.back())
                counts.push_back(std::clamp(n, kLabMinCount, kLabMaxCount));
        }
    }
    return counts;
}

const std::vector<int>& evenCounts()
{
    static const std::vector<int> counts = evenInLog();
    return counts;
}

}  // namespace

std::vector<int> convergenceCounts(int current)
{
    std::vector<int> counts = evenCounts();
    if (current >= kLabMinCount && current <= kLabMaxCount) {
        const auto at = std::lower_bound(counts.begin(), counts.end(), current);
        if (at == counts.end() || *at != current)
            counts.insert(at, current);
    }
    return counts;
}

std::optional<int> nextPlayCount(int n)
{
    const std::vector<int>& counts = evenCounts();
    const auto next = std::upper_bound(counts.begin(), counts.end(), n);
    if (next == counts.end())
        return std::nullopt;
    return *next;
}

}  // namespace tarvel
