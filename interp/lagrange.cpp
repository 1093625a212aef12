// Local polynomial interpolation: the polynomial through a window of
// consecutive given points, evaluated in Lagrange form,
//
//   p(xp) = sum_k fs[k] * L_k(xp),   L_k(xp) = prod_{m != k} (xp - xs[m]) / (xs[k] - xs[m]).
//
// Each factor of L_k is applied as one multiplication followed by one
// division, with m ascending, and the sum runs over k ascending; results are
// reproducible to the last bit only in this order.
#include "interp/lagrange.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace tarvel {

namespace {

// The window arrays hold a multiple of the widest vector, so the basis loop
// can always run over whole vectors; the lanes past the window compute
// values nobody reads.
constexpr int kVectorDoubles = 8;
constexpr int kPaddedCapacity =
    (kWindowCapacity + kVectorDoubles - 1) / kVectorDoubles * kVectorDoubles;
using WindowArray = std::array<double, kPaddedCapacity>;

// Number of points 0..floor(n) of a degree read as a real, limited to what
// the arrays hold; 0 for a negative or undefined degree.
int pointCount(double n, std::size_t limit)
{
    if (!(n >= 0.0)) {
        return 0;
    }
    const std::size_t capped = std::min(limit, static_cast<std::size_t>(kWindowCapacity));
    const double wanted = std::floor(n) + 1.0;
    if (wanted >= static_cast<double>(capped)) {
        return static_cast<int>(capped);
    }
    return static_cast<int>(wanted);
}

// All basis values of one evaluation abscissa at once. Taking the factor m
// for every k before moving to m + 1 gives each L_k its factors in the same
// order (m ascending) as computing L_k alone, so the bits are the same; but
// the updates for different k are independent of each other and do not wait
// for one long chain of divisions.
//
// The plain form, for compilers without vector extensions.
void basisScalar(int count, double xp, const double* xWin, double* basisL)
{
    for (int m = 0; m < count; ++m) {
        const double xm = xWin[m];
        const double towardPoint = xp - xm;
        for (int k = 0; k < m; ++k) {
            basisL[k] = (basisL[k] * towardPoint) / (xWin[k] - xm);
        }
        for (int k = m + 1; k < count; ++k) {
            basisL[k] = (basisL[k] * towardPoint) / (xWin[k] - xm);
        }
    }
}

#if defined(__GNUC__)
using Doubles2 = double __attribute__((vector_size(16)));
using Doubles4 = double __attribute__((vector_size(32)));
using Doubles8 = double __attribute__((vector_size(64)));

// The same factors over whole vectors of k, m included: the lane k == m
// divides by zero and is put back afterwards, which costs one lane in a
// hundred and spares the loop its split at m and its remainders. Every other
// lane computes (L_k * (xp - x_m)) / (x_k - x_m), rounded after each step,
// exactly as the plain form. Inlined into one function per instruction set,
// where V becomes that set's registers.
template <typename V>
[[gnu::always_inline]] inline void basisVectors(int count, double xp, const double* xWin,
                                                double* basisL)
{
    constexpr int lanes = static_cast<int>(sizeof(V) / sizeof(double));
    const int padded = (count + lanes - 1) / lanes * lanes;
    for (int m = 0; m < count; ++m) {
        const double xm = xWin[m];
        const double towardPoint = xp - xm;
        const double own = basisL[m];
        for (int k = 0; k < padded; k += lanes) {
            V basis;
            V x;
            std::memcpy(&basis, basisL + k, sizeof basis);
            std::memcpy(&x, xWin + k, sizeof x);
            basis = (basis * towardPoint) / (x - xm);
            std::memcpy(basisL + k, &basis, sizeof basis);
        }
        basisL[m] = own;
    }
}

void basisBaseline(int count, double xp, const double* xWin, double* basisL)
{
    basisVectors<Doubles2>(count, xp, xWin, basisL);
}

#if defined(__x86_64__)
#define TARVEL_X86_DISPATCH 1

[[gnu::target("avx2")]] void basisAvx2(int count, double xp, const double* xWin, double* basisL)
{
    basisVectors<Doubles4>(count, xp, xWin, basisL);
}

[[gnu::target("avx512f")]] void basisAvx512(int count, double xp, const double* xWin,
                                            double* basisL)
{
    basisVectors<Doubles8>(count, xp, xWin, basisL);
}
#endif
#else
void basisBaseline(int count, double xp, const double* xWin, double* basisL)
{
    basisScalar(count, xp, xWin, basisL);
}
#endif

using BasisLoop = void (*)(int, double, const double*, double*);

BasisLoop loopFor(InstructionSet set)
{
    switch (set) {
    case InstructionSet::Plain:
        return basisScalar;
#if defined(TARVEL_X86_DISPATCH)
    case InstructionSet::Avx2:
        return basisAvx2;
    case InstructionSet::Avx512:
        return basisAvx512;
#endif
    default:
        return basisBaseline;
    }
}

InstructionSet widestAvailable()
{
    for (const InstructionSet set : {InstructionSet::Avx512, InstructionSet::Avx2}) {
        if (instructionSetAvailable(set)) {
            return set;
        }
    }
    return InstructionSet::Baseline;
}

// The set in use; read on every evaluation, written only by a forced choice.
std::atomic<InstructionSet>& chosenSet()
{
    static std::atomic<InstructionSet> chosen{widestAvailable()};
    return chosen;
}

void lagrangeBasis(int count, double xp, std::span<const double> xs, WindowArray& basisL)
{
    WindowArray xWin{};
    std::copy_n(xs.begin(), count, xWin.begin());
    std::fill_n(basisL.begin(), kPaddedCapacity, 1.0);
    loopFor(chosenSet().load(std::memory_order_relaxed))(count, xp, xWin.data(), basisL.data());
}

// Largest start index that the window computation hands out; far above any
// array of the program, far below the limit of int.
constexpr double kStartCeiling = 1.0e9;

}  // namespace

