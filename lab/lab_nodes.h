// The lab's nodes: where the chosen function put them, where the user has
// dragged them since, and the finished drags that Undo and Redo step over.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tarvel {

struct Node {
    double x = 0;
    double y = 0;
    bool operator==(const Node&) const = default;
};

using NodeList = std::vector<Node>;

// The first pair of neighbours whose abscissae do not rise strictly, as a
// sentence ("x(3) = 0.5 is not above x(2) = 0.5"); nothing when they rise.
std::optional<std::string> orderProblem(const NodeList& nodes);

class LabNodes {
public:
    // Undo keeps this many finished drags; older ones are forgotten.
    static constexpr std::size_t kUndoDepth = 200;

    // New nodes from the function (or the data): edits and history go.
    void reset(NodeList fromFunction);
    const NodeList& nodes() const { return nodes_; }
    bool edited() const { return nodes_ != original_; }

    // A drag in progress moves one node; the values follow at once, and the
    // whole drag becomes one step of Undo when it finishes.
    void beginDrag();
    // Moves node i to y and, with moveX, towards x: strictly between its
    // neighbours and, at either end, within the span the nodes were given
    // on (widened to 0..1). False, changing nothing, for a node that is not
    // there or a coordinate that is not finite.
    bool moveNode(std::size_t i, double x, double y, bool moveX);
    void finishDrag();

    // Other nodes in their place, as one step of Undo; false when they are
    // the nodes shown.
    bool replace(NodeList nodes);

    // One finished drag or Reset back and forth; false when there is none.
    bool undo();
    bool redo();
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The function's values come back, as one step of Undo.
    bool restoreOriginal();

private:
    void record(NodeList before);
    // Undo and Redo: the nodes of the last step of `from` come back, the
    // nodes now shown go onto `to`.
    bool step(std::vector<NodeList>& from, std::vector<NodeList>& to);
    double lowestX(std::size_t i) const;
    double highestX(std::size_t i) const;

    NodeList original_;
    NodeList nodes_;
    std::optional<NodeList> dragStart_;
    std::vector<NodeList> undo_;  // the nodes before each step, oldest first
    std::vector<NodeList> redo_;
};

}  // namespace tarvel
