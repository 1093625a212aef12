// Seeded noise on the node values: ε times the values' range times a
// standard normal number per node, the same for the same seed and node
// wherever it runs (no library distribution, whose numbers differ between
// standard libraries).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "lab/lab_nodes.h"

namespace tarvel {

// The noise slider's levels: none, then the decades up to 1e-2.
inline constexpr std::array<double, 15> kNoiseLevels = {
    0, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11, 1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3, 1e-2};
inline constexpr std::uint64_t kFirstNoiseSeed = 1;

// The slider's position of a level; nothing for a level not on it.
std::optional<std::size_t> noiseLevelIndex(double level);

// The standard normal number of node i under `seed` (Box–Muller on a
// counter hashed by SplitMix64).
double noiseDeviate(std::uint64_t seed, std::size_t i);

// The seed labNoiseSeedAction draws after `seed`: a six-digit number, so it
// can be read off and typed into a study.
std::uint64_t nextNoiseSeed(std::uint64_t seed);

// The noise's size for values of this range: `level` times the largest
// minus the smallest y (times the largest |y| for constant values, 1 when
// all are 0).
double noiseAmplitude(const NodeList& nodes, double level);

// How many times the noise an error is, for a sentence: two significant
// digits, thousands grouped ("3,100", "1.2"), past a million in exponent
// form ("4.5e9").
std::string amplificationText(double ratio);

// The nodes' values with the noise added.
void addNoise(NodeList& nodes, double level, std::uint64_t seed);

}  // namespace tarvel
