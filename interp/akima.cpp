// Akima's slopes. With the secants m_i of the intervals, extended by two
// secants at each end by linear extrapolation (m_{-1} = 2 m_0 - m_1,
// m_{-2} = 2 m_{-1} - m_0, mirrored at the right), the slope at point i is
//
//   (w1 m_{i-1} + w2 m_i) / (w1 + w2),  w1 = |m_{i+1} - m_i|,  w2 = |m_{i-1} - m_{i-2}|,
//
// and the mean of m_{i-1} and m_i where both weights are 0 to within
// kFlatWeights of the four secants' size: differences of secants that only
// rounding tells apart (a kink 5.6e-17 off a node, as |2x - 1| has at an
// odd count) count as none, so the slope there is the symmetric mean. Two
// points give the line.
//
// The modified Akima slopes (makima) add half the size of each pair's sum
// to its weight, w1 = |m_{i+1} - m_i| + |m_{i+1} + m_i| / 2 and likewise
// w2: a flat run (two equal secants) no longer leaves both weights 0 unless
// the data are flat there, and a step overshoots less.
#include "interp/akima.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace tarvel {
namespace {

constexpr double kFlatWeights = 1e-9;

double akimaWeight(double a, double b)
{
    return std::fabs(a - b);
}

double makimaWeight(double a, double b)
{
    return std::fabs(a - b) + std::fabs(a + b) / 2;
}

template <double (*weight)(double, double)>
void weightedSlopes(std::span<const double> xs, std::span<const double> ys,
                    std::span<double> slopes)
{
    const std::size_t intervals = xs.size() - 1;
    // m[i + 2] holds m_i for i = -2 .. intervals + 1.
    std::vector<double> m(intervals + 4);
    for (std::size_t i = 0; i < intervals; ++i)
        m[i + 2] = (ys[i + 1] - ys[i]) / (xs[i + 1] - xs[i]);
    if (intervals == 1) {
        slopes[0] = m[2];
        slopes[1] = m[2];
        return;
    }
    m[1] = 2 * m[2] - m[3];
    m[0] = 2 * m[1] - m[2];
    m[intervals + 2] = 2 * m[intervals + 1] - m[intervals];
    m[intervals + 3] = 2 * m[intervals + 2] - m[intervals + 1];
    for (std::size_t i = 0; i <= intervals; ++i) {
        // Point i sits between m_{i-1} = m[i + 1] and m_i = m[i + 2].
        const double w1 = weight(m[i + 3], m[i + 2]);
        const double w2 = weight(m[i + 1], m[i]);
        const double size = std::fmax(std::fmax(std::fabs(m[i]), std::fabs(m[i + 1])),
                                      std::fmax(std::fabs(m[i + 2]), std::fabs(m[i + 3])));
        if (w1 + w2 <= kFlatWeights * size)
            slopes[i] = (m[i + 1] + m[i + 2]) / 2;
        else
            slopes[i] = (w1 * m[i + 1] + w2 * m[i + 2]) / (w1 + w2);
    }
}

}  // namespace

void akimaSlopes(std::span<const double> xs, std::span<const double> ys, std::span<double> slopes)
{
    weightedSlopes<akimaWeight>(xs, ys, slopes);
}

void makimaSlopes(std::span<const double> xs, std::span<const double> ys, std::span<double> slopes)
{
    weightedSlopes<makimaWeight>(xs, ys, slopes);
}

}  // namespace tarvel
