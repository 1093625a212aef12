#include "lab/second_panel.h"

namespace tarvel {

NodeFamily otherFamily(NodeFamily family)
{
    return family == NodeFamily::Equispaced ? NodeFamily::Lobatto : NodeFamily::Equispaced;
}

Refusal SecondPanel::follow(const LabModel& first, const PanelChoice& choice)
{
    LabStart start = first.start();
    Source source{start.settings, choice, start.expression.get(), start.ownXs,
                  start.polynomial.degree, start.polynomial.coefs, start.data};
    if (source_ == source)
        return refusal_;
    source_ = std::move(source);
    model_.reset();
    ++epoch_;
    // The panel always shows a family: the first panel's own nodes have
    // theirs beside them.
    start.settings.family = choice.family.value_or(otherFamily(start.settings.family));
    start.settings.ownNodes = false;
    LabModel panel(std::move(start), true);
    refusal_ = choice.function ? panel.setFunction(*choice.function) : std::nullopt;
    if (!refusal_ && choice.view)
        refusal_ = panel.setView(*choice.view);
    if (!refusal_)
        model_.emplace(std::move(panel));
    return refusal_;
}

void SecondPanel::clear()
{
    source_.reset();
    model_.reset();
    refusal_.reset();
    ++epoch_;
}

std::vector<MethodWork> SecondPanel::takeLongWork()
{
    return model_ ? model_->takeLongWork() : std::vector<MethodWork>{};
}

bool SecondPanel::takeResult(std::uint64_t epoch, MethodWorkResult result)
{
    return epoch == epoch_ && model_ && model_->takeResult(std::move(result));
}

}  // namespace tarvel
