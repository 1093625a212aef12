// The divided-difference table grown one node at a time, in the order the
// user picks, with Neville's tableau at a picked x beside it and the
// partial interpolants p_0, p_1, ... for the plot. It follows the lab's
// nodes; each step either applies or is refused with a sentence and changes
// nothing.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "interp/divided_differences.h"
#include "lab/lab_model.h"
#include "lab/lab_picture.h"
#include "lab/lab_settings.h"

namespace tarvel {

// More nodes would make a table too wide to read.
inline constexpr std::size_t kTableauMaxNodes = 16;

enum class TableauOrder { LeftToRight, Leja, Clicked };

inline constexpr std::array<Named<TableauOrder>, 3> kTableauOrders{{
    {TableauOrder::LeftToRight, "left", "Left to right"},
    {TableauOrder::Leja, "leja", "Leja order"},
    {TableauOrder::Clicked, "clicked", "By clicking"},
}};

inline constexpr ui::Colour kNewestTermColour = 0x00A000;  // green
inline constexpr ui::Colour kPartialColour = 0xB06030;     // slate blue

class TableauSteps {
public:
    // The lab's nodes now. Moved values keep the order and the steps; another
    // number of nodes starts again: every node taken, none when clicking.
    void setNodes(const NodeList& nodes);
    // Another order keeps the number of nodes taken (none when clicking).
    Refusal setOrder(TableauOrder order);
    Refusal addStep();
    Refusal removeStep();
    // The node clicked in the plot, taken next in the order by clicking.
    Refusal takeNode(std::size_t node);
    // Where Neville's tableau is evaluated.
    Refusal pickX(double x);

    TableauOrder order() const { return order_; }
    // The nodes' indices in the order taken.
    const std::vector<std::size_t>& taken() const { return taken_; }
    std::size_t nodeCount() const { return nodes_.size(); }
    // Why there is no tableau (too many nodes); empty when there is one.
    std::string unavailable() const;
    std::optional<double> pickedX() const { return pickedX_; }

    DividedDifferenceTable table() const;
    std::optional<NevilleTableau> neville() const;
    // p_0 ... p_k of the nodes taken, thin, and the newest term
    // f[x_0 ... x_k] (x - x_0)...(x - x_{k-1}) apart, over the nodes' span
    // widened to [0, 1].
    std::vector<LabSeries> series() const;
    // Both tables, tab-separated with 17 digits, for a spreadsheet.
    std::string text() const;

private:
    std::vector<std::size_t> fullOrder() const;
    Refusal stepProblem() const;

    NodeList nodes_;
    TableauOrder order_ = TableauOrder::LeftToRight;
    std::vector<std::size_t> taken_;
    std::optional<double> pickedX_;
};

}  // namespace tarvel
