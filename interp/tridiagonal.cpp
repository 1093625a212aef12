// Thomas algorithm: Gaussian elimination without pivoting on a tridiagonal
// matrix,
//
//   | m0 p0                |   | s0 |   | r0 |
//   | b1 m1 p1             |   | s1 |   | r1 |
//   |    b2 m2 p2          | * | s2 | = | r2 |
//   |          ...         |   | .. |   | .. |
//   |             bN mN    |   | sN |   | rN |
//
// (m = diagMain, b = diagSub, p = diagSup, r = rhs, N = lastEq). The forward
// sweep removes the sub-diagonal row by row, leaving an upper bidiagonal
// system with main diagonal diagW and right-hand side rhsW; the back
// substitution then solves it from the last row upwards.
//
// Every elimination step forms the product first and divides it by the
// pivot afterwards (no multiplier b/w is formed), so that the solution is
// reproducible to the last bit.
#include "interp/tridiagonal.h"

#include <array>
#include <cstddef>
#include <vector>

namespace tarvel {

namespace {

using WorkArray = std::array<double, kThomasCapacity>;

bool sizesFit(int lastEq, std::span<const double> diagMain, std::span<const double> diagSub,
              std::span<const double> diagSup, std::span<const double> rhs, std::span<double> sol)
{
    if (lastEq < 0 || lastEq >= kThomasCapacity) {
        return false;
    }
    const auto needed = static_cast<std::size_t>(lastEq) + 1;
    return diagMain.size() >= needed && diagSub.size() >= needed && diagSup.size() >= needed &&
           rhs.size() >= needed && sol.size() >= needed;
}

// Fills diagW and rhsW; false when a pivot, the last one included, is zero.
// Nothing outside the two working arrays is touched, so a refusal leaves the
// caller's solution array as it was.
bool eliminateForward(int lastEq, std::span<const double> diagMain, std::span<const double> diagSub,
                      std::span<const double> diagSup, std::span<const double> rhs,
                      std::span<double> diagW, std::span<double> rhsW)
{
    diagW[0] = diagMain[0];
    rhsW[0] = rhs[0];
    for (int i = 1; i <= lastEq; ++i) {
        const double pivot = diagW[i - 1];
        if (pivot == 0.0) {
            return false;
        }
        diagW[i] = diagMain[i] - (diagSub[i] * diagSup[i - 1]) / pivot;
        rhsW[i] = rhs[i] - (diagSub[i] * rhsW[i - 1]) / pivot;
    }
    return diagW[lastEq] != 0.0;
}

void substituteBackward(int lastEq, std::span<const double> diagSup, std::span<const double> diagW,
                        std::span<const double> rhsW, std::span<double> sol)
{
    sol[lastEq] = rhsW[lastEq] / diagW[lastEq];
    for (int i = lastEq - 1; i >= 0; --i) {
        sol[i] = (rhsW[i] - diagSup[i] * sol[i + 1]) / diagW[i];
    }
}

}  // namespace

SolveStatus LESSolve_Thomas(int lastEq, std::span<const double> diagMain,
                            std::span<const double> diagSub, std::span<const double> diagSup,
                            std::span<const double> rhs, std::span<double> sol)
{
    if (!sizesFit(lastEq, diagMain, diagSub, diagSup, rhs, sol)) {
        return SolveStatus::SizeOutOfRange;
    }
    WorkArray diagW{};
    WorkArray rhsW{};
    if (!eliminateForward(lastEq, diagMain, diagSub, diagSup, rhs, diagW, rhsW)) {
        return SolveStatus::ZeroPivot;
    }
    substituteBackward(lastEq, diagSup, diagW, rhsW, sol);
    return SolveStatus::Solved;
}

SolveStatus LESSolve_Thomas(std::span<const double> diagMain, std::span<const double> diagSub,
                             std::span<const double> diagSup, std::span<const double> rhs,
                             std::span<double> sol)
{
    const std::size_t count = diagMain.size();
    if (count == 0 || diagSub.size() != count || diagSup.size() != count ||
        rhs.size() != count || sol.size() != count) {
        return SolveStatus::SizeOutOfRange;
    }
    const int lastEq = static_cast<int>(count) - 1;
    std::vector<double> diagW(count);
    std::vector<double> rhsW(count);
    if (!eliminateForward(lastEq, diagMain, diagSub, diagSup, rhs, diagW, rhsW)) {
        return SolveStatus::ZeroPivot;
    }
    substituteBackward(lastEq, diagSup, diagW, rhsW, sol);
    return SolveStatus::Solved;
}

}  // namespace tarvel
