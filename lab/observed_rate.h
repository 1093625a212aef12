// How the largest error falls as the number of nodes n grows, read off the
// convergence view's points: an algebraic order p (error ≈ C·n⁻ᵖ), a
// geometric rate ρ (error ≈ C·ρ⁻ⁿ), or neither.
#pragma once

#include <span>
#include <string>

namespace tarvel {

struct ErrorAtCount {
    int count = 0;
    double error = 0;  // the largest |p − f|; not finite or not above 0: no point
};

struct ObservedRate {
    enum class Kind { None, Algebraic, Geometric };
    Kind kind = Kind::None;
    double value = 0;  // the order p or the rate ρ
    int fromCount = 0;  // the range of n the fit was taken over
    int toCount = 0;
};

// Errors at or below this lie in the rounding floor of functions of size
// about 1 and tell nothing of the method.
inline constexpr double kRoundingFloor = 1e-12;

// The fit over the longest run of points, counts rising, that ends at the
// smallest error above the rounding floor and lies on one line within
// kFitTolerance decades (a factor of 2, which the error's swing between odd
// and even n stays within): log error against log n for an order, against
// n for a rate. Points at or below the floor take no part, so the floor does
// not bend the line. A run takes at least kFitPoints points over a doubling
// of n; the model whose run holds more points wins (the closer fit on a
// tie). The rate is the slope over the later half of the run (along log n,
// or n), where the early, larger errors no longer bend it. An error that does not fall along such a run, or climbs tenfold
// above its smallest value at a larger n, has no steady rate.
inline constexpr double kFitTolerance = 0.3;
inline constexpr int kFitPoints = 6;
ObservedRate observedRate(std::span<const ErrorAtCount> points);

// "order 4.0", "geometric, ρ = 1.22" or "no steady rate".
std::string rateText(const ObservedRate& rate);
// The figure as copied: the order with 17 significant digits, "rho=" and the
// rate, or empty.
std::string rateFigure(const ObservedRate& rate);

}  // namespace tarvel
