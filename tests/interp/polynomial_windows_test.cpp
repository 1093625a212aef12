// The check of the polynomial windows skips sorting a window that rises
// strictly; on random abscissae with repeats, falling runs and stale values
// past the given points, its answer must be the one of sorting every window.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "app/form_tarvel.h"
#include "interp/lagrange.h"
#include "interp/method_checks.h"

namespace tarvel {
namespace {

using SharedPoints = std::optional<std::array<int, 2>>;

// Every window sorted, as the check reads it.
SharedPoints sortEveryWindow(double nDeg, double lastU, const PointArray& xU)
{
    const int last = loopBound(lastU);
    for (int j = 0; j < last; ++j) {
        const auto at = static_cast<std::size_t>(j);
        if (!(xU[at] < xU[at + 1]))
            continue;
        const int start = windowStart(nDeg, lastU, j);
        std::vector<std::pair<double, int>> window;
        for (int k = 0; k <= nDeg && start + k < kPointCapacity; ++k)
            window.emplace_back(xU[static_cast<std::size_t>(start + k)], start + k);
        std::sort(window.begin(), window.end());
        for (std::size_t k = 1; k < window.size(); ++k)
            if (window[k - 1].first == window[k].first)
                return std::array{std::min(window[k - 1].second, window[k].second),
                                  std::max(window[k - 1].second, window[k].second)};
    }
    return std::nullopt;
}

SharedPoints pointsOf(const Refused& refusal)
{
    if (!refusal)
        return std::nullopt;
    EXPECT_EQ(refusal->kind, InputProblem::SharedAbscissa);
    return refusal->points;
}

TEST(PolynomialWindows, SameAnswerAsSortingEveryWindow)
{
    std::mt19937_64 random(4242);
    const double degrees[] = {0, 1, 2, 2.5, 3, 7, 7.9, 20, 100, -1};
    for (int round = 0; round < 3000; ++round) {
        PointArray xU{};
        const int count = 2 + static_cast<int>(random() % 160);
        const int grid = 3 + static_cast<int>(random() % 400);
        for (auto& x : xU)
            x = static_cast<double>(random() % 1000) / 1000.0;  // stale values past the count
        double x = 0;
        for (int k = 0; k < count; ++k) {
            const int kind = static_cast<int>(random() % 20);
            if (kind == 0)
                x -= 1.0 / grid;  // a falling step
            else if (kind != 1)
                x += static_cast<double>(1 + random() % 3) / grid;  // kind 1 repeats x
            xU[static_cast<std::size_t>(k)] = x;
        }
        const double nDeg = degrees[random() % std::size(degrees)];
        const double lastU = count - 1;
        if (nDeg >= count)
            continue;  // refused before the windows are checked
        const SharedPoints expected = sortEveryWindow(nDeg, lastU, xU);
        const Refused actual = checkPolynomialWindows(nDeg, lastU, xU);
        ASSERT_EQ(pointsOf(actual), expected)
            << "round " << round << ", nDeg " << nDeg << ", count " << count;
    }
}

}  // namespace
}  // namespace tarvel
