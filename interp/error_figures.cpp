#include "interp/error_figures.h"

namespace tarvel {

const std::vector<double>& errorGrid()
{
    static const std::vector<double> grid = [] {
        std::vector<double> x(kErrorGridPoints);
        for (int k = 0; k < kErrorGridPoints; ++k)
            x[static_cast<std::size_t>(k)] = k / 10000.0;
        return x;
    }();
    return grid;
}

ErrorFigures errorFigures(const Interpolant&, const StudyFunction&)
{
    return {};
}

ErrorFigures errorFiguresOf(std::span<const double>, std::span<const double>,
                            std::span<const double>, double, double)
{
    return {};
}

bool lebesgueFunction(const Interpolant&, std::span<const double>, std::span<double>)
{
    return false;
}

std::optional<LebesgueMaximum> lebesgueConstant(const Interpolant&)
{
    return std::nullopt;
}

}  // namespace tarvel
