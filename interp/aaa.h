// The AAA rational approximant through the nodes.
#pragma once

#include <complex>
#include <span>
#include <vector>

#include "interp/method_table.h"

namespace tarvel {

// The greedy step stops once every node is matched to this much of the
// largest |y|, or at this many support points.
inline constexpr double kAaaTolerance = 1e-13;
inline constexpr int kAaaMaxSupportPoints = 100;
// A pole whose residue is below this much of the largest |y| is a
// spurious pole-zero pair of rounding, and its support point is dropped.
inline constexpr double kAaaSpuriousResidue = 1e-13;

// The support points z_k (rising) into data.knots, their values f_k into
// data.coefs and the weights w_k into data.weights, of
//
//   r(x) = sum_k w_k f_k / (x - z_k) / sum_k w_k / (x - z_k).
//
// False when the weights are not finite.
bool aaaBuild(std::span<const double> xs, std::span<const double> ys, MethodData& data);

// r, r' and r'' at x.
PointValues aaaAt(std::span<const double> xs, std::span<const double> ys, const MethodData& data,
                  double x, bool withSlopes);

// The finite poles with their residues and the finite zeros of a built
// approximant, each list in rising real part, then imaginary part.
struct RationalRoots {
    std::vector<std::complex<double>> poles;
    std::vector<std::complex<double>> residues;
    std::vector<std::complex<double>> zeros;
};
RationalRoots aaaRoots(const MethodData& data);

}  // namespace tarvel
