// The global polynomial in the forms other than the barycentric one, for
// seeing where each loses its digits.
#pragma once

#include <span>

#include "interp/method_table.h"

namespace tarvel {

// What the form keeps from the nodes into data: Newton's centres (knots)
// and divided differences (coefs); the monomial coefficients of
// t = (2x - x_0 - x_{n-1}) / (x_{n-1} - x_0) (coefs), solved from the
// Vandermonde system by Gaussian elimination with partial pivoting. The
// first form needs the barycentric weights alone.
void buildGlobalForm(GlobalForm form, std::span<const double> xs, std::span<const double> ys,
                     MethodData& data);

// p(x) and, for Newton's and the monomial form, p'(x) and p''(x) by the
// form; the first form gives p alone (its derivatives are the barycentric
// ones). The node's own y at a node.
PointValues globalFormAt(GlobalForm form, std::span<const double> xs, std::span<const double> ys,
                         const MethodData& data, double x);

}  // namespace tarvel
