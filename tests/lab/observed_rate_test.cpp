// The convergence view's observed order and rate: known methods on known
// functions give the order theory says, and made-up errors show how the
// fit treats the rounding floor, a diverging method and too few points.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "lab/convergence.h"
#include "lab/lab_counts.h"
#include "lab/observed_rate.h"

namespace tarvel {
namespace {

std::vector<ErrorAtCount> convergenceOf(StudyFunctionId function, NodeFamily family,
                                        StudyMethod method)
{
    ConvergenceRequest request;
    request.function = StudyFunction{function, {}};
    request.family = family;
    request.methods = {method};
    request.counts = convergenceCounts(11);
    std::vector<ErrorAtCount> points;
    computeConvergence(request, {}, [&points](const ConvergencePoint& point) {
        if (point.largestError)
            points.push_back({point.count, *point.largestError});
    });
    return points;
}

// Errors C·g(n) at the convergence view's counts, none below `floor`
// (where rounding would leave them).
std::vector<ErrorAtCount> madeUp(double (*error)(int), double floor)
{
    std::vector<ErrorAtCount> points;
    for (const int n : convergenceCounts(11))
        points.push_back({n, std::max(error(n), floor)});
    return points;
}

TEST(ObservedRate, KnownMethodsConvergeAtTheirOrderOrRate)
{
    using Kind = ObservedRate::Kind;
    struct Case {
        const char* name;
        std::vector<ErrorAtCount> points;
        Kind kind;
        double value;
        double within;
        const char* text;
    };
    const Case cases[] = {
        {"natural spline on cos¹⁰: order 2 (its ends)",
         convergenceOf(StudyFunctionId::Cos10, NodeFamily::Equispaced, StudyMethod::Natural),
         Kind::Algebraic, 2, 0.05, "order 2.0"},
        {"not-a-knot spline on cos¹⁰: order 4",
         convergenceOf(StudyFunctionId::Cos10, NodeFamily::Equispaced, StudyMethod::NotAKnot),
         Kind::Algebraic, 4, 0.05, "order 4.0"},
        {"linear on cos¹⁰: order 2",
         convergenceOf(StudyFunctionId::Cos10, NodeFamily::Equispaced, StudyMethod::Linear),
         Kind::Algebraic, 2, 0.05, "order 2.0"},
        {"global on Runge at Chebyshev points: geometric, ρ = 1/5 + √(1 + 1/25)",
         convergenceOf(StudyFunctionId::Runge, NodeFamily::Lobatto, StudyMethod::Global),
         Kind::Geometric, 0.2 + std::sqrt(1.04), 0.01, "geometric, ρ = 1.22"},
        {"global on Runge evenly spaced diverges: no rate",
         convergenceOf(StudyFunctionId::Runge, NodeFamily::Equispaced, StudyMethod::Global),
         Kind::None, 0, 0, "no steady rate"},
        {"n⁻³ down into the rounding floor",
         madeUp([](int n) { return 5 * std::pow(n, -3.0); }, 2e-16), Kind::Algebraic, 3, 1e-6,
         "order 3.0"},
        {"1.5⁻ⁿ down into the rounding floor",
         madeUp([](int n) { return std::pow(1.5, -n); }, 1e-15), Kind::Geometric, 1.5, 1e-6,
         "geometric, ρ = 1.50"},
        {"a constant error does not fall", madeUp([](int) { return 0.25; }, 0), Kind::None, 0, 0,
         "no steady rate"},
        {"five points are too few", {{2, 1}, {4, 0.25}, {8, 1.0 / 16}, {16, 1.0 / 64}, {32, 1.0 / 256}},
         Kind::None, 0, 0, "no steady rate"},
        {"errors that are no number take no part",
         {{2, std::numeric_limits<double>::quiet_NaN()}, {3, 0}, {4, 1.0 / 16}, {8, 1.0 / 64},
          {16, 1.0 / 256}, {32, 1.0 / 1024}, {64, 1.0 / 4096}, {128, 1.0 / 16384},
          {256, std::numeric_limits<double>::infinity()}},
         Kind::Algebraic, 2, 1e-9, "order 2.0"},
    };
    for (const Case& c : cases) {
        const ObservedRate rate = observedRate(c.points);
        EXPECT_EQ(rate.kind, c.kind) << c.name;
        EXPECT_NEAR(rate.value, c.value, c.within) << c.name;
        EXPECT_EQ(rateText(rate), c.text) << c.name;
        if (rate.kind != Kind::None) {
            EXPECT_LT(rate.fromCount, rate.toCount) << c.name << ": the range fitted";
        }
    }
}

TEST(ObservedRate, CopiedFigureIsTheOrderOrTheRateInFull)
{
    EXPECT_EQ(rateFigure({ObservedRate::Kind::Algebraic, 4.0000000000000009, 10, 100}),
              "4.0000000000000009");
    EXPECT_EQ(rateFigure({ObservedRate::Kind::Geometric, 1.25, 10, 100}), "rho=1.25");
    EXPECT_EQ(rateFigure({}), "");
}

}  // namespace
}  // namespace tarvel
