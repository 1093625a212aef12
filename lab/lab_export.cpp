#include "lab/lab_export.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/number_text.h"

namespace tarvel {
namespace {

std::string figureCell(const std::optional<double>& figure)
{
    return figure ? fullNumber(*figure) : std::string();
}

std::array<std::string, kNumbersColumns.size()> numbersCells(const NumbersRow& row)
{
    return {row.method,
            figureCell(row.largestError),
            figureCell(row.atX),
            figureCell(row.rmsError),
            figureCell(row.overshoot),
            figureCell(row.lebesgueConstant),
            row.observedOrder,
            figureCell(row.supportPoints),
            row.nearestPole ? poleText(*row.nearestPole, fullNumber) : std::string(),
            row.largestOmega ? scaledText(*row.largestOmega, 17) : std::string()};
}

template <typename Cells> std::string lineOf(const Cells& cells, LabView view)
{
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c)
        if (numbersColumnShown(c, view)) {
            line += c == 0 ? "" : "\t";
            line += cells[c];
        }
    return line + '\n';
}

}  // namespace

bool numbersColumnShown(std::size_t column, LabView view)
{
    switch (column) {
    case kSupportPointsColumn:
    case kNearestPoleColumn:
        return view == LabView::Poles;
    case kLargestOmegaColumn:
        return view == LabView::Omega;
    default:
        return true;
    }
}

std::string scaledText(const ScaledNumber& number, int digits)
{
    const double decimals = number.log10Magnitude();
    if (std::abs(decimals) < 300)
        return compactNumber(std::abs(number.value()), ".", digits);
    // Read off its logarithm, the mantissa keeps about 12 digits.
    constexpr int kLogarithmDigits = 12;
    const double decade = std::floor(decimals);
    return compactNumber(std::pow(10.0, decimals - decade), ".",
                         std::min(digits, kLogarithmDigits)) + "e" +
           std::to_string(static_cast<long long>(decade));
}

std::string poleText(std::complex<double> pole, const std::function<std::string(double)>& number)
{
    if (pole.imag() == 0)
        return number(pole.real());
    return number(pole.real()) + " ± " + number(std::abs(pole.imag())) + "i";
}

double overshootShown(double overshoot, double largestNodeMagnitude)
{
    constexpr double kRoundingUnits = 4;
    const double rounding =
        kRoundingUnits * std::numeric_limits<double>::epsilon() * largestNodeMagnitude;
    return overshoot <= rounding ? 0 : overshoot;
}

std::string numbersText(std::span<const NumbersRow> rows, LabView view)
{
    std::string text = lineOf(kNumbersColumns, view);
    for (const NumbersRow& row : rows)
        text += lineOf(numbersCells(row), view);
    return text;
}

double valuesAbscissa(int k)
{
    return k / 1000.0;
}

std::string valuesCsv(std::span<const ValuesColumn> columns)
{
    std::string text = "x";
    for (const ValuesColumn& column : columns) {
        text += ',';
        text += column.name;
    }
    text += '\n';
    for (int k = 0; k < kValuesPoints; ++k) {
        text += fullNumber(valuesAbscissa(k));
        for (const ValuesColumn& column : columns) {
            text += ',';
            const auto at = static_cast<std::size_t>(k);
            if (at < column.values.size() && std::isfinite(column.values[at]))
                text += fullNumber(column.values[at]);
        }
        text += '\n';
    }
    return text;
}

}  // namespace tarvel
