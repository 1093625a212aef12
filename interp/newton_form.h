// The polynomial through a few nodes in Newton's form, for its derivatives:
//
//   p(x) = c_0 + (x - z_0) (c_1 + (x - z_1) (c_2 + ...)),
//
// c_i the divided differences p[z_0, ..., z_i]. Only the differences of
// the lowest order divide by the distance of two nodes; the barycentric
// weights hold the product of all of them, and nodes close together (a pair
// 1e-7 apart) make those weights cancel in every sum a derivative takes.
#pragma once

#include <span>
#include <vector>

#include "interp/interpolant.h"

namespace tarvel {

struct NewtonForm {
    std::vector<double> centres;       // z_i: the nodes, nearest the middle first
    std::vector<double> coefficients;  // c_i
};

// The form through (xs, ys) for evaluation near `middle`: the nodes taken
// in order of their distance from it, so the factors (x - z_i) stay small
// where the form is used. xs distinct.
NewtonForm newtonForm(std::span<const double> xs, std::span<const double> ys, double middle);

// p(x), p'(x) and p''(x) by Horner's rule with its derivatives.
PointValues newtonAt(const NewtonForm& form, double x);

}  // namespace tarvel
