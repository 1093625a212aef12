#include "interp/cube.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace tarvel {
namespace {

std::uint64_t bitsOf(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

// Same bits as pow, NaN for NaN.
void expectPowBits(double t)
{
    const double expected = std::pow(t, 3.0);
    const double actual = cube(t);
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << std::hexfloat << t;
        return;
    }
    ASSERT_EQ(bitsOf(actual), bitsOf(expected)) << std::hexfloat << "t = " << t;
}

TEST(Cube, EdgesOfTheFastRange)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    for (const double t : {0.0, -0.0, 1.0, -1.0, 2.0, 0.5, 3.0, 0.1, -0.1, 1.0 / 3, 0x1p-100,
                           std::nextafter(0x1p-100, 0.0), 0x1p100, std::nextafter(0x1p100, kInf),
                           -0x1p100, 0x1p-101, 1e-300, 5e-324, -5e-324, 1e103, 5.6e102, 1e300,
                           std::numeric_limits<double>::max(), kInf, -kInf,
                           std::numeric_limits<double>::quiet_NaN()})
        expectPowBits(t);
}

// Widths and offsets as the splines meet them, and any magnitude.
TEST(Cube, SameBitsAsPowOnRandomValues)
{
    std::mt19937_64 random(8191);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int k = 0; k < 400000; ++k) {
        expectPowBits(unit(random) / 301.0);
        expectPowBits(unit(random) - 0.5);
        expectPowBits(std::ldexp(unit(random), static_cast<int>(random() % 240) - 120));
        expectPowBits(std::bit_cast<double>(random()));
    }
}

// Abscissae of evenly sampled given points: the widths repeat, and each
// small multiple of a step has its own rounding.
TEST(Cube, SameBitsAsPowOnGridSteps)
{
    for (int count = 2; count <= 1001; ++count) {
        const double step = 1.0 / (count - 1);
        for (int i = 0; i < count; i += 7)
            expectPowBits(i * step - (i / 2) * step);
    }
}

// The width check of the PW spline: zero exactly where pow's cube is,
// around the width whose cube is half the smallest subnormal.
TEST(Cube, ZeroExactlyWherePowUnderflows)
{
    for (double t = 1e-108; t < 2e-108; t *= 1.0001) {
        for (const double width : {t, -t, std::nextafter(t, 0.0)}) {
            ASSERT_EQ(cubeIsZero(width), std::pow(width, 3.0) == 0) << std::hexfloat << width;
        }
    }
    EXPECT_TRUE(cubeIsZero(0.0));
    EXPECT_FALSE(cubeIsZero(0x1p-100));
    EXPECT_FALSE(cubeIsZero(std::numeric_limits<double>::quiet_NaN()));
}

}  // namespace
}  // namespace tarvel
