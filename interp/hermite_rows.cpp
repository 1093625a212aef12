// Interval i, of width dx and rise dy, with end slopes s_i and s_{i+1},
// holds in t = x - x_i
//
//   y_i + s_i t + (3 dy / dx^2 - (2 s_i + s_{i+1}) / dx) t^2
//               + ((s_i + s_{i+1}) / dx^2 - 2 dy / dx^3) t^3.
//
// The terms are formed in this order, each product before its division, so
// that the PW spline's listed rows are reproducible to the last bit.
#include "interp/hermite_rows.h"

#include <cmath>
#include <cstddef>

#include "interp/cube.h"

namespace tarvel {

void hermiteRows(std::span<const double> xs, std::span<const double> ys,
                 std::span<const double> slopes, std::span<CoefRow> rows)
{
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        const double dx = xs[i + 1] - xs[i];
        const double dy = ys[i + 1] - ys[i];
        const double dx2 = std::pow(dx, 2.0);
        const double dx3 = cube(dx);
        CoefRow& row = rows[i];
        row[0] = ys[i];
        row[1] = slopes[i];
        row[2] = (3.0 * dy) / dx2 - (2.0 * slopes[i] + slopes[i + 1]) / dx;
        row[3] = (slopes[i] + slopes[i + 1]) / dx2 - (2.0 * dy) / dx3;
    }
}

}  // namespace tarvel
