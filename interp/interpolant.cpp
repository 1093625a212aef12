#include "interp/interpolant.h"

namespace tarvel {
namespace {

struct MethodNames {
    const char* key;
    const char* name;
};

constexpr std::array<MethodNames, kStudyMethods.size()> kMethodNames = {{
    {"global", "Global polynomial"},
    {"local", "Local Lagrange polynomial"},
    {"linear", "Linear interpolation"},
    {"natural", "Natural cubic spline"},
    {"clamped", "Clamped cubic spline"},
    {"notaknot", "Not-a-knot cubic spline"},
    {"pw", "PW cubic spline"},
    {"pchip", "PCHIP"},
    {"akima", "Akima spline"},
}};

}  // namespace

const char* studyMethodKey(StudyMethod method)
{
    return kMethodNames[static_cast<std::size_t>(method)].key;
}

const char* studyMethodName(StudyMethod method)
{
    return kMethodNames[static_cast<std::size_t>(method)].name;
}

std::optional<StudyMethod> studyMethodFromKey(std::string_view key)
{
    for (const StudyMethod method : kStudyMethods)
        if (key == studyMethodKey(method))
            return method;
    return std::nullopt;
}

PointValues Interpolant::at(double) const
{
    return {};
}

double Interpolant::value(double x) const
{
    return at(x).value;
}

void Interpolant::evaluate(std::span<const double> x, std::span<double> value,
                           std::span<double> first, std::span<double> second) const
{
    for (std::size_t k = 0; k < x.size(); ++k) {
        const PointValues v = at(x[k]);
        value[k] = v.value;
        if (!first.empty())
            first[k] = v.first;
        if (!second.empty())
            second[k] = v.second;
    }
}

BuildResult buildInterpolant(StudyMethod, std::span<const double>, std::span<const double>,
                             const MethodSettings&)
{
    return {std::nullopt, "Not built yet."};
}

}  // namespace tarvel
