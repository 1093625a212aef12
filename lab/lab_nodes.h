// The lab's nodes: where the chosen function put them, where the user has
// dragged them since, and the finished steps that Undo and Redo step over:
// drags, edits and choices of other nodes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "interp/nodes.h"

namespace tarvel {

struct Node {
    double x = 0;
    double y = 0;
    bool operator==(const Node&) const = default;
};

using NodeList = std::vector<Node>;

// Where the nodes' abscissae come from: a node family, or the user's own.
struct NodeSource {
    NodeFamily family = NodeFamily::Equispaced;
    bool own = false;
    bool operator==(const NodeSource&) const = default;
};

// The first pair of neighbours whose abscissae do not rise strictly, as a
// sentence ("x(3) = 0.5 is not above x(2) = 0.5"); nothing when they rise.
std::optional<std::string> orderProblem(const NodeList& nodes);

class LabNodes {
public:
    // Undo keeps this many finished steps; older ones are forgotten.
    static constexpr std::size_t kUndoDepth = 200;

    // New nodes from the function (or the data): edits and history go.
    void reset(NodeList fromFunction, NodeSource source = {});
    // New nodes from the function at the abscissae of another source, as
    // one step of Undo that brings back the nodes shown, edits and all.
    void choose(NodeList fromFunction, NodeSource source);
    const NodeList& nodes() const { return shown_.nodes; }
    const NodeSource& source() const { return shown_.source; }
    bool edited() const { return shown_.nodes != original_.nodes; }

    // A drag in progress moves one node; the values follow at once, and the
    // whole drag becomes one step of Undo when it finishes.
    void beginDrag();
    // Moves node i to y and, with moveX, towards x: strictly between its
    // neighbours and, at either end, within the span the nodes were given
    // on (widened to 0..1). False, changing nothing, for a node that is not
    // there or a coordinate that is not finite.
    bool moveNode(std::size_t i, double x, double y, bool moveX);
    void finishDrag();
    bool dragging() const { return dragStart_.has_value(); }

    // Other nodes (of that source) in their place, as one step of Undo;
    // false when they are the nodes shown.
    bool replace(NodeList nodes, NodeSource source);

    // One finished step back and forth; false when there is none.
    bool undo();
    bool redo();
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The source of the nodes Undo (Redo) would bring back, a drag in
    // progress counted as finished; nothing when there is no step.
    std::optional<NodeSource> undoSource() const;
    std::optional<NodeSource> redoSource() const;
    // The function's values come back, as one step of Undo.
    bool restoreOriginal();

private:
    struct Placed {
        NodeList nodes;
        NodeSource source;
        bool operator==(const Placed&) const = default;
    };
    // What one step of Undo brings back.
    struct Step {
        Placed shown;
        Placed original;
    };
    void record(Step before);
    // Undo and Redo: the last step of `from` comes back, the nodes now
    // shown go onto `to`.
    bool step(std::vector<Step>& from, std::vector<Step>& to);
    double lowestX(std::size_t i) const;
    double highestX(std::size_t i) const;

    Placed original_;
    Placed shown_;
    std::optional<NodeList> dragStart_;
    std::vector<Step> undo_;  // the nodes before each step, oldest first
    std::vector<Step> redo_;
};

}  // namespace tarvel
