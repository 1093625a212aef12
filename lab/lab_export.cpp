#include "lab/lab_export.h"

#include <cmath>
#include <limits>

#include "data/number_text.h"

namespace tarvel {
namespace {

void appendFigure(std::string& line, const std::optional<double>& figure)
{
    line += '\t';
    if (figure)
        line += fullNumber(*figure);
}

}  // namespace

double overshootShown(double overshoot, double largestNodeMagnitude)
{
    constexpr double kRoundingUnits = 4;
    const double rounding =
        kRoundingUnits * std::numeric_limits<double>::epsilon() * largestNodeMagnitude;
    return overshoot <= rounding ? 0 : overshoot;
}

std::string numbersText(std::span<const NumbersRow> rows)
{
    std::string text;
    for (const std::string_view column : kNumbersColumns) {
        text += column;
        text += column == kNumbersColumns.back() ? '\n' : '\t';
    }
    for (const NumbersRow& row : rows) {
        text += row.method;
        appendFigure(text, row.largestError);
        appendFigure(text, row.atX);
        appendFigure(text, row.rmsError);
        appendFigure(text, row.overshoot);
        appendFigure(text, row.lebesgueConstant);
        text += '\t';
        text += row.observedOrder;
        text += '\n';
    }
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
