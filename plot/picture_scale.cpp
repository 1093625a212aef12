#include "plot/picture_scale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvel {
namespace {

void widen(Extent& extent, std::span<const double> values, int last,
           std::span<const Settlement> settled = {})
{
    const int end = std::min(last, static_cast<int>(values.size()) - 1);
    for (int i = 0; i <= end; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!settled.empty() && (at >= settled.size() || settled[at] == Settlement::None))
            continue;
        if (values[static_cast<std::size_t>(i)] < extent.yMin)
            extent.yMin = values[static_cast<std::size_t>(i)];
        if (values[static_cast<std::size_t>(i)] > extent.yMax)
            extent.yMax = values[static_cast<std::size_t>(i)];
    }
}

double heldFinite(double value)
{
    constexpr double largest = std::numeric_limits<double>::max();
    return std::clamp(value, -largest, largest);
}

}  // namespace

Extent verticalExtent(std::span<const double> yU, int lastU, std::span<const double> yI, int lastI,
                      std::span<const Settlement> settled)
{
    Extent extent;
    widen(extent, yU, lastU);
    widen(extent, yI, lastI, settled);
    return extent;
}

WorldRect worldFor(const Extent& extent)
{
    if (extent.yMin == 0 && extent.yMax == 0)
        return {-0.1, 1.0, 1.1, -1.0};
    const double d = extent.yMax != 0 ? 0.1 * extent.yMax : 0.1 * std::abs(extent.yMin);
    return {-0.1, heldFinite(extent.yMax + d), 1.1, heldFinite(extent.yMin - d)};
}

}  // namespace tarvel
