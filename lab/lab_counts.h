// The numbers of nodes the lab steps through: the counts of the convergence
// view and the steps of Play.
#pragma once

#include <optional>
#include <vector>

#include "data/capacities.h"
#include "interp/interpolant.h"

namespace tarvel {

inline constexpr int kLabMinCount = kMinStudyNodes;
inline constexpr int kLabMaxCount = kMaxStudyNodes;
inline constexpr int kLabMaxDegree = kMaxInterpolationDegree;

// About 60 distinct counts from 2 to 1001, evenly spaced in log n (every
// count from 2 up to where the spacing exceeds 1), in rising order, with
// `current` among them when it lies within 2..1001.
std::vector<int> convergenceCounts(int current);

// The count Play shows after n: the next of the evenly spaced counts above
// n, nothing at or past 1001.
std::optional<int> nextPlayCount(int n);

}  // namespace tarvel
