#include "interp/divided_differences.h"

#include <cmath>

namespace tarvel {

void DividedDifferenceTable::add(double x, double y)
{
    const std::size_t i = xs.size();
    xs.push_back(x);
    std::vector<double> row{y};
    for (std::size_t j = 1; j <= i; ++j)
        row.push_back((row[j - 1] - rows[i - 1][j - 1]) / (x - xs[i - j]));
    rows.push_back(std::move(row));
}

std::vector<double> DividedDifferenceTable::coefficients() const
{
    std::vector<double> c;
    for (const std::vector<double>& row : rows)
        c.push_back(row.back());
    return c;
}

DividedDifferenceTable dividedDifferences(std::span<const double> xs, std::span<const double> ys)
{
    DividedDifferenceTable table;
    for (std::size_t i = 0; i < xs.size() && i < ys.size(); ++i)
        table.add(xs[i], ys[i]);
    return table;
}

NevilleTableau nevilleTableau(std::span<const double> xs, std::span<const double> ys, double at)
{
    NevilleTableau tableau{at, {xs.begin(), xs.end()}, {}};
    for (std::size_t i = 0; i < xs.size() && i < ys.size(); ++i) {
        std::vector<double> row{ys[i]};
        for (std::size_t j = 1; j <= i; ++j) {
            const double left = xs[i - j];
            row.push_back(((at - left) * row[j - 1] - (at - xs[i]) * tableau.rows[i - 1][j - 1]) /
                          (xs[i] - left));
        }
        tableau.rows.push_back(std::move(row));
    }
    return tableau;
}

std::vector<std::size_t> lejaOrder(std::span<const double> xs)
{
    std::vector<std::size_t> order;
    if (xs.empty())
        return order;
    // The products of distances underflow for many nodes; their logarithms
    // do not. The first score puts the leftmost node first.
    std::vector<double> score(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i)
        score[i] = -xs[i];
    std::vector<bool> taken(xs.size(), false);
    for (std::size_t step = 0; step < xs.size(); ++step) {
        std::size_t best = xs.size();
        for (std::size_t i = 0; i < xs.size(); ++i)
            if (!taken[i] && (best == xs.size() || score[i] > score[best]))
                best = i;
        taken[best] = true;
        order.push_back(best);
        for (std::size_t i = 0; i < xs.size(); ++i)
            score[i] = step == 0 ? std::log(std::fabs(xs[i] - xs[best]))
                                 : score[i] + std::log(std::fabs(xs[i] - xs[best]));
    }
    return order;
}

}  // namespace tarvel
