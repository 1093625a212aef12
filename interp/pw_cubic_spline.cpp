// Piecewise cubic Hermite spline. The slope at an interior given point is
// the direction of the sum of the two unit chord vectors that meet there,
//
//   s_i = (sin a_{i-1} + sin a_i) / (cos a_{i-1} + cos a_i) = tan((a_{i-1} + a_i) / 2),
//
// the bisector of the chord angles a (not the mean of the chord slopes); the
// end points copy the slope of their inner neighbour. Interval i, of width
// dx and rise dy, then holds the cubic with those end values and end slopes,
// in t = x - x_i:
//
//   y_i + s_i t + (3 dy / dx^2 - (2 s_i + s_{i+1}) / dx) t^2
//               + ((s_i + s_{i+1}) / dx^2 - 2 dy / dx^3) t^3.
//
// The terms are formed in this order, each product before its division, so
// that the rows are reproducible to the last bit.
#include "interp/pw_cubic_spline.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>

#include "data/capacities.h"
#include "interp/cube.h"

namespace tarvel {

namespace {

using IntervalArray = std::array<double, kIntervalCapacity>;

struct Chords {
    IntervalArray dxU{};
    IntervalArray dyU{};
    IntervalArray cosU{};
    IntervalArray sinU{};
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

void computeChords(int lastU, std::span<const double> xU, std::span<const double> yU,
                   Chords& chords)
{
    for (int i = 0; i < lastU; ++i) {
        chords.dxU[i] = xU[i + 1] - xU[i];
        chords.dyU[i] = yU[i + 1] - yU[i];
        const double length = chordLength(chords.dxU[i], chords.dyU[i]);
        chords.cosU[i] = chords.dxU[i] / length;
        chords.sinU[i] = chords.dyU[i] / length;
    }
}

// False when two chords at an interior point point in opposite x directions
// so exactly that their bisector is vertical.
bool computeSlopes(int lastU, const Chords& chords, IntervalArray& slopeU)
{
    for (int i = 1; i < lastU; ++i) {
        const double cosSum = chords.cosU[i - 1] + chords.cosU[i];
        if (cosSum == 0.0) {
            return false;
        }
        slopeU[i] = (chords.sinU[i - 1] + chords.sinU[i]) / cosSum;
    }
    slopeU[0] = slopeU[1];
    slopeU[lastU] = slopeU[lastU - 1];
    return true;
}

void writeRows(int lastU, std::span<const double> yU, const Chords& chords,
               const IntervalArray& slopeU, CoefTable& table)
{
    for (int i = 0; i < lastU; ++i) {
        const double dx = chords.dxU[i];
        const double dy = chords.dyU[i];
        const double dx2 = std::pow(dx, 2.0);
        const double dx3 = cube(dx);
        CoefRow& row = table[i];
        row[0] = yU[i];
        row[1] = slopeU[i];
        row[2] = (3.0 * dy) / dx2 - (2.0 * slopeU[i] + slopeU[i + 1]) / dx;
        row[3] = (slopeU[i] + slopeU[i + 1]) / dx2 - (2.0 * dy) / dx3;
    }
}

}  // namespace

bool pwCubicSplineCoefs(int lastU, std::span<const double> xU, std::span<const double> yU,
                        CoefTable& table)
{
    if (lastU < 1 || lastU >= kPwSplineCapacity) {
        return false;
    }
    const auto needed = static_cast<std::size_t>(lastU) + 1;
    if (xU.size() < needed || yU.size() < needed) {
        return false;
    }
    Chords chords{};
    computeChords(lastU, xU, yU, chords);
    IntervalArray slopeU{};
    if (!computeSlopes(lastU, chords, slopeU)) {
        return false;
    }
    writeRows(lastU, yU, chords, slopeU, table);
    return true;
}

}  // namespace tarvel
