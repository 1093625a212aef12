// The Calculate command: interpolation points, the chosen method, the
// evaluation of every point and the redraw.
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
    if (Problem problem = checkInterpolationCount(*count, decimalSeparator_)) {
        showMessage(*problem);
        return false;
    }
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
    const SolveStatus status = naturalCubicSplineCoefs(loopBound(lastU), xU, yU, table);
    if (status == SolveStatus::Solved)
        listCoefficients(table);
    return status;
}

bool Form_Tarvel::PwCbcCoefs(CoefTable& table)
{
    const bool done = pwCubicSplineCoefs(loopBound(lastU), xU, yU, table);
    if (done)
        listCoefficients(table);
    return done;
}

void Form_Tarvel::listCoefficients(const CoefTable& table)
{
    c_.List1.addLine(" ");
    c_.List1.addLine("Cubic spline coefficients");
    c_.List1.addLine(" ");
    for (int i = 0; i < loopBound(lastU); ++i) {
        std::string line = formatIndex(i) + "   ";
        for (double coef : table[static_cast<std::size_t>(i)])
            line += formatValue(coef, decimalSeparator_) + "   ";
        c_.List1.addLine(line);
    }
}

void Form_Tarvel::Command2_Click()
{
    CoefTable coefTable{};
    if (!dataReady) {
        showMessage("Set the test function first !");
        return;
    }
    if (!EntNokDag())
        return;
    const std::optional<double> count = readNumber(c_.Text_nU, "number of given points");
    if (!count)
        return;
    if (Problem problem = checkGivenCount(*count, decimalSeparator_)) {
        showMessage(*problem);
        return;
    }
    nU = *count;
    lastU = nU - 1;

    if (c_.Option_Tarvel.isSelected()) {
        const std::optional<double> degree = readNumber(c_.Text_nDeg, "degree of the polynomial");
        if (!degree)
            return;
        nDeg = *degree;
        if (nDeg >= nU) {
            showMessage("nDeg must be lower then " + formatPlain(nU, decimalSeparator_));
            return;
        }
        if (Problem problem = checkPolynomialWindows(nDeg, lastU, xU, decimalSeparator_)) {
            showMessage(*problem);
            return;
        }
    }
    if (c_.Option_InterCubc.isSelected()) {
        if (Problem problem = checkSplineInput(Method::CubicSpline, lastU, xU, decimalSeparator_)) {
            showMessage(*problem);
            return;
        }
        if (CubicCoefs(coefTable) != SolveStatus::Solved) {
            showMessage(zeroPivotMessage());
            return;
        }
    }
    if (c_.Option_InterPwCb.isSelected()) {
        if (Problem problem =
                checkSplineInput(Method::PwCubicSpline, lastU, xU, decimalSeparator_)) {
            showMessage(*problem);
            return;
        }
        if (!PwCbcCoefs(coefTable)) {
            showMessage(noSlopeMessage());
            return;
        }
    }

    evaluateInterpolationPoints(coefTable);

    PictureScale();
    c_.Picture1.clear();
    drawAxes();
    testFciz();
    UcNokCiz();
    Enterp_Nok_Ciz();
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
    });
}

}  // namespace tarvel
