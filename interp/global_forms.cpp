#include "interp/global_forms.h"

#include <algorithm>
#include <cstddef>

#include <Eigen/Dense>

#include "interp/barycentric.h"
#include "interp/newton_form.h"

namespace tarvel {
namespace {

struct Scaled {
    double centre;
    double halfWidth;
};

Scaled scaledInterval(std::span<const double> xs)
{
    return {xs.front() / 2 + xs.back() / 2, xs.back() / 2 - xs.front() / 2};
}

// p, p' and p'' of sum_k a_k t^k by Horner's rule, t' = 1 / halfWidth.
PointValues monomialAt(std::span<const double> coefs, Scaled scaled, double x)
{
    const double t = (x - scaled.centre) / scaled.halfWidth;
    double value = 0;
    double first = 0;
    double second = 0;
    for (std::size_t k = coefs.size(); k-- > 0;) {
        second = second * t + 2 * first;
        first = first * t + value;
        value = value * t + coefs[k];
    }
    const double slope = 1 / scaled.halfWidth;
    return {value, first * slope, second * slope * slope};
}

}  // namespace

void buildGlobalForm(GlobalForm form, std::span<const double> xs, std::span<const double> ys,
                     MethodData& data)
{
    switch (form) {
    case GlobalForm::Barycentric:
    case GlobalForm::First:
        return;
    case GlobalForm::Newton: {
        // Ordered by the distance from the first node: left to right, the
        // order of the textbook's table.
        NewtonForm newton = newtonForm(xs, ys, xs.front());
        data.knots = std::move(newton.centres);
        data.coefs = std::move(newton.coefficients);
        return;
    }
    case GlobalForm::Monomial: {
        const auto n = static_cast<Eigen::Index>(xs.size());
        const Scaled scaled = scaledInterval(xs);
        Eigen::MatrixXd vandermonde(n, n);
        Eigen::VectorXd values(n);
        for (Eigen::Index i = 0; i < n; ++i) {
            const double t = (xs[static_cast<std::size_t>(i)] - scaled.centre) / scaled.halfWidth;
            double power = 1;
            for (Eigen::Index k = 0; k < n; ++k) {
                vandermonde(i, k) = power;
                power *= t;
            }
            values(i) = ys[static_cast<std::size_t>(i)];
        }
        const Eigen::VectorXd coefs = vandermonde.partialPivLu().solve(values);
        data.coefs.assign(coefs.data(), coefs.data() + n);
        return;
    }
    }
}

PointValues globalFormAt(GlobalForm form, std::span<const double> xs, std::span<const double> ys,
                         const MethodData& data, double x)
{
    PointValues values;
    switch (form) {
    case GlobalForm::Barycentric:
    case GlobalForm::First:
        values.value = firstFormValue(xs, data.weights, ys, x);
        return values;
    case GlobalForm::Newton:
        values = newtonAt({data.knots, data.coefs}, x);
        break;
    case GlobalForm::Monomial:
        values = monomialAt(data.coefs, scaledInterval(xs), x);
        break;
    }
    const auto node = std::lower_bound(xs.begin(), xs.end(), x);
    if (node != xs.end() && *node == x)
        values.value = ys[static_cast<std::size_t>(node - xs.begin())];
    return values;
}

}  // namespace tarvel
