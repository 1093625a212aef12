// The Calculate command: interpolation points, the chosen method, the
// evaluation of every point and the redraw.
#include <algorithm>
#include <cmath>

#include "app/form_tarvel.h"
#include "data/list_format.h"
#include "data/numeric_text.h"
#include "interp/cubic_spline.h"
#include "interp/evaluation.h"
#include "interp/lagrange.h"
#include "interp/method_checks.h"
#include "interp/pw_cubic_spline.h"

namespace tarvel {

bool Form_Tarvel::EntNokDag()
{
    const std::optional<double> count = readNumber(c_.Text_nI, "number of interpolation points");
    if (!count)
        return false;
    if (!passes(checkInterpolationCount(*count, decimalSeparator_)))
        return false;
    nI = *count;
    lastI = nI - 1;
    const double stepI = 1 / lastI;
    // A product, not a quotient: the last point need not be exactly 1.
    for (int i = 0; i <= loopBound(lastI); ++i)
        xI[static_cast<std::size_t>(i)] = i * stepI;
    return true;
}

void Form_Tarvel::Tarvel(int i, int j)
{
    const auto at = static_cast<std::size_t>(i);
    yI[at] = localPolynomialValue(nDeg, lastU, j, xI[at], xU, yU);
}

SolveStatus Form_Tarvel::CubicCoefs(CoefTable& table)
{
    return naturalCubicSplineCoefs(loopBound(lastU), xU, yU, table);
}

bool Form_Tarvel::PwCbcCoefs(CoefTable& table)
{
    return pwCubicSplineCoefs(loopBound(lastU), xU, yU, table);
}

void Form_Tarvel::listCoefficients(const CoefTable& table)
{
    c_.List1.addLine(" ");
    c_.List1.addLine("Cubic spline coefficients");
    c_.List1.addLine(" ");
    for (int i = 0; i < loopBound(lastU); ++i) {
        std::string line;
        line.reserve(128);  // the whole row at once: five numbers and their gaps
        appendIndex(line, i);
        line += "   ";
        for (double coef : table[static_cast<std::size_t>(i)]) {
            appendValue(line, coef, decimalSeparator_);
            line += "   ";
        }
        c_.List1.addLine(line);
    }
    c_.List1.showLastLine();
}

void Form_Tarvel::Command2_Click()
{
    CoefTable coefTable{};
    if (!dataReady) {
        showMessage("Set the test function first !");
        return;
    }
    if (!EntNokDag() || !readGivenCount() || !prepareMethod(coefTable))
        return;

    // The values are computed before anything is shown, so a calculation
    // that overflows is refused as a whole.
    const PointArray previous = yI;
    evaluateInterpolationPoints(coefTable);
    if (!resultsFinite(coefTable)) {
        yI = previous;
        showMessage(overflowMessage());
        return;
    }
    if (!c_.Option_Tarvel.isSelected())
        listCoefficients(coefTable);

    PictureScale();
    c_.Picture1.clear();
    drawAxes();
    testFciz();
    UcNokCiz();
    Enterp_Nok_Ciz();
}

bool Form_Tarvel::readGivenCount()
{
    const std::optional<double> count = readNumber(c_.Text_nU, "number of given points");
    if (!count)
        return false;
    if (!passes(checkGivenCount(*count, decimalSeparator_)))
        return false;
    nU = *count;
    lastU = nU - 1;
    return true;
}

bool Form_Tarvel::prepareMethod(CoefTable& table)
{
    if (c_.Option_Tarvel.isSelected()) {
        const std::optional<double> degree = readNumber(c_.Text_nDeg, "degree of the polynomial");
        if (!degree)
            return false;
        nDeg = *degree;
        if (nDeg >= nU)
            return passes("nDeg must be lower then " + formatPlain(nU, decimalSeparator_));
        if (!passes(checkPolynomialWindows(nDeg, lastU, xU, decimalSeparator_)))
            return false;
    }
    if (c_.Option_InterCubc.isSelected()) {
        if (!passes(checkSplineInput(Method::CubicSpline, lastU, xU, decimalSeparator_)))
            return false;
        if (CubicCoefs(table) != SolveStatus::Solved)
            return passes(zeroPivotMessage());
    }
    if (c_.Option_InterPwCb.isSelected()) {
        if (!passes(checkSplineInput(Method::PwCubicSpline, lastU, xU, decimalSeparator_)))
            return false;
        if (!PwCbcCoefs(table))
            return passes(noSlopeMessage());
    }
    return true;
}

bool Form_Tarvel::resultsFinite(const CoefTable& table) const
{
    const auto finite = [](double value) { return std::isfinite(value); };
    const int rows = std::min(loopBound(lastU), kCoefRows);
    for (int j = 0; j < rows; ++j)
        if (!std::all_of(table[static_cast<std::size_t>(j)].begin(),
                         table[static_cast<std::size_t>(j)].end(), finite))
            return false;
    return std::all_of(yI.begin(), yI.begin() + (loopBound(lastI) + 1), finite);
}

void Form_Tarvel::evaluateInterpolationPoints(const CoefTable& table)
{
    const bool polynomial = c_.Option_Tarvel.isSelected();
    evaluatePoints(loopBound(lastI), xI, yI, loopBound(lastU), xU, yU, [&](int i, int j) {
        if (polynomial) {
            Tarvel(i, j);
            return yI[static_cast<std::size_t>(i)];
        }
        if (j >= kCoefRows)
            return 0.0;  // beyond the table: no method wrote such a row
        const double t = xI[static_cast<std::size_t>(i)] - xU[static_cast<std::size_t>(j)];
        return evaluateRow(table[static_cast<std::size_t>(j)], t);
    }, settled_);
}

}  // namespace tarvel
