#include "plot/ticks.h"

#include <cmath>

#include "data/number_text.h"

namespace tarvel {

double tickStep(double lo, double hi, int maxTicks)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo) || maxTicks < 1)
        return 0;
    // Halved, the extent of any two finite doubles is finite.
    const double halfSpan = hi / 2 - lo / 2;
    const double raw = halfSpan / maxTicks * 2;
    if (!(raw > 0) || !std::isfinite(raw))
        return 0;  // beyond the largest doubles no round step fits
    const int exponent = decimalExponent(raw);
    for (int power = exponent - 1; power <= exponent + 1; ++power) {
        const double base = std::pow(10.0, power);
        for (const double multiple : {1.0, 2.0, 5.0}) {
            const double step = multiple * base;
            if (std::isfinite(step) && step > 0 && halfSpan / step * 2 <= maxTicks)
                return step;
        }
    }
    return 0;
}

std::vector<double> ticksIn(double lo, double hi, int maxTicks)
{
    std::vector<double> ticks;
    const double step = tickStep(lo, hi, maxTicks);
    if (step == 0)
        return ticks;
    const double first = std::ceil(lo / step);
    const double last = std::floor(hi / step);
    if (!(last - first <= maxTicks + 1))
        return ticks;  // the range lies far from zero: no round multiples to show
    // Counted, not stepped: beyond 2^53 adding 1 to a multiple leaves it as
    // it is, and such a loop would never end.
    const auto count = static_cast<int>(last - first) + 1;
    for (int k = 0; k < count; ++k) {
        const double n = first + k;
        if (k > 0 && n == first)
            break;  // one multiple stands for all: the doubles are that far apart here
        const double value = n == 0 ? 0.0 : n * step;
        // The quotients and products round: a multiple may fall a rounding
        // outside, or on its neighbour, where the doubles are sparse.
        if (value >= lo && value <= hi && (ticks.empty() || value > ticks.back()))
            ticks.push_back(value);
    }
    return ticks;
}

}  // namespace tarvel
