#include "interp/evaluation.h"

#include <algorithm>
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
Settlement settlePoint(int i, std::span<const double> xI, std::span<double> yI, int lastU,
                       std::span<const double> xU, std::span<const double> yU,
                       const InteriorValue& interior)
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
            yI[i] = interior(i, j);
            return Settlement::Evaluated;
        }
    }
    return Settlement::None;
}

}  // namespace

double evaluateRow(const CoefRow& row, double t)
{
    // Term by term with real powers, in this order, so that the value does
    // not depend on how a compiler would rearrange a nested form.
    double y = row[0];
    y = y + row[1] * std::pow(t, 1.0);
    y = y + row[2] * std::pow(t, 2.0);
    y = y + row[3] * std::pow(t, 3.0);
    return y;
}

void evaluatePoints(int lastI, std::span<const double> xI, std::span<double> yI, int lastU,
                    std::span<const double> xU, std::span<const double> yU,
                    const InteriorValue& interior, std::span<Settlement> settled)
{
    const int lastPoint = lastUsable(lastI, xI.size(), yI.size());
    const int lastGiven = lastUsable(lastU, xU.size(), yU.size());
    for (int i = 0; i <= lastPoint; ++i) {
        const Settlement how = settlePoint(i, xI, yI, lastGiven, xU, yU, interior);
        if (static_cast<std::size_t>(i) < settled.size())
            settled[static_cast<std::size_t>(i)] = how;
    }
}

}  // namespace tarvel