const char* instructionSetName(InstructionSet set)
{
    switch (set) {
    case InstructionSet::Avx2:
        return "AVX2";
    case InstructionSet::Avx512:
        return "AVX-512";
    case InstructionSet::Plain:
        return "plain";
    default:
        return "baseline";
    }
}

bool instructionSetAvailable(InstructionSet set)
{
    switch (set) {
    case InstructionSet::Baseline:
    case InstructionSet::Plain:
        return true;
#if defined(TARVEL_X86_DISPATCH)
    case InstructionSet::Avx2:
        return __builtin_cpu_supports("avx2");
    case InstructionSet::Avx512:
        return __builtin_cpu_supports("avx512f");
#endif
    default:
        return false;
    }
}

InstructionSet lagrangeInstructionSet()
{
    return chosenSet().load(std::memory_order_relaxed);
}

bool forceInstructionSet(InstructionSet set)
{
    if (!instructionSetAvailable(set)) {
        return false;
    }
    chosenSet().store(set, std::memory_order_relaxed);
    return true;
}

void chooseInstructionSetAutomatically()
{
    chosenSet().store(widestAvailable(), std::memory_order_relaxed);
}

double FX(double n, double xp, std::span<const double> xs, std::span<const double> fs)
{
    const int count = pointCount(n, std::min(xs.size(), fs.size()));
    WindowArray basisL{};
    lagrangeBasis(count, xp, xs, basisL);
    double sum = 0.0;
    for (int k = 0; k < count; ++k) {
        sum = sum + basisL[k] * fs[k];
    }
    return sum;
}

int windowStart(double nDeg, double lastU, int j)
{
    double jFirst = j - std::floor(nDeg / 2.0);
    if (jFirst < 0.0) {
        jFirst = 0.0;
    }
    if (jFirst > lastU - nDeg) {
        jFirst = lastU - nDeg;
    }
    // A fractional degree can leave the start fractional, and a degree just
    // under the number of points can push it into (-1, 0): round down, but
    // never below the first point. Anything undefined also becomes 0.
    const double start = std::floor(jFirst);
    if (!(start > 0.0)) {
        return 0;
    }
    return static_cast<int>(std::min(start, kStartCeiling));
}

double localPolynomialValue(double nDeg, double lastU, int j, double xp, std::span<const double> xU,
                            std::span<const double> yU)
{
    const std::size_t given = std::min(xU.size(), yU.size());
    const auto start = static_cast<std::size_t>(windowStart(nDeg, lastU, j));
    if (start >= given) {
        return 0.0;
    }
    const int count = pointCount(nDeg, given - start);
    WindowArray xWin{};
    WindowArray yWin{};
    std::copy_n(xU.begin() + static_cast<std::ptrdiff_t>(start), count, xWin.begin());
    std::copy_n(yU.begin() + static_cast<std::ptrdiff_t>(start), count, yWin.begin());
    const auto window = static_cast<std::size_t>(count);
    return FX(nDeg, xp, std::span<const double>(xWin.data(), window),
              std::span<const double>(yWin.data(), window));
}

}  // namespace tarvel
