#include "lab/lab_nodes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "data/number_text.h"
#include "lab/lab_text.h"

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

void LabNodes::reset(NodeList fromFunction, NodeSource source)
{
    original_ = {std::move(fromFunction), source};
    shown_ = original_;
    dragStart_.reset();
    undo_.clear();
    redo_.clear();
}

void LabNodes::choose(NodeList fromFunction, NodeSource source)
{
    finishDrag();
    record({shown_, original_});
    original_ = {std::move(fromFunction), source};
    shown_ = original_;
}

void LabNodes::beginDrag()
{
    if (!dragStart_)
        dragStart_ = shown_.nodes;
}

// The open side of an end node stays within the span of the given nodes
// widened to 0..1, so a node is never dragged out of sight.
double LabNodes::lowestX(std::size_t i) const
{
    if (i > 0)
        return std::nextafter(shown_.nodes[i - 1].x, std::numeric_limits<double>::infinity());
    return std::min(0.0, original_.nodes.front().x);
}

double LabNodes::highestX(std::size_t i) const
{
    if (i + 1 < shown_.nodes.size())
        return std::nextafter(shown_.nodes[i + 1].x, -std::numeric_limits<double>::infinity());
    return std::max(1.0, original_.nodes.back().x);
}

bool LabNodes::moveNode(std::size_t i, double x, double y, bool moveX)
{
    if (i >= shown_.nodes.size() || !std::isfinite(y) || (moveX && !std::isfinite(x)))
        return false;
    Node& node = shown_.nodes[i];
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
    if (before != shown_.nodes)
        record({{std::move(before), shown_.source}, original_});
}

void LabNodes::record(Step before)
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

std::optional<NodeSource> LabNodes::undoSource() const
{
    // A drag in progress becomes a step whose nodes keep their source.
    if (dragStart_ && *dragStart_ != shown_.nodes)
        return shown_.source;
    if (undo_.empty())
        return std::nullopt;
    return undo_.back().shown.source;
}

std::optional<NodeSource> LabNodes::redoSource() const
{
    if (dragStart_ && *dragStart_ != shown_.nodes)
        return std::nullopt;
    if (redo_.empty())
        return std::nullopt;
    return redo_.back().shown.source;
}

bool LabNodes::step(std::vector<Step>& from, std::vector<Step>& to)
{
    finishDrag();
    if (from.empty())
        return false;
    to.push_back({std::move(shown_), std::move(original_)});
    shown_ = std::move(from.back().shown);
    original_ = std::move(from.back().original);
    from.pop_back();
    return true;
}

bool LabNodes::replace(NodeList nodes, NodeSource source)
{
    finishDrag();
    Placed placed{std::move(nodes), source};
    if (placed == shown_)
        return false;
    record({std::exchange(shown_, std::move(placed)), original_});
    return true;
}

bool LabNodes::restoreOriginal()
{
    finishDrag();
    if (!edited() && shown_.source == original_.source)
        return false;
    record({std::exchange(shown_, original_), original_});
    return true;
}

}  // namespace tarvel
