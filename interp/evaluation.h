// Evaluation of the interpolation points: the interval search shared by all
// methods and the cubic of one coefficient-table row.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "interp/coef_table.h"

namespace tarvel {

// The cubic of one table row at t, summed term by term in this order (not
// Horner): y = row[0]; y = y + row[1]*pow(t,1.0); y = y + row[2]*pow(t,2.0);
// y = y + row[3]*pow(t,3.0).
double evaluateRow(const CoefRow& row, double t);

// The same sum with t^3 given: cubeOfT must be std::pow(t, 3.0), bit for bit.
double rowValue(const CoefRow& row, double t, double cubeOfT);

// How the evaluation settled an interpolation point.
enum class Settlement : std::uint8_t {
    None,       // no test held: yI(i) keeps its former value
    Copied,     // coincides with a given point
    Evaluated,  // strictly inside an interval
};

// Computes the value of an interpolation point strictly inside interval j,
// from xU(j) to xU(j+1).
using InteriorValue = std::function<double(int i, int j)>;

// For each interpolation point i = 0..lastI, scans j = 0..lastU in order and
// takes the first of these tests that holds:
//   1. xI(i) == xU(j): yI(i) = yU(j);
//   2. (j < lastU) xI(i) == xU(j+1): yI(i) = yU(j+1);
//   3. (j < lastU) xU(j) < xI(i) < xU(j+1): yI(i) = interior(i, j).
// A point that no test settles keeps its value in yI. settled(i) records
// how each point 0..lastI was settled (entries beyond lastI are left alone).
// The loops stop at the ends of the spans whatever lastI and lastU say.
// When xU(0..lastU) rises strictly the same first match is found by walking
// points and intervals together (nI + nU steps for rising points); interior
// is called for the same (i, j) in the same order either way.
void evaluatePoints(int lastI, std::span<const double> xI, std::span<double> yI, int lastU,
                    std::span<const double> xU, std::span<const double> yU,
                    const InteriorValue& interior, std::span<Settlement> settled);

// evaluatePoints with the spline of table: a point strictly inside interval
// j takes evaluateRow(table[j], xI(i) - xU(j)), or 0 where j is beyond the
// table. The values are computed in batches after the points are settled,
// each bit as evaluatePoints would compute it.
void evaluateSplinePoints(int lastI, std::span<const double> xI, std::span<double> yI, int lastU,
                          std::span<const double> xU, std::span<const double> yU,
                          const CoefTable& table, std::span<Settlement> settled);

}  // namespace tarvel
