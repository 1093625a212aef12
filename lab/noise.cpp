#include "lab/noise.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "data/number_text.h"

namespace tarvel {
namespace {

std::uint64_t splitMix64(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// A double in (0, 1] from the top 53 bits, never 0, whose log is finite.
double unitOpen(std::uint64_t bits)
{
    return static_cast<double>((bits >> 11) + 1) * 0x1.0p-53;
}

}  // namespace

std::optional<std::size_t> noiseLevelIndex(double level)
{
    const auto at = std::find(kNoiseLevels.begin(), kNoiseLevels.end(), level);
    if (at == kNoiseLevels.end())
        return std::nullopt;
    return static_cast<std::size_t>(at - kNoiseLevels.begin());
}

double noiseDeviate(std::uint64_t seed, std::size_t i)
{
    const std::uint64_t state = splitMix64(seed) ^ (2 * static_cast<std::uint64_t>(i));
    const double u = unitOpen(splitMix64(state));
    const double v = unitOpen(splitMix64(state ^ 1));
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * std::numbers::pi * v);
}

std::uint64_t nextNoiseSeed(std::uint64_t seed)
{
    constexpr std::uint64_t kSeeds = 900000;
    return 100000 + splitMix64(seed) % kSeeds;
}

double noiseAmplitude(const NodeList& nodes, double level)
{
    if (nodes.empty())
        return 0;
    double low = nodes.front().y;
    double high = low;
    double largest = 0;
    for (const Node& node : nodes) {
        low = std::min(low, node.y);
        high = std::max(high, node.y);
        largest = std::max(largest, std::fabs(node.y));
    }
    // Halved first, so that the range of values near the largest doubles
    // does not overflow.
    const double halfRange = high > low ? high / 2 - low / 2 : largest > 0 ? largest / 2 : 0.5;
    return 2 * level * halfRange;
}

std::string amplificationText(double ratio)
{
    if (!(ratio >= 100) || ratio >= 1e6)
        return compactNumber(ratio, ".", 2);
    const double scale = std::pow(10.0, std::floor(std::log10(ratio)) - 1);
    std::string digits = std::to_string(static_cast<long long>(std::round(ratio / scale) * scale));
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

void addNoise(NodeList& nodes, double level, std::uint64_t seed)
{
    if (level == 0)
        return;
    const double amplitude = noiseAmplitude(nodes, level);
    // Values near the largest doubles stay numbers.
    constexpr double kLargest = std::numeric_limits<double>::max();
    for (std::size_t i = 0; i < nodes.size(); ++i)
        nodes[i].y = std::clamp(nodes[i].y + amplitude * noiseDeviate(seed, i), -kLargest, kLargest);
}

}  // namespace tarvel
