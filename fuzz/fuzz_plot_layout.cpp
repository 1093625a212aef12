// The plot layout over any world, size and scale, and any sequence of zooms
// and pans from there: never a crash and never a loop that runs on; an axis
// has at most one tick per 28 pixels and two more, rising, within its range;
// a zoom or a pan shows the world as it was or one that the numbers allow;
// and on a decade axis within the decades of doubles every label reads as a
// finite number.
//
// The first bytes give the world's corners as raw doubles, then the plot's
// size and the axes' scales; each further step of the input is a zoom or a
// pan.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "plot/plot_layout.h"
#include "plot/ticks.h"

namespace tarvel {
namespace {

[[noreturn]] void violated(const char* property, double lo, double hi, double length,
                           const std::string& label)
{
    std::fprintf(stderr, "PROPERTY VIOLATED: %s\n  lo %.17g, hi %.17g, length %.17g, label '%s'\n",
                 property, lo, hi, length, label.c_str());
    __builtin_trap();
}

bool readsAsFiniteNumber(const std::string& label)
{
    char* end = nullptr;
    const double value = std::strtod(label.c_str(), &end);
    return !label.empty() && *end == '\0' && std::isfinite(value);
}

void checkAxis(double lo, double hi, double length, AxisScale scale)
{
    const auto extent = [](std::string_view text) {
        return 7.0 * static_cast<double>(text.size());
    };
    const auto ticks = axisTicks(lo, hi, 0, length, scale, extent, 4, ".");
    if (static_cast<double>(ticks.size()) > std::max(1.0, length / 28) + 2)
        violated("more ticks than the axis has room for", lo, hi, length, "");
    const bool decades = scale == AxisScale::Log10 && lo >= kLowestDecade && hi <= kHighestDecade;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const AxisTick& tick = ticks[i];
        if (!(tick.value >= lo && tick.value <= hi))
            violated("a tick outside its range", lo, hi, length, tick.label);
        if (i > 0 && !(tick.value > ticks[i - 1].value))
            violated("ticks not rising", lo, hi, length, tick.label);
        if (decades && !tick.label.empty() && !readsAsFiniteNumber(tick.label))
            violated("a decade label that is not a number", lo, hi, length, tick.label);
    }
}

void checkWorld(const WorldRect& world, double width, double height, AxisScale x, AxisScale y)
{
    checkAxis(std::fmin(world.left, world.right), std::fmax(world.left, world.right), width, x);
    checkAxis(std::fmin(world.top, world.bottom), std::fmax(world.top, world.bottom), height, y);
}

}  // namespace
}  // namespace tarvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    using namespace tarvel;
    FuzzedDataProvider data(bytes, size);
    WorldRect world{data.ConsumeFloatingPoint<double>(), data.ConsumeFloatingPoint<double>(),
                    data.ConsumeFloatingPoint<double>(), data.ConsumeFloatingPoint<double>()};
    const double width = data.ConsumeIntegralInRange<int>(1, 8000);
    const double height = data.ConsumeIntegralInRange<int>(1, 8000);
    const AxisScale xScale = data.ConsumeBool() ? AxisScale::Log10 : AxisScale::Linear;
    const AxisScale yScale = data.ConsumeBool() ? AxisScale::Log10 : AxisScale::Linear;
    checkWorld(world, width, height, xScale, yScale);
    for (int step = 0; step < 64 && data.remaining_bytes() > 0; ++step) {
        WorldRect asked;
        if (data.ConsumeBool()) {
            const double factor = data.ConsumeFloatingPoint<double>();
            asked = zoomedWorld(world, factor, data.ConsumeFloatingPoint<double>(),
                                data.ConsumeFloatingPoint<double>());
        } else {
            asked = pannedWorld(world, data.ConsumeFloatingPoint<double>(),
                                data.ConsumeFloatingPoint<double>(), width, height);
        }
        const LimitedWorld limited = limitedWorld(asked, world, xScale, yScale);
        if (limited.world != world) {
            const WorldRect& w = limited.world;
            if (!std::isfinite(w.left) || !std::isfinite(w.right) || !std::isfinite(w.top) ||
                !std::isfinite(w.bottom) || w.left == w.right || w.top == w.bottom)
                violated("a zoom or a pan to a world the numbers do not allow", w.left, w.right, 0,
                         "");
            world = w;
        }
        checkWorld(world, width, height, xScale, yScale);
    }
    return 0;
}
