// The split view's second panel: by default the other of evenly spaced and
// Chebyshev points with the first panel's function and view, and each of
// the three may be chosen for it alone. The methods, the number of nodes
// and the methods' parameters are always the first panel's.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "lab/lab_model.h"

namespace tarvel {

struct PanelChoice {
    std::optional<NodeFamily> family;     // none: the other family of the first panel's
    std::optional<LabFunction> function;  // none: the first panel's
    std::optional<LabView> view;          // none: the first panel's
    bool operator==(const PanelChoice&) const = default;
};

// The other of evenly spaced and Chebyshev points (roots give way to evenly
// spaced).
NodeFamily otherFamily(NodeFamily family);

class SecondPanel {
public:
    // Brings the panel up to the first panel and the choice, computing it
    // again only when either changed. Nothing when it shows them; otherwise
    // why not, and the panel then holds no model.
    Refusal follow(const LabModel& first, const PanelChoice& choice);
    void clear();

    const std::optional<LabModel>& model() const { return model_; }
    const Refusal& refusal() const { return refusal_; }

    // The panel's model leaves the work that takes longer than a frame
    // pending, as the first panel's does. Each change makes a new model: a
    // result is taken only by the model, named by its epoch, whose work it is.
    bool workPending() const { return model_ && model_->workPending(); }
    std::uint64_t epoch() const { return epoch_; }
    std::vector<MethodWork> takeLongWork();
    bool takeResult(std::uint64_t epoch, MethodWorkResult result);

private:
    struct Source {
        LabSettings settings;
        PanelChoice choice;
        const Expression* expression = nullptr;
        std::vector<double> ownXs;
        double polynomialDegree = 0;
        std::array<double, kPolyCapacity> coefs{};
        NodeList data;
        bool operator==(const Source&) const = default;
    };
    std::optional<Source> source_;
    std::optional<LabModel> model_;
    Refusal refusal_;
    std::uint64_t epoch_ = 0;
};

}  // namespace tarvel
