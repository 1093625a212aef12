// What the OK and Calculate commands report beside the list and the
// drawing: the study record of the picture and the status-line sentence.
#include <algorithm>
#include <cmath>
#include <string>

#include "app/form_tarvel.h"
#include "app/status_text.h"
#include "app/window_words.h"
#include "data/number_text.h"
#include "interp/study_functions.h"
#include "plot/drawing.h"

namespace tarvel {
namespace {

std::string counted(int count, const std::string& singular, const std::string& plural)
{
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

}  // namespace

std::optional<double> Form_Tarvel::exactValue(double x) const
{
    switch (givenSource()) {
    case TestSource::Sine:
        return SinFunc(x);
    case TestSource::Cos10:
        return Cos10Fu(x);
    case TestSource::Polynomial:
        return Polynom(nPoly, x);
    case TestSource::DataSet:
    case TestSource::None:
        break;
    }
    return std::nullopt;
}

std::string Form_Tarvel::functionName() const
{
    return functionName(givenSource());
}

std::string Form_Tarvel::functionName(TestSource source)
{
    switch (source) {
    case TestSource::Sine:
        return std::string(kSineName);
    case TestSource::Cos10:
        return std::string(kCos10Name);
    case TestSource::Polynomial:
        return theTestPolynomial();
    case TestSource::DataSet:
    case TestSource::None:
        break;
    }
    return {};
}

std::string Form_Tarvel::methodName(const MethodRow& method, bool legend) const
{
    const MethodWords& words = methodWords(method.id);
    std::string name = legend ? words.legendName : words.statusName;
    if (method.takesDegree)
        name += " of degree " + formatThreeDigits(nDeg, decimalSeparator_);
    return name;
}

ui::Study Form_Tarvel::study(const MethodRow* calculated) const
{
    ui::Study drawn;
    // Sampled given points hold the function's own values (no count reaches
    // past the points sampled), so they need not be computed again.
    const bool sampled = isTestFunction(givenSource());
    drawn.given.reserve(static_cast<std::size_t>(loopBound(lastU) + 1));
    for (int i = 0; i <= loopBound(lastU); ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (drawable(xU[at], yU[at]))
            drawn.given.push_back(
                {i, xU[at], yU[at], sampled ? std::optional<double>(yU[at]) : std::nullopt});
    }
    if (calculated) {
        drawn.interpolated.reserve(static_cast<std::size_t>(loopBound(lastI) + 1));
        for (int i = 0; i <= loopBound(lastI); ++i) {
            const auto at = static_cast<std::size_t>(i);
            if (settled_[at] != Settlement::None && drawable(xI[at], yI[at]))
                drawn.interpolated.push_back({i, xI[at], yI[at], exactValue(xI[at])});
        }
        drawn.methodName = methodName(*calculated, false);
        drawn.methodLegend = methodName(*calculated, true);
    }
    drawn.functionName = functionName();
    // With no test function chosen the red curve is the line y = 0.
    drawn.curveName = isTestFunction(selectedSource()) ? functionName(selectedSource())
                                                       : "y = 0 (no test function chosen)";
    if (givenSource() == TestSource::DataSet)
        drawn.dataSetName = dataSetName_;
    drawn.source = sourceKey();
    return drawn;
}

std::string Form_Tarvel::sourceKey() const
{
    switch (givenSource()) {
    case TestSource::DataSet:
        return std::string("data set ").append(dataSetName_);
    case TestSource::Polynomial: {
        // The same polynomial only with the same degree and coefficients.
        // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on " " + s.
        std::string key = functionName();
        key.append(" of degree ").append(fullNumber(nPoly)).append(":");
        for (const double a : aPoly)
            key.append(" ").append(fullNumber(a));
        return key;
    }
    case TestSource::Sine:
    case TestSource::Cos10:
    case TestSource::None:
        break;
    }
    return functionName();
}

std::string Form_Tarvel::okSentence(TestSource chosen) const
{
    const int count = loopBound(lastU) + 1;
    std::string of;
    if (givenSource() == TestSource::DataSet)
        of = dataSetName_;
    else if (givenSource() != TestSource::None)
        of = functionName();
    std::string sentence;
    if (count == 0)
        sentence = "No given points" + (of.empty() ? std::string() : " in " + of) +
                   ": the list shows its header and the picture its axes.";
    else
        sentence = counted(count, "given point", "given points") +
                   (of.empty() ? std::string() : " of " + of) + " listed and drawn.";
    if (chosen == TestSource::None)
        sentence += " No test function is chosen, so the given points were listed as they stand.";
    return sentence;
}

std::string Form_Tarvel::calculateSentence(const ui::Study& drawn, const MethodRow& method) const
{
    const int points = loopBound(lastI) + 1;
    int evaluated = 0;
    int copied = 0;
    for (int i = 0; i < points; ++i) {
        const Settlement how = settled_[static_cast<std::size_t>(i)];
        evaluated += how == Settlement::Evaluated;
        copied += how == Settlement::Copied;
    }
    const int notComputed = points - evaluated - copied;
    const int lastGiven = loopBound(lastU);

    std::string sentence;
    if (points == 0) {
        sentence =
            "Ni = " + formatThreeDigits(nI, decimalSeparator_) + " gives no interpolation points.";
    } else {
        sentence = counted(points, "interpolation point", "interpolation points") + " by " +
                   methodName(method, false) + ": " + std::to_string(evaluated) + " evaluated, " +
                   std::to_string(copied) + " copied";
        if (const std::optional<ErrorFigure> error = errorFigure(drawn.interpolated))
            sentence += "; largest error " + formatThreeDigits(error->largest, decimalSeparator_) +
                        " at x = " + formatThreeDigits(error->at, decimalSeparator_) + "; RMS " +
                        formatThreeDigits(error->rms, decimalSeparator_);
        sentence += ".";
    }

    if (notComputed > 0) {
        if (lastGiven < 0) {
            sentence += " There are no given points, so no interpolation point was computed.";
        } else if (isDecreasing(lastU, xU)) {
            sentence += " The given points are in decreasing order of x: only interpolation "
                        "points that coincide with a given point are settled; " +
                        std::to_string(notComputed) + " were not computed.";
        } else {
            const double first = xU[0];
            const double last = xU[static_cast<std::size_t>(lastGiven)];
            sentence += ' ';
            sentence += std::to_string(notComputed) +
                        " of them lie outside the given points (x from " +
                        formatThreeDigits(std::min(first, last), decimalSeparator_) + " to " +
                        formatThreeDigits(std::max(first, last), decimalSeparator_) +
                        ") and were not computed.";
        }
    }
    int outside = 0;
    for (int i = 0; i <= lastGiven; ++i) {
        const double x = xU[static_cast<std::size_t>(i)];
        outside += x < 0 || x > 1;
    }
    if (outside > 0)
        sentence += ' ' + counted(outside, "given point lies", "given points lie") +
                    " outside 0..1; the picture and the interpolation points cover 0..1 only.";
    if (method.takesDegree && nDeg < 0)
        sentence += " A negative degree gives 0 at every point inside an interval.";
    return sentence;
}

void Form_Tarvel::showStatus(std::string sentence)
{
    for (const std::string& note : readingNotes_)
        sentence += " " + note;
    c_.statusLine.show(sentence);
}

void Form_Tarvel::refuse(Command command)
{
    c_.statusLine.show(refusedSentence(command));
}

}  // namespace tarvel
