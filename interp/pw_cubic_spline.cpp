// Piecewise cubic Hermite spline. The slope at an interior given point is
// the direction of the sum of the two unit chord vectors that meet there,
//
//   s_i = (sin a_{i-1} + sin a_i) / (cos a_{i-1} + cos a_i) = tan((a_{i-1} + a_i) / 2),
//
// the bisector of the chord angles a (not the mean of the chord slopes); the
// end points copy the slope of their inner neighbour. Each interval then
// holds the cubic Hermite piece with those end values and end slopes.
#include "interp/pw_cubic_spline.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>

#include "interp/hermite_rows.h"

namespace tarvel {

namespace {

struct UnitChord {
    double cos;
    double sin;
};

// The chord length is sqrt(dx*dx + dy*dy), which every ordinary data set
// must reproduce bit for bit. For widths or rises beyond about 1e154 the
// squares overflow, and below about 1e-154 they underflow and lose their
// digits (down to a length of 0); there std::hypot, which avoids both,
// gives the unit vector instead of an infinity, a NaN or a skewed direction.
// (At such tiny widths the cubic's dx^3 still underflows; the slopes at
// least stay right.)
double chordLength(double dx, double dy)
{
    const double sumOfSquares = dx * dx + dy * dy;
    const double length = std::sqrt(sumOfSquares);
    if (!std::isfinite(length) || sumOfSquares < DBL_MIN) {
        return std::hypot(dx, dy);
    }
    return length;
}

UnitChord unitChord(std::span<const double> xs, std::span<const double> ys, std::size_t i)
{
    const double dx = xs[i + 1] - xs[i];
    const double dy = ys[i + 1] - ys[i];
    const double length = chordLength(dx, dy);
    return {dx / length, dy / length};
}

}  // namespace

bool chordBisectorSlopes(std::span<const double> xs, std::span<const double> ys,
                         std::span<double> slopes)
{
    const std::size_t last = xs.size() - 1;
    UnitChord before = unitChord(xs, ys, 0);
    for (std::size_t i = 1; i < last; ++i) {
        const UnitChord after = unitChord(xs, ys, i);
        const double cosSum = before.cos + after.cos;
        if (cosSum == 0.0) {
            return false;
        }
        slopes[i] = (before.sin + after.sin) / cosSum;
        before = after;
    }
    slopes[0] = slopes[1];
    slopes[last] = slopes[last - 1];
    return true;
}

bool pwCubicSplineCoefs(int lastU, std::span<const double> xU, std::span<const double> yU,
                        CoefTable& table)
{
    if (lastU < 1 || lastU >= kPwSplineCapacity) {
        return false;
    }
    const auto count = static_cast<std::size_t>(lastU) + 1;
    if (xU.size() < count || yU.size() < count) {
        return false;
    }
    std::array<double, kPwSplineCapacity> slopeU{};
    const std::span<double> slopes(slopeU.data(), count);
    if (!chordBisectorSlopes(xU.first(count), yU.first(count), slopes)) {
        return false;
    }
    hermiteRows(xU.first(count), yU.first(count), slopes, table);
    return true;
}

}  // namespace tarvel
