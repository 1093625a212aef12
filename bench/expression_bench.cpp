// How quickly a typed function runs, against the same formula written out
// in C++ with its derivatives by hand, in the same run:
//   expression points=10001 seconds=… native_seconds=… ratio=… one_point_ratio=…
//     f, f' and f'' of exp(-x^2)*sin(10x) + 1/(1+25x^2) on the lab's grid,
//     the whole grid in one call as the lab samples it (and, for
//     comparison, one call per point);
//   taylor order=64 points=2001 seconds=…
//     its Taylor coefficients to order 64 at 2001 points of [0, 1].
// Each figure is the best of several rounds.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "interp/error_figures.h"
#include "interp/expression.h"

using namespace tarvel;

namespace {

constexpr int kRounds = 20;

FunctionValues native(double x)
{
    // g = exp(-x^2) sin(10x), h = 1/(1 + 25x^2).
    const double e = std::exp(-x * x);
    const double s = std::sin(10 * x);
    const double c = std::cos(10 * x);
    const double d = 1 + 25 * x * x;
    const double h = 1 / d;
    const double g = e * s;
    const double g1 = e * (10 * c - 2 * x * s);
    const double g2 = e * ((4 * x * x - 102) * s - 40 * x * c);
    const double h1 = -50 * x * h * h;
    const double h2 = (3750 * x * x - 50) * h * h * h;
    return {g + h, g1 + h1, g2 + h2};
}

template <typename Run> double bestSeconds(Run run)
{
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

}  // namespace

int main()
{
    const std::shared_ptr<const Expression> f =
        parseExpression("exp(-x^2)*sin(10x) + 1/(1+25x^2)").expression;
    const std::vector<double>& grid = errorGrid();
    double sink = 0;
    // As the lab samples a function: the whole grid in one call.
    std::vector<FunctionValues> values(grid.size());
    const double typed = bestSeconds([&] {
        f->values(grid, values);
        for (const FunctionValues& v : values)
            sink += v.value + v.first + v.second;
    });
    const double onePoint = bestSeconds([&] {
        for (const double x : grid) {
            const FunctionValues v = f->values(x);
            sink += v.value + v.first + v.second;
        }
    });
    const double written = bestSeconds([&] {
        for (const double x : grid) {
            const FunctionValues v = native(x);
            sink += v.value + v.first + v.second;
        }
    });
    std::printf("expression points=%zu seconds=%.6f native_seconds=%.6f ratio=%.2f "
                "one_point_ratio=%.2f\n",
                grid.size(), typed, written, typed / written, onePoint / written);

    constexpr int kTaylorPoints = 2001;
    const double series = bestSeconds([&] {
        for (int k = 0; k < kTaylorPoints; ++k)
            sink += f->taylor(k / (kTaylorPoints - 1.0), kTaylorMaxOrder).back();
    });
    std::printf("taylor order=%d points=%d seconds=%.6f\n", kTaylorMaxOrder, kTaylorPoints, series);
    // Keeps the sums from being optimised away.
    return std::isnan(sink) ? 1 : 0;
}
