// Local polynomial interpolation in Lagrange form.
#pragma once

#include <span>

#include "data/capacities.h"

namespace tarvel {

// The instruction sets the Lagrange basis loop (and the barycentric sums)
// are built for. Every one gives the same bits: each basis value takes the
// same multiplications and divisions in the same order, and both are
// correctly rounded everywhere. Plain is the loop without vector registers
// that compilers without vector extensions use; it is always available and
// never chosen automatically.
enum class InstructionSet { Baseline, Avx2, Avx512, Plain };

const char* instructionSetName(InstructionSet set);

// Built into this program and supported by this processor. Baseline always is.
bool instructionSetAvailable(InstructionSet set);

// The set the basis loop uses now: the widest available one unless a test
// or a benchmark forced another.
InstructionSet lagrangeInstructionSet();

// For tests and benchmarks: use `set` from now on. Returns false and changes
// nothing when it is not available.
bool forceInstructionSet(InstructionSet set);

// Back to the widest available set.
void chooseInstructionSetAutomatically();

// The value at xp of the polynomial of degree n through (xs[m], fs[m]),
// m = 0..n, in Lagrange form. n is used as read: the points 0..floor(n)
// take part; a negative n gives 0. xs and fs must hold floor(n) + 1 entries
// (at most kWindowCapacity) with distinct abscissae.
double FX(double n, double xp, std::span<const double> xs, std::span<const double> fs);

// Index of the first given point of the window for interval j: the window
// holds floor(nDeg) + 1 consecutive given points placed around interval j,
// shifted (never shortened) to stay within 0..lastU. Fractional values are
// used as read and the resulting start is rounded down, never below 0.
int windowStart(double nDeg, double lastU, int j);

// The value at xp of the local polynomial of degree nDeg for interval j of
// the given points xU, yU (entries 0..lastU).
double localPolynomialValue(double nDeg, double lastU, int j, double xp, std::span<const double> xU,
                            std::span<const double> yU);

}  // namespace tarvel
