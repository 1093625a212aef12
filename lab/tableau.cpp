#include "lab/tableau.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "interp/newton_form.h"
#include "lab/lab_text.h"
#include "data/number_text.h"

namespace tarvel {
namespace {

std::string subscript(std::size_t k)
{
    static const char* const digits[] = {"₀", "₁", "₂", "₃", "₄", "₅", "₆", "₇", "₈", "₉"};
    const std::string decimal = std::to_string(k);
    std::string text;
    for (const char digit : decimal)
        text += digits[digit - '0'];
    return text;
}

// One table as a spreadsheet takes it: a header, then per row its x and
// its entries.
void appendRows(std::string& text, const std::string& header, const std::vector<double>& xs,
                const std::vector<std::vector<double>>& rows)
{
    text += header;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        text += fullNumber(xs[i]);
        for (const double entry : rows[i])
            text += "\t" + fullNumber(entry);
        text += "\n";
    }
}

}  // namespace

void TableauSteps::setNodes(const NodeList& nodes)
{
    const bool sameCount = nodes.size() == nodes_.size();
    nodes_ = nodes;
    if (sameCount)
        return;
    taken_ = order_ == TableauOrder::Clicked || !unavailable().empty() ? std::vector<std::size_t>{}
                                                                        : fullOrder();
}

std::vector<std::size_t> TableauSteps::fullOrder() const
{
    if (order_ == TableauOrder::Leja) {
        std::vector<double> xs;
        for (const Node& node : nodes_)
            xs.push_back(node.x);
        return lejaOrder(xs);
    }
    std::vector<std::size_t> order(nodes_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    return order;
}

std::string TableauSteps::unavailable() const
{
    if (nodes_.size() <= kTableauMaxNodes)
        return {};
    return joined({"The tableau takes at most ", std::to_string(kTableauMaxNodes),
                   " nodes, and the lab has ", std::to_string(nodes_.size()),
                   ": lower the number of nodes."});
}

Refusal TableauSteps::stepProblem() const
{
    if (std::string why = unavailable(); !why.empty())
        return why;
    return std::nullopt;
}

Refusal TableauSteps::setOrder(TableauOrder order)
{
    if (Refusal problem = stepProblem())
        return problem;
    order_ = order;
    if (order == TableauOrder::Clicked) {
        taken_.clear();
        return std::nullopt;
    }
    const std::size_t count = taken_.size();
    taken_ = fullOrder();
    taken_.resize(count);
    return std::nullopt;
}

Refusal TableauSteps::addStep()
{
    if (Refusal problem = stepProblem())
        return problem;
    if (taken_.size() == nodes_.size())
        return joined({"All ", std::to_string(nodes_.size()), " nodes are in the tableau."});
    if (order_ == TableauOrder::Clicked)
        return std::string("Click the node to take next in the plot (the order is by clicking).");
    taken_.push_back(fullOrder()[taken_.size()]);
    return std::nullopt;
}

Refusal TableauSteps::removeStep()
{
    if (Refusal problem = stepProblem())
        return problem;
    if (taken_.empty())
        return std::string("The tableau holds no node to take away.");
    taken_.pop_back();
    return std::nullopt;
}

Refusal TableauSteps::takeNode(std::size_t node)
{
    if (Refusal problem = stepProblem())
        return problem;
    if (order_ != TableauOrder::Clicked)
        return std::string("Choose the order by clicking to take the nodes by clicking.");
    if (node >= nodes_.size())
        return joined({"There is no node ", std::to_string(node), "."});
    if (std::find(taken_.begin(), taken_.end(), node) != taken_.end())
        return joined({"Node ", std::to_string(node), " is in the tableau already."});
    taken_.push_back(node);
    return std::nullopt;
}

Refusal TableauSteps::pickX(double x)
{
    if (!std::isfinite(x))
        return joined({"Neville's tableau needs a finite x; ", compactNumber(x, "."), " is not."});
    pickedX_ = x;
    return std::nullopt;
}

DividedDifferenceTable TableauSteps::table() const
{
    DividedDifferenceTable table;
    for (const std::size_t i : taken_)
        table.add(nodes_[i].x, nodes_[i].y);
    return table;
}

std::optional<NevilleTableau> TableauSteps::neville() const
{
    if (!pickedX_ || taken_.empty())
        return std::nullopt;
    std::vector<double> xs;
    std::vector<double> ys;
    for (const std::size_t i : taken_) {
        xs.push_back(nodes_[i].x);
        ys.push_back(nodes_[i].y);
    }
    return nevilleTableau(xs, ys, *pickedX_);
}

std::vector<LabSeries> TableauSteps::series() const
{
    std::vector<LabSeries> series;
    if (taken_.empty())
        return series;
    const DividedDifferenceTable differences = table();
    const std::vector<double>& xs = differences.xs;
    const std::vector<double> c = differences.coefficients();
    double low = 0;
    double high = 1;
    for (const double x : xs) {
        low = std::min(low, x);
        high = std::max(high, x);
    }
    std::vector<double> grid(kCurvePoints);
    for (int k = 0; k < kCurvePoints; ++k)
        grid[static_cast<std::size_t>(k)] = low + (high - low) * k / (kCurvePoints - 1);
    const std::size_t newest = c.size() - 1;
    for (std::size_t k = 0; k <= newest; ++k) {
        const NewtonForm form{{xs.begin(), xs.begin() + static_cast<std::ptrdiff_t>(k + 1)},
                              {c.begin(), c.begin() + static_cast<std::ptrdiff_t>(k + 1)}};
        LabSeries partial;
        // Only the newest is named: sixteen entries would crowd the legend.
        partial.label = k == newest ? "p" + subscript(k) + " (tableau, newest)" : "";
        partial.colour = kPartialColour;
        partial.dashed = k != newest;
        partial.x = grid;
        for (const double x : grid)
            partial.y.push_back(newtonAt(form, x).value);
        series.push_back(std::move(partial));
    }
    LabSeries term;
    term.label = "newest term f[x" + subscript(0) + "…x" + subscript(newest) + "]·ω" +
                 subscript(newest) + "(x)";
    term.colour = kNewestTermColour;
    term.dashed = true;
    term.dash = LineDash::Dashed;
    term.x = grid;
    for (const double x : grid) {
        double omega = 1;
        for (std::size_t i = 0; i < newest; ++i)
            omega *= x - xs[i];
        term.y.push_back(c[newest] * omega);
    }
    series.push_back(std::move(term));
    return series;
}

std::string TableauSteps::text() const
{
    const DividedDifferenceTable differences = table();
    std::string header = "x\tf[x_i]";
    for (std::size_t j = 1; j < differences.rows.size(); ++j)
        header += "\torder " + std::to_string(j);
    std::string text = "Divided differences\n";
    appendRows(text, header + "\n", differences.xs, differences.rows);
    if (const std::optional<NevilleTableau> tableau = neville()) {
        std::string nevilleHeader = "x\tP_i";
        for (std::size_t j = 1; j < tableau->rows.size(); ++j)
            nevilleHeader += "\torder " + std::to_string(j);
        text += "\nNeville at x = " + fullNumber(tableau->at) + "\n";
        appendRows(text, nevilleHeader + "\n", tableau->xs, tableau->rows);
    }
    return text;
}

}  // namespace tarvel
