// Node families on [0, 1] for the method comparisons.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvel {

enum class NodeFamily {
    Equispaced,  // x(i) = i * (1 / (n - 1)), the main window's product form
    Lobatto,     // Chebyshev points (extrema): x(i) = (1 - cos(pi i / (n - 1))) / 2
    Gauss,       // Chebyshev roots: x(i) = (1 - cos(pi (2i + 1) / (2n))) / 2
};

// Each family's key, in files and as item data: "equispaced", "lobatto",
// "gauss".
constexpr const char* nodeFamilyKey(NodeFamily family)
{
    constexpr std::array<const char*, 3> kKeys = {"equispaced", "lobatto", "gauss"};
    return kKeys[static_cast<std::size_t>(family)];
}

// The n nodes of the family in increasing order, for 2 <= n <= 1001
// (kMinStudyNodes .. kMaxStudyNodes); empty for any other n.
std::vector<double> familyNodes(NodeFamily family, int n);

}  // namespace tarvel
