// Thomas algorithm for tridiagonal systems.
#pragma once

#include <span>

#include "data/capacities.h"

namespace tarvel {

enum class SolveStatus { Solved, SizeOutOfRange, ZeroPivot };

// Solves equations i = 0..lastEq:
//   diagSub[i]*sol[i-1] + diagMain[i]*sol[i] + diagSup[i]*sol[i+1] = rhs[i]
// (diagSub[0] and diagSup[lastEq] are never read) by one forward elimination
// and one back substitution, without pivoting. Writes sol[0..lastEq] only.
// Reports, without writing sol, a lastEq outside 0..300, an array shorter
// than lastEq + 1 entries, or a zero pivot.
SolveStatus LESSolve_Thomas(int lastEq, std::span<const double> diagMain,
                            std::span<const double> diagSub, std::span<const double> diagSup,
                            std::span<const double> rhs, std::span<double> sol);

// The same solver, bit for bit, for a system of any size (the splines of the
// lab through up to 1001 nodes): all five spans hold one entry per equation
// (at least one).
SolveStatus LESSolve_Thomas(std::span<const double> diagMain, std::span<const double> diagSub,
                             std::span<const double> diagSup, std::span<const double> rhs,
                             std::span<double> sol);

}  // namespace tarvel
