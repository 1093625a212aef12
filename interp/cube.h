// t^3 with the bits of std::pow(t, 3.0), which the spline coefficients and
// values have always been computed with, at a fraction of pow's cost.
//
// The exact cube is formed as q + qe + g: t*t = s + se and s*t = q + qe are
// exact (Dekker's products on Veltkamp halves, plain IEEE arithmetic without
// FMA), and g = se*t is off by less than 2^-105 of the cube. Where the cube
// lies within 0.45 of a unit in the last place (ulp) of the double r nearest
// to it, r is what pow returns: glibc documents pow within 0.54 ulp of the
// exact power, and every other double is more than 0.55 ulp away. Near a
// half-way point (about one cube in ten), at a power of two, where a
// neighbour lies closer, and outside 2^-100..2^100, where the halves could
// underflow or overflow, pow itself is called.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace tarvel {

namespace cube_detail {

struct Split {
    double high;
    double low;
};

// high has at most 26 significant bits and high + low == value exactly.
inline Split veltkamp(double value)
{
    const double scaled = 134217729.0 * value;  // 2^27 + 1
    const double high = scaled - (scaled - value);
    return {high, value - high};
}

// The rounding error of a product from the halves of its factors, exactly:
// a * b == product + the result, where product is the rounded a * b.
inline double productError(const Split& as, const Split& bs, double product)
{
    return ((as.high * bs.high - product) + as.high * bs.low + as.low * bs.high) + as.low * bs.low;
}

}  // namespace cube_detail

// The double nearest to t^3, and whether it is surely pow's (sure is 1.0)
// or pow must be asked (0.0). No branch depends on t, so that a loop over
// many values forms several cubes at once; sure is a double because the
// baseline instruction set compares doubles in pairs but cannot turn a
// comparison into a 64-bit integer.
struct CubeCandidate {
    double nearest;
    double sure;
};

inline CubeCandidate cubeCandidate(double t)
{
    using namespace cube_detail;
    const double magnitude = std::fabs(t);
    const Split ts = veltkamp(t);
    const double s = t * t;
    const double se = productError(ts, ts, s);
    const Split ss = veltkamp(s);
    const double q = s * t;
    const double qe = productError(ss, ts, q);
    const double correction = qe + se * t;
    const double nearest = q + correction;
    // q - nearest is exact: the two lie within a few ulp of each other.
    const double residual = (q - nearest) + correction;

    // The power of two at or below |nearest|; its ulp is 2^-52 of it.
    constexpr std::uint64_t kExponentBits = 0x7ff0000000000000ULL;
    const double binade =
        std::bit_cast<double>(std::bit_cast<std::uint64_t>(nearest) & kExponentBits);
    // Outside 2^-100..2^100 (zero, infinities and NaN included) the halves
    // could underflow or overflow.
    const bool sure = (magnitude >= 0x1p-100) & (magnitude <= 0x1p100) &
                      (std::fabs(nearest) != binade) &
                      (std::fabs(residual) <= 0.45 * 0x1p-52 * binade);
    return {nearest, sure ? 1.0 : 0.0};
}

inline double cube(double t)
{
    const CubeCandidate candidate = cubeCandidate(t);
    return candidate.sure != 0 ? candidate.nearest : std::pow(t, 3.0);
}

// cube(t[k]) into cubes[k] for k below count. The candidates are formed for
// all N values in one loop of fixed length, which the compiler turns into
// vector instructions at every optimisation level; pow is then asked for
// the few that need it. Every entry of t must hold a value.
template <std::size_t N>
void cubeEach(const std::array<double, N>& t, std::size_t count, std::array<double, N>& cubes)
{
    std::array<double, N> sure;
    for (std::size_t k = 0; k < N; ++k) {
        const CubeCandidate candidate = cubeCandidate(t[k]);
        cubes[k] = candidate.nearest;
        sure[k] = candidate.sure;
    }
    for (std::size_t k = 0; k < count && k < N; ++k) {
        if (sure[k] == 0) {
            cubes[k] = std::pow(t[k], 3.0);
        }
    }
}

// Whether pow(t, 3.0) underflows to zero; only widths far below 2^-100 can.
inline bool cubeIsZero(double t)
{
    return !(std::fabs(t) >= 0x1p-100) && cube(t) == 0;
}

}  // namespace tarvel
