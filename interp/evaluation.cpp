#include "interp/evaluation.h"

#include "interp/cube.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace tarvel {

namespace {

// Index of the last entry that both spans hold and the caller asks for;
// -1 when there is none.
int lastUsable(int last, std::size_t sizeA, std::size_t sizeB)
{
    const std::size_t held = std::min(sizeA, sizeB);
    if (held == 0 || last < 0) {
        return -1;
    }
    const auto heldLast = static_cast<long long>(held) - 1;
    return static_cast<int>(std::min(static_cast<long long>(last), heldLast));
}

// Settles one interpolation point by a plain scan from the first given
// point; the first matching test wins, so a point on the right end of an
// interval is copied there rather than at the next given point.
// interior(i, j) stores the value of point i, strictly inside interval j,
// in yI(i).
template <class Interior>
Settlement settlePoint(int i, std::span<const double> xI, std::span<double> yI, int lastU,
                       std::span<const double> xU, std::span<const double> yU, Interior& interior)
{
    const double x = xI[i];
    for (int j = 0; j <= lastU; ++j) {
        if (x == xU[j]) {
            yI[i] = yU[j];
            return Settlement::Copied;
        }
        if (j == lastU) {
            return Settlement::None;
        }
        if (x == xU[j + 1]) {
            yI[i] = yU[j + 1];
            return Settlement::Copied;
        }
        if (xU[j] < x && x < xU[j + 1]) {
            interior(i, j);
            return Settlement::Evaluated;
        }
    }
    return Settlement::None;
}

// True when xU(0..lastU) rises strictly, which rules out NaN as well.
bool strictlyIncreasing(int lastU, std::span<const double> xU)
{
    for (int j = 0; j < lastU; ++j) {
        if (!(xU[j] < xU[j + 1])) {
            return false;
        }
    }
    return true;
}

// What the scan finds when the given abscissae rise strictly: a point equal
// to xU(j) is copied from there (the scan meets it as the right end of
// interval j - 1 or the left end of interval 0, the same value either way),
// a point strictly inside interval j is evaluated there, anything else (NaN,
// outside the given points) is left alone. So the walk only needs the last
// given point at or below each interpolation point; it moves forward while
// the points rise and starts afresh from the first given point when they
// fall, which makes a rising run of points cost nI + nU steps in all.
class IncreasingWalk {
public:
    IncreasingWalk(int lastU, std::span<const double> xU) : lastU_(lastU), xU_(xU) {}

    template <class Interior>
    Settlement settle(int i, std::span<const double> xI, std::span<double> yI,
                      std::span<const double> yU, Interior& interior)
    {
        const double x = xI[i];
        if (!(x >= xU_[0])) {
            return Settlement::None;  // below the first given point, or NaN
        }
        if (x < xU_[j_]) {
            j_ = 0;
        }
        while (j_ < lastU_ && xU_[j_ + 1] <= x) {
            ++j_;
        }
        if (x == xU_[j_]) {
            yI[i] = yU[j_];
            return Settlement::Copied;
        }
        if (j_ == lastU_) {
            return Settlement::None;  // beyond the last given point
        }
        interior(i, j_);
        return Settlement::Evaluated;
    }

private:
    int lastU_;
    std::span<const double> xU_;
    int j_ = 0;  // the last given point at or below the latest point walked
};

// Settles every point; see evaluatePoints.
template <class Interior>
void settleAll(int lastI, std::span<const double> xI, std::span<double> yI, int lastU,
               std::span<const double> xU, std::span<const double> yU, Interior& interior,
               std::span<Settlement> settled)
{
    const int lastPoint = lastUsable(lastI, xI.size(), yI.size());
    const int lastGiven = lastUsable(lastU, xU.size(), yU.size());
    const bool increasing = lastGiven >= 0 && strictlyIncreasing(lastGiven, xU);
    IncreasingWalk walk(lastGiven, xU);
    for (int i = 0; i <= lastPoint; ++i) {
        const Settlement how = increasing ? walk.settle(i, xI, yI, yU, interior)
                                          : settlePoint(i, xI, yI, lastGiven, xU, yU, interior);
        if (static_cast<std::size_t>(i) < settled.size())
            settled[static_cast<std::size_t>(i)] = how;
    }
}

// The values of interior points by the table's cubics, a batch at a time,
// so that the cubes of a batch are formed side by side (cubeEach).
class SplineBatch {
public:
    SplineBatch(const CoefTable& table, std::span<double> yI) : table_(table), yI_(yI)
    {
        t_.fill(1.0);
    }

    void add(int i, int j, double t)
    {
        point_[count_] = static_cast<std::size_t>(i);
        row_[count_] = static_cast<std::size_t>(j);
        t_[count_] = t;
        if (++count_ == kCapacity)
            flush();
    }

    void flush()
    {
        // Entries from count_ on are left from the batch before (or are the
        // initial 1.0) and cost nothing but their cube.
        cubeEach(t_, count_, cubes_);
        for (std::size_t k = 0; k < count_; ++k) {
            yI_[point_[k]] = rowValue(table_[row_[k]], t_[k], cubes_[k]);
        }
        count_ = 0;
    }

private:
    static constexpr std::size_t kCapacity = 128;
    const CoefTable& table_;
    std::span<double> yI_;
    std::array<std::size_t, kCapacity> point_{};
    std::array<std::size_t, kCapacity> row_{};
    std::array<double, kCapacity> t_;
    std::array<double, kCapacity> cubes_;
    std::size_t count_ = 0;
};

}  // namespace

double rowValue(const CoefRow& row, double t, double cubeOfT)
{
    // Term by term with real powers, in this order, so that the value does
    // not depend on how a compiler would rearrange a nested form.
    double y = row[0];
    y = y + row[1] * std::pow(t, 1.0);
    y = y + row[2] * std::pow(t, 2.0);
    y = y + row[3] * cubeOfT;
    return y;
}

double evaluateRow(const CoefRow& row, double t)
{
    return rowValue(row, t, cube(t));
}

void evaluatePoints(int lastI, std::span<const double> xI, std::span<double> yI, int lastU,
                    std::span<const double> xU, std::span<const double> yU,
                    const InteriorValue& interior, std::span<Settlement> settled)
{
    auto store = [&](int i, int j) { yI[i] = interior(i, j); };
    settleAll(lastI, xI, yI, lastU, xU, yU, store, settled);
}

void evaluateSplinePoints(int lastI, std::span<const double> xI, std::span<double> yI, int lastU,
                          std::span<const double> xU, std::span<const double> yU,
                          const CoefTable& table, std::span<Settlement> settled)
{
    SplineBatch batch(table, yI);
    auto store = [&](int i, int j) {
        if (j >= kCoefRows)
            yI[i] = 0.0;  // beyond the table: no method writes such a row
        else
            batch.add(i, j, xI[i] - xU[j]);
    };
    settleAll(lastI, xI, yI, lastU, xU, yU, store, settled);
    batch.flush();
}

}  // namespace tarvel
