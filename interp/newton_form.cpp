#include "interp/newton_form.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tarvel {

NewtonForm newtonForm(std::span<const double> xs, std::span<const double> ys, double middle)
{
    std::vector<std::size_t> order(xs.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::fabs(xs[a] - middle) < std::fabs(xs[b] - middle);
    });
    NewtonForm form;
    for (const std::size_t i : order) {
        form.centres.push_back(xs[i]);
        form.coefficients.push_back(ys[i]);
    }
    // Column by column in place: after step `order`, entry i holds
    // p[z_{i - order}, ..., z_i].
    std::vector<double>& c = form.coefficients;
    const std::vector<double>& z = form.centres;
    for (std::size_t step = 1; step < c.size(); ++step)
        for (std::size_t i = c.size() - 1; i >= step; --i)
            c[i] = (c[i] - c[i - 1]) / (z[i] - z[i - step]);
    return form;
}

PointValues newtonAt(const NewtonForm& form, double x)
{
    const std::vector<double>& c = form.coefficients;
    PointValues p{c.back(), 0, 0};
    for (std::size_t i = c.size() - 1; i-- > 0;) {
        const double factor = x - form.centres[i];
        p.second = p.second * factor + 2 * p.first;
        p.first = p.first * factor + p.value;
        p.value = p.value * factor + c[i];
    }
    return p;
}

}  // namespace tarvel
