#include "interp/cardinal.h"

#include <vector>

#include "interp/error_bound.h"

namespace tarvel {
namespace {

// The global polynomial's basis function prod_{k != j} (x - x_k) / (x_j - x_k)
// by the first form, as the Lebesgue function is taken: its magnitude
// keeps its digits where the second form's signed sum would cancel (at
// many evenly spaced nodes by more digits than a double has).
void lagrangeBasis(std::span<const double> xs, std::size_t j, std::span<const double> x,
                   std::span<double> out)
{
    for (std::size_t i = 0; i < x.size(); ++i) {
        ScaledNumber basis;
        for (std::size_t k = 0; k < xs.size(); ++k)
            if (k != j)
                basis.multiply((x[i] - xs[k]) / (xs[j] - xs[k]));
        out[i] = basis.value();
    }
}

}  // namespace

bool cardinalCurve(StudyMethod method, std::span<const double> xs, std::size_t j,
                   const MethodParameters& parameters, std::span<const double> x,
                   std::span<double> out)
{
    std::vector<double> ys(xs.size(), 0.0);
    if (j >= ys.size())
        return false;
    ys[j] = 1;
    if (methodRow(method).periodic && (j == 0 || j + 1 == ys.size()))
        ys.front() = ys.back() = 1;
    MethodSettings settings;
    settings.parameters = parameters;
    const BuildResult built = buildInterpolant(method, xs, ys, settings);
    if (!built.interpolant)
        return false;
    if (method == StudyMethod::Global)
        lagrangeBasis(xs, j, x, out);
    else
        built.interpolant->evaluate(x, out);
    return true;
}

}  // namespace tarvel
