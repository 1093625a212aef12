#include "lab/lab_nodes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "lab/lab_text.h"
#include "plot/ticks.h"

namespace tarvel {

std::optional<std::string> orderProblem(const NodeList& nodes)
{
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        // Written so that a NaN abscissa counts as out of order too.
        if (!(nodes[i].x > nodes[i - 1].x)) {
            return joined({"x(", std::to_string(i), ") = ", compactNumber(nodes[i].x, ".", 6),
                           " is not above x(", std::to_string(i - 1),
                           ") = ", compactNumber(nodes[i - 1].x, ".", 6)});
        }
    }
    return std::nullopt;
}

void LabNodes::reset(NodeList fromFunction)
{
    original_ = std::move(fromFunction);
    nodes_ = original_;
    dragStart_.reset();
    undo_.clear();
    redo_.clear();
}

void LabNodes::beginDrag()
{
    if (!dragStart_)
        dragStart_ = nodes_;
}

// The open side of an end node stays within the span of the given nodes
// widened to 0..1, so a node is never dragged out of sight.
double LabNodes::lowestX(std::size_t i) const
{
    if (i > 0)
        return std::nextafter(nodes_[i - 1].x, std::numeric_limits<double>::infinity());
    return std::min(0.0, original_.front().x);
}

double LabNodes::highestX(std::size_t i) const
{
    if (i + 1 < nodes_.size())
        return std::nextafter(nodes_[i + 1].x, -std::numeric_limits<double>::infinity());
    return std::max(1.0, original_.back().x);
}

bool LabNodes::moveNode(std::size_t i, double x, double y, bool moveX)
{
    if (i >= nodes_.size() || !std::isfinite(y) || (moveX && !std::isfinite(x)))
        return false;
    Node& node = nodes_[i];
    node.y = y;
    if (moveX) {
        const double lo = lowestX(i);
        const double hi = highestX(i);
        // Neighbours already out of order leave no room between them: x stays.
        if (lo <= hi)
            node.x = std::clamp(x, lo, hi);
    }
    return true;
}

void LabNodes::finishDrag()
{
    if (!dragStart_)
        return;
    NodeList before = std::move(*dragStart_);
    dragStart_.reset();
    if (before != nodes_)
        record(std::move(before));
}

void LabNodes::record(NodeList before)
{
    undo_.push_back(std::move(before));
    if (undo_.size() > kUndoDepth)
        undo_.erase(undo_.begin());
    redo_.clear();
}

bool LabNodes::undo()
{
    return step(undo_, redo_);
}

bool LabNodes::redo()
{
    return step(redo_, undo_);
}

bool LabNodes::step(std::vector<NodeList>& from, std::vector<NodeList>& to)
{
    finishDrag();
    if (from.empty())
        return false;
    to.push_back(nodes_);
    nodes_ = std::move(from.back());
    from.pop_back();
    return true;
}

bool LabNodes::replace(NodeList nodes)
{
    finishDrag();
    if (nodes == nodes_)
        return false;
    NodeList before = std::move(nodes_);
    nodes_ = std::move(nodes);
    record(std::move(before));
    return true;
}

bool LabNodes::restoreOriginal()
{
    finishDrag();
    if (!edited())
        return false;
    NodeList before = nodes_;
    nodes_ = original_;
    record(std::move(before));
    return true;
}

}  // namespace tarvel
