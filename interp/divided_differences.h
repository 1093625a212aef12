// Newton's divided differences and Neville's scheme as whole tables, for
// showing them step by step: both grow by one row per node added, in the
// order the nodes are given, and neither needs the abscissae sorted.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace tarvel {

// rows[i][j] = f[x_{i-j}, ..., x_i] for j = 0..i: row i is what node i adds,
// and its last entry rows[i][i] is the Newton form's coefficient of
// (x - x_0)...(x - x_{i-1}).
struct DividedDifferenceTable {
    std::vector<double> xs;
    std::vector<std::vector<double>> rows;

    // Appends node (x, y) and its row; x distinct from those there.
    void add(double x, double y);
    std::vector<double> coefficients() const;
};

DividedDifferenceTable dividedDifferences(std::span<const double> xs, std::span<const double> ys);

// rows[i][j] = the value at `at` of the polynomial through nodes i-j..i;
// rows.back().back() is the whole interpolant's value there.
struct NevilleTableau {
    double at = 0;
    std::vector<double> xs;
    std::vector<std::vector<double>> rows;
};

NevilleTableau nevilleTableau(std::span<const double> xs, std::span<const double> ys, double at);

// The Leja order of the abscissae: first the leftmost, then each time the
// one whose product of distances to those already taken is largest (the
// first of equals). Nodes in this order keep
// the Newton form's products from growing as fast as left to right does.
std::vector<std::size_t> lejaOrder(std::span<const double> xs);

}  // namespace tarvel
