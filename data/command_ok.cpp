// The OK command: sample the selected test function (or take the loaded
// data set), list the given points and draw them.
#include <cmath>

#include "app/form_tarvel.h"
#include "data/list_format.h"
#include "data/numeric_text.h"
#include "interp/method_checks.h"

namespace tarvel {
namespace {

constexpr double kMaxTestDegree = kPolyCapacity - 1;
constexpr double kMinSampledPoints = 2;  // a test function needs a step 1 / lastU

}  // namespace

const ui::TextBox& Form_Tarvel::polyCoefBox(std::size_t k) const
{
    const ui::TextBox* boxes[kPolyCapacity] = {&c_.Text_a0, &c_.Text_a1, &c_.Text_a2, &c_.Text_a3,
                                               &c_.Text_a4};
    return *boxes[k];
}

std::optional<std::string> Form_Tarvel::checkGivenPointsRequest(double count) const
{
    const bool sampling =
        selectedSource() != TestSource::DataSet && selectedSource() != TestSource::None;
    if (sampling && (count < kMinSampledPoints || count > kPointCapacity))
        return "The number of given points must lie from " + formatIndex(kMinSampledPoints) +
               " to " + formatIndex(kPointCapacity) + " for a test function; it is " +
               formatPlain(count, decimalSeparator_) + ".";
    return checkGivenCount(count, decimalSeparator_);
}

std::optional<std::string>
Form_Tarvel::checkTestPolynomial(double degree,
                                 const std::array<double, kPolyCapacity>& coefs) const
{
    if (degree > kMaxTestDegree || degree == -1)
        return "The degree nPoly of the test polynomial must be at most " +
               formatIndex(kMaxTestDegree) + " and must not be -1; it is " +
               formatPlain(degree, decimalSeparator_) + ".";
    // With 0 <= x <= 1 no partial sum exceeds the sum of the magnitudes.
    double bound = 0;
    for (int k = 0; k <= degree && k < kPolyCapacity; ++k)
        bound += std::abs(coefs[static_cast<std::size_t>(k)]);
    if (!std::isfinite(bound))
        return std::string("The coefficients of the test polynomial are too large: "
                           "their sum overflows a number.");
    return std::nullopt;
}

void Form_Tarvel::Command1_Click()
{
    // Everything is checked before anything changes, so a refused OK leaves
    // the given points, the list and the picture as they were.
    const std::optional<double> count = readNumber(c_.Text_nU, "number of given points");
    if (!count)
        return;
    if (!passes(checkGivenPointsRequest(*count)))
        return;
    if (selectedSource() == TestSource::Polynomial) {
        const std::optional<double> degree = readNumber(c_.Text_nPoly, "degree nPoly");
        if (!degree)
            return;
        std::array<double, kPolyCapacity> coefs{};
        for (std::size_t k = 0; k < coefs.size(); ++k) {
            const std::optional<double> coef =
                readNumber(polyCoefBox(k), "coefficient a" + std::to_string(k));
            if (!coef)
                return;
            coefs[k] = *coef;
        }
        if (!passes(checkTestPolynomial(*degree, coefs)))
            return;
    }

    dataReady = false;
    nU = *count;
    lastU = nU - 1;
    TestFunction();
    listGivenPoints();
    c_.Picture1.clear();
    drawAxes();
    testFciz();
    UcNokCiz();
    dataReady = true;
}

void Form_Tarvel::listGivenPoints()
{
    c_.List1.clear();
    c_.List1.addLine(" ");
    c_.List1.addLine("Data points");
    c_.List1.addLine(" ");
    for (int i = 0; i <= loopBound(lastU); ++i) {
        const auto at = static_cast<std::size_t>(i);
        c_.List1.addLine(formatIndex(i) + "   " + formatValue(xU[at], decimalSeparator_) + "   " +
                         formatValue(yU[at], decimalSeparator_));
    }
    c_.List1.showLastLine();
}

}  // namespace tarvel
