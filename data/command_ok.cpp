// The OK command: sample the selected test function (or take the loaded
// data set), list the given points and draw them.
#include <array>
#include <cmath>
#include <span>
#include <string_view>
#include <vector>

#include "app/form_tarvel.h"
#include "data/list_format.h"
#include "data/numeric_text.h"
#include "interp/method_checks.h"

namespace tarvel {

const ui::TextBox& Form_Tarvel::polyCoefBox(std::size_t k) const
{
    const ui::TextBox* boxes[kPolyCapacity] = {&c_.Text_a0, &c_.Text_a1, &c_.Text_a2, &c_.Text_a3,
                                               &c_.Text_a4};
    return *boxes[k];
}

Refused Form_Tarvel::checkGivenPointsRequest(double count) const
{
    const bool sampling = isTestFunction(selectedSource());
    if (sampling && (count < kMinSampledPoints || count > kPointCapacity))
        return InputRefusal{InputProblem::SampledCount, std::nullopt, {}, {count, 0}};
    return checkGivenCount(count);
}

Refused Form_Tarvel::checkTestPolynomial(double degree,
                                         const std::array<double, kPolyCapacity>& coefs) const
{
    if (degree > kMaxTestDegree || degree == -1)
        return InputRefusal{InputProblem::TestDegree, std::nullopt, {}, {degree, 0}};
    // With 0 <= x <= 1 no partial sum exceeds the sum of the magnitudes.
    double bound = 0;
    for (int k = 0; k <= degree && k < kPolyCapacity; ++k)
        bound += std::abs(coefs[static_cast<std::size_t>(k)]);
    if (!std::isfinite(bound))
        return InputRefusal{InputProblem::TestCoefficients, std::nullopt, {}, {}};
    return std::nullopt;
}

Refused Form_Tarvel::checkExistingPoints(double count) const
{
    // Fractional counts reach as far as the loops over them do.
    const double reached = loopBound(count - 1) + 1.0;
    if (reached <= existingPoints_)
        return std::nullopt;
    return InputRefusal{InputProblem::ExistingPoints, std::nullopt, {}, {existingPoints_, count}};
}

// Everything is checked before anything changes, so a refused OK leaves the
// given points, the list and the picture as they were.
bool Form_Tarvel::okPasses()
{
    const std::optional<double> count = readNumber(c_.Text_nU, Entry::GivenCount);
    if (!count || !passes(checkGivenPointsRequest(*count)))
        return false;
    switch (selectedSource()) {
    case TestSource::DataSet:
        if (givenSource_ != TestSource::DataSet)
            return passes(InputRefusal{InputProblem::NoDataSet, std::nullopt, {}, {}});
        return passes(checkExistingPoints(*count));
    case TestSource::None:
        return passes(checkExistingPoints(*count));
    case TestSource::Polynomial: {
        const std::optional<double> degree = readNumber(c_.Text_nPoly, Entry::TestDegree);
        if (!degree)
            return false;
        std::array<double, kPolyCapacity> coefs{};
        for (std::size_t k = 0; k < coefs.size(); ++k) {
            const std::optional<double> coef = readNumber(polyCoefBox(k), Entry::Coefficient, k);
            if (!coef)
                return false;
            coefs[k] = *coef;
        }
        return passes(checkTestPolynomial(*degree, coefs));
    }
    case TestSource::Sine:
    case TestSource::Cos10:
        return true;
    }
    return true;
}

void Form_Tarvel::Command1_Click()
{
    if (refuseWhileReading())
        return;
    readingNotes_.clear();
    if (!okPasses()) {
        refuse(Command::Ok);
        return;
    }
    const TestSource chosen = selectedSource();
    dataReady = false;
    nU = numericValue(c_.Text_nU.text());
    lastU = nU - 1;
    settled_.fill(Settlement::None);  // OK draws no interpolated point
    TestFunction();
    if (isTestFunction(chosen)) {
        existingPoints_ = loopBound(lastU) + 1.0;
        givenSource_ = chosen;
    }
    listGivenPoints();
    c_.Picture1.clear();
    drawAxes();
    testFciz();
    UcNokCiz();
    dataReady = true;
    c_.Picture1.setStudy(study(nullptr));
    showStatus(okSentence(chosen));
}

// A title between blank lines, then a row per `columns` values, and the
// newest line brought into view.
void Form_Tarvel::listSection(std::string_view title, std::span<const double> values,
                              std::size_t columns, std::string_view ending)
{
    c_.List1.addLine(" ");
    c_.List1.addLine(title);
    c_.List1.addLine(" ");
    listRows(values, columns, decimalSeparator_, ending,
             [this](std::string_view line) { c_.List1.addLine(line); });
    c_.List1.showLastLine();
}

void Form_Tarvel::listGivenPoints()
{
    c_.List1.clear();
    const auto count = static_cast<std::size_t>(loopBound(lastU) + 1);
    std::array<double, 2 * kPointCapacity> points;
    for (std::size_t i = 0; i < count; ++i) {
        points[2 * i] = xU[i];
        points[2 * i + 1] = yU[i];
    }
    listSection(kGivenPointsHeading, std::span(points).first(2 * count), 2, "");
}

}  // namespace tarvel
