// The lab's choices, each with the id its control carries as item data: the
// function, the node family, the methods shown and the view.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "interp/interpolant.h"
#include "interp/nodes.h"
#include "interp/study_functions.h"
#include "lab/lab_counts.h"
#include "lab/noise.h"

namespace tarvel {

// The study functions, the user's typed one, and the main window's given
// points with no exact function behind them.
enum class LabFunction { Sine, Cos10, Polynomial, Runge, Abs, Expression, Data };
enum class LabView {
    Values,
    Error,
    LogError,
    Derivative,
    Second,
    Lebesgue,
    Convergence,
    Bound,
    Omega,
    Cardinal,
    Poles,
};

inline constexpr int kLabMethodCount = static_cast<int>(kStudyMethods.size());

template <typename Id> struct Named {
    Id id;
    std::string_view key;    // the id as item data and in files
    std::string_view label;  // what the control shows
};

inline constexpr std::array<Named<LabFunction>, 7> kLabFunctions{{
    {LabFunction::Sine, studyFunctionKey(StudyFunctionId::Sine), kSineName},
    {LabFunction::Cos10, studyFunctionKey(StudyFunctionId::Cos10), kCos10Name},
    {LabFunction::Polynomial, studyFunctionKey(StudyFunctionId::Polynomial), kTestPolynomialName},
    {LabFunction::Runge, studyFunctionKey(StudyFunctionId::Runge), kRungeName},
    {LabFunction::Abs, studyFunctionKey(StudyFunctionId::Abs), kAbsName},
    {LabFunction::Expression, studyFunctionKey(StudyFunctionId::Expression), "Your function"},
    {LabFunction::Data, "data", "Data (no function)"},
}};

inline constexpr std::array<Named<NodeFamily>, 3> kNodeFamilies{{
    {NodeFamily::Equispaced, nodeFamilyKey(NodeFamily::Equispaced), "Evenly spaced"},
    {NodeFamily::Lobatto, nodeFamilyKey(NodeFamily::Lobatto), "Chebyshev points"},
    {NodeFamily::Gauss, nodeFamilyKey(NodeFamily::Gauss), "Chebyshev roots"},
}};
// The nodes' choice beside the families: the user's own abscissae.
inline constexpr std::string_view kOwnNodesKey = "custom";
inline constexpr std::string_view kOwnNodesLabel = "Your own nodes";

inline constexpr std::array<Named<LabView>, 11> kLabViews{{
    {LabView::Values, "values", "Values p and f"},
    {LabView::Error, "error", "Error p − f"},
    {LabView::LogError, "logerror", "log₁₀ |p − f|"},
    {LabView::Derivative, "derivative", "p′ against f′"},
    {LabView::Second, "second", "p″ against f″"},
    {LabView::Lebesgue, "lebesgue", "Lebesgue function"},
    {LabView::Convergence, "convergence", "Convergence"},
    {LabView::Bound, "bound", "Error bound"},
    {LabView::Omega, "omega", "Node polynomial ω(x)"},
    {LabView::Cardinal, "cardinal", "Influence of a node"},
    {LabView::Poles, "poles", "Poles and zeros"},
}};

inline constexpr std::array<Named<GlobalForm>, 4> kGlobalForms{{
    {GlobalForm::Barycentric, "barycentric", "Barycentric form"},
    {GlobalForm::First, "first", "First form"},
    {GlobalForm::Newton, "newton", "Newton form"},
    {GlobalForm::Monomial, "monomial", "Monomial form"},
}};

template <typename Id, std::size_t N>
constexpr const Named<Id>& named(const std::array<Named<Id>, N>& table, Id id)
{
    for (const Named<Id>& entry : table)
        if (entry.id == id)
            return entry;
    return table.front();
}

template <typename Id, std::size_t N>
constexpr std::optional<Id> byKey(const std::array<Named<Id>, N>& table, std::string_view key)
{
    for (const Named<Id>& entry : table)
        if (entry.key == key)
            return entry.id;
    return std::nullopt;
}

// The study function behind a lab function; nothing for data.
std::optional<StudyFunctionId> studyFunctionOf(LabFunction function);

// Views that compare with the exact function, unavailable for data.
inline bool viewNeedsFunction(LabView view)
{
    return view != LabView::Values && view != LabView::Lebesgue && view != LabView::Omega &&
           view != LabView::Cardinal && view != LabView::Poles;
}

// The methods' parameters as the lab opens: its local degree is 1.
inline MethodParameters labParameters()
{
    MethodParameters parameters;
    parameters.set(StudyMethod::Local, 1);
    return parameters;
}

// What the methods take besides the nodes xs: the parameters and, with a
// function, its slopes at the end nodes (for the clamped ends).
inline MethodSettings methodSettingsFor(const MethodParameters& parameters,
                                        const std::optional<StudyFunction>& function,
                                        std::span<const double> xs)
{
    MethodSettings settings;
    settings.parameters = parameters;
    if (function && !xs.empty()) {
        settings.leftSlope = evaluateFunction(*function, xs.front()).first;
        settings.rightSlope = evaluateFunction(*function, xs.back()).first;
    }
    return settings;
}

struct LabSettings {
    LabFunction function = LabFunction::Sine;
    NodeFamily family = NodeFamily::Equispaced;
    bool ownNodes = false;  // the user's own abscissae instead of the family's
    int count = 11;
    MethodParameters parameters = labParameters();
    std::array<bool, kLabMethodCount> shown{};
    LabView view = LabView::Values;
    double noise = 0;  // a level of kNoiseLevels: the noise's size over the values' range
    std::uint64_t noiseSeed = kFirstNoiseSeed;
    std::size_t pickedNode = 0;  // whose influence the cardinal view shows
    bool operator==(const LabSettings&) const = default;
};

}  // namespace tarvel
