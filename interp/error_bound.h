// Why interpolation errs as it does: the node polynomial
// ω(x) = ∏(x − xᵢ) and the largest Taylor coefficient |f⁽ⁿ⁾(x)|/n! over
// [0, 1], whose product bounds the error of the polynomial through n nodes:
// |f(x) − p(x)| ≤ max|f⁽ⁿ⁾|/n! · |ω(x)|.
#pragma once

#include <span>

#include "interp/interpolant.h"
#include "interp/scaled_number.h"
#include "interp/study_functions.h"

namespace tarvel {

// ω(x) = ∏(x − xᵢ) over the nodes xs.
ScaledNumber nodePolynomial(std::span<const double> xs, double x);

// ω of the local polynomial's window at x: the product over the nodes of
// the window its value at x comes from.
ScaledNumber windowNodePolynomial(const Interpolant& local, double x);

// The Taylor coefficients are taken at x = k/2000, k = 0 .. 2000.
inline constexpr int kBoundGridPoints = 2001;

// Why a largest Taylor coefficient cannot be had.
enum class DerivativeProblem {
    None,
    OrderTooHigh,  // above kTaylorMaxOrder
    Kink,          // f's slope jumps at `at`: it has no n-th derivative there
    NotFinite,     // the coefficient is not finite at `at`
};

struct DerivativeMaximum {
    DerivativeProblem problem = DerivativeProblem::None;
    double value = 0;  // the largest |f⁽ⁿ⁾(x)|/n! on the grid
    double x = 0;      // the first grid x where it occurs
    double at = 0;     // where the problem lies
};

// The largest |f⁽ⁿ⁾(x)|/n! for n = order over the kBoundGridPoints grid:
// a grid maximum, not the maximum over every x.
DerivativeMaximum taylorCoefficientMaximum(const StudyFunction& f, int order);

}  // namespace tarvel
