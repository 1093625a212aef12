// The Calculate command: interpolation points, the chosen method, the
// evaluation of every point and the redraw.
#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/form_tarvel.h"
#include "app/window_words.h"
#include "data/numeric_text.h"
#include "interp/evaluation.h"
#include "interp/lagrange.h"
#include "interp/method_checks.h"

namespace tarvel {

// Runs after calculatePasses() has accepted the text of Text_nI.
void Form_Tarvel::EntNokDag()
{
    nI = numericValue(c_.Text_nI.text());
    lastI = nI - 1;
    const double stepI = 1 / lastI;
    // A product, not a quotient: the last point need not be exactly 1.
    for (int i = 0; i <= loopBound(lastI); ++i)
        xI[static_cast<std::size_t>(i)] = i * stepI;
}

void Form_Tarvel::Tarvel(int i, int j)
{
    const auto at = static_cast<std::size_t>(i);
    yI[at] = localPolynomialValue(nDeg, lastU, j, xI[at], xU, yU);
}

Method Form_Tarvel::chosenMethod() const
{
    if (c_.Option_InterCubc.isSelected())
        return Method::CubicSpline;
    if (c_.Option_InterPwCb.isSelected())
        return Method::PwCubicSpline;
    return Method::Polynomial;
}

void Form_Tarvel::listCoefficients(const CoefTable& table, const MethodRow& method)
{
    if (!method.listsCoefficients)
        return;
    const auto rows = static_cast<std::size_t>(std::clamp(loopBound(lastU), 0, kCoefRows));
    std::array<double, kCoefRows * kCoefColumns> coefficients;
    for (std::size_t i = 0; i < rows; ++i)
        std::copy(table[i].begin(), table[i].end(), coefficients.begin() + i * kCoefColumns);
    listSection(methodWords(method.id).listHeading,
                std::span(coefficients).first(rows * kCoefColumns), kCoefColumns, "   ");
}

void Form_Tarvel::Command2_Click()
{
    if (refuseWhileReading())
        return;
    CoefTable coefTable{};
    readingNotes_.clear();
    if (!dataReady) {
        passes(InputRefusal{InputProblem::NotReady, std::nullopt, {}, {}});
        refuse(Command::Calculate);
        return;
    }
    const MethodRow& method = methodRow(chosenMethod());
    const std::optional<CalculateInput> input = calculatePasses(method);
    if (!input) {
        refuse(Command::Calculate);
        return;
    }

    // The values are computed before anything is shown, so a calculation
    // that cannot be solved or overflows is refused as a whole.
    const CalculateState kept = calculateState();
    adopt(*input, method);
    Refused problem;
    if (!computeCoefficients(coefTable, method)) {
        problem = InputRefusal{InputProblem::Unsolvable, method.id, {}, {}};
    } else {
        evaluateInterpolationPoints(coefTable, method);
        if (!resultsFinite(coefTable))
            problem = overflowProblem(method);
    }
    if (problem) {
        restore(kept);
        passes(problem);
        refuse(Command::Calculate);
        return;
    }
    listCoefficients(coefTable, method);

    PictureScale();
    c_.Picture1.clear();
    drawAxes();
    testFciz();
    UcNokCiz();
    Enterp_Nok_Ciz();
    ui::Study drawn = study(&method);
    const std::string sentence = calculateSentence(drawn, method);
    c_.Picture1.setStudy(std::move(drawn));
    showStatus(sentence);
}

// Takes the checked counts and degree and builds the interpolation
// abscissae.
void Form_Tarvel::adopt(const CalculateInput& input, const MethodRow& method)
{
    EntNokDag();
    nU = input.nU;
    lastU = nU - 1;
    if (method.takesDegree)
        nDeg = input.nDeg;
}

// Every refusal that the inputs alone decide, in one place, before anything
// changes.
std::optional<Form_Tarvel::CalculateInput> Form_Tarvel::calculatePasses(const MethodRow& method)
{
    const std::optional<double> count = readNumber(c_.Text_nI, Entry::InterpolationCount);
    if (!count || !passes(checkInterpolationCount(*count)))
        return std::nullopt;
    CalculateInput input;
    const std::optional<double> given = readNumber(c_.Text_nU, Entry::GivenCount);
    if (!given || !passes(checkGivenCount(*given)) || !passes(checkExistingPoints(*given)))
        return std::nullopt;
    input.nU = *given;
    const double last = input.nU - 1;
    if (!passes(checkOrder(last, xU)))
        return std::nullopt;
    if (!method.takesDegree)
        return passes(checkSplineInput(method.id, last, xU)) ? std::optional<CalculateInput>(input)
                                                             : std::nullopt;
    const std::optional<double> degree = readNumber(c_.Text_nDeg, Entry::Degree);
    if (!degree)
        return std::nullopt;
    input.nDeg = *degree;
    if (input.nDeg >= input.nU) {
        // The one refusal after which the new interpolation points, the
        // count and the degree stay; the values and the picture do not
        // change.
        adopt(input, method);
        passes(InputRefusal{InputProblem::DegreeNotBelowCount, method.id, {}, {nU, 0}});
        return std::nullopt;
    }
    if (!passes(checkPolynomialWindows(input.nDeg, last, xU)))
        return std::nullopt;
    return input;
}

Form_Tarvel::CalculateState Form_Tarvel::calculateState() const
{
    return {nI, lastI, nU, lastU, nDeg, xI, yI, settled_};
}

void Form_Tarvel::restore(const CalculateState& state)
{
    nI = state.nI;
    lastI = state.lastI;
    nU = state.nU;
    lastU = state.lastU;
    nDeg = state.nDeg;
    xI = state.xI;
    yI = state.yI;
    settled_ = state.settled;
}

bool Form_Tarvel::computeCoefficients(CoefTable& table, const MethodRow& method)
{
    return !method.coefficients || method.coefficients(loopBound(lastU), xU, yU, table);
}

InputRefusal Form_Tarvel::overflowProblem(const MethodRow& method) const
{
    double largest = 0;
    for (int i = 0; i <= loopBound(lastU); ++i)
        largest = std::max(largest, std::abs(yU[static_cast<std::size_t>(i)]));
    return overflowRefusal(method.id, nDeg, largest);
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

void Form_Tarvel::evaluateInterpolationPoints(const CoefTable& table, const MethodRow& method)
{
    if (method.coefficients) {
        evaluateSplinePoints(loopBound(lastI), xI, yI, loopBound(lastU), xU, yU, table, settled_);
        return;
    }
    evaluatePoints(
        loopBound(lastI), xI, yI, loopBound(lastU), xU, yU,
        [this](int i, int j) {
            Tarvel(i, j);
            return yI[static_cast<std::size_t>(i)];
        },
        settled_);
}

}  // namespace tarvel
