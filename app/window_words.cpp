#include "app/window_words.h"

#include <array>

#include "data/list_format.h"

namespace tarvel {
namespace {

constexpr const char* kSplineHeading = "Cubic spline coefficients";

constexpr std::array<MethodWords, kMethodCount> kMethodWords = {{
    {"Polynomial interpolation", "polynomial interpolation", "Polynomial interpolation", nullptr},
    {"The cubic spline", "the natural cubic spline", "Natural cubic spline", kSplineHeading},
    {"The PW cubic spline", "the PW cubic spline", "PW cubic spline", kSplineHeading},
}};

constexpr bool everyMethodHasItsWords()
{
    for (const MethodWords& words : kMethodWords)
        if (words.name == nullptr || words.statusName == nullptr || words.legendName == nullptr)
            return false;
    return true;
}
static_assert(everyMethodHasItsWords(), "each method needs its words in kMethodWords, in order");

std::string unsolvableText(Method method)
{
    if (method == Method::PwCubicSpline)
        return "The PW cubic spline finds no slope where two chords point in opposite directions; "
               "it needs abscissae in increasing or decreasing order.";
    return "The cubic spline cannot be solved for these given points (a zero pivot); "
           "it needs abscissae in increasing or decreasing order.";
}

std::string growthText(Method method, double nDeg, std::string_view separator)
{
    if (methodRow(method).takesDegree)
        return "The polynomial of degree " + formatPlain(nDeg, separator) +
               " through these abscissae grows too large between them: an interpolated value "
               "overflows the range of numbers, although the given values are not large. Choose "
               "a lower degree.";
    return std::string(methodWords(method).name) +
           " grows too large between these abscissae: a coefficient or an interpolated value "
           "overflows the range of numbers, although the given values are not large. Given "
           "points that lie very close together cause this; spread them further apart.";
}

}  // namespace

const MethodWords& methodWords(Method method)
{
    return kMethodWords[static_cast<std::size_t>(method)];
}

std::string inputRefusalText(const InputRefusal& refusal, std::string_view separator)
{
    const auto [i, j] = refusal.points;
    const auto [a, b] = refusal.numbers;
    const Method method = refusal.method.value_or(Method::Polynomial);
    const std::string name = methodWords(method).name;
    switch (refusal.kind) {
    case InputProblem::InterpolationCount:
        return "The number of interpolation points Ni must not be 1 (no spacing) and must not "
               "exceed " +
               formatIndex(kPointCapacity) + "; it is " + formatPlain(a, separator) + ".";
    case InputProblem::GivenCount:
        return "The number of given points must not exceed " + formatIndex(kPointCapacity) +
               "; it is " + formatPlain(a, separator) + ".";
    case InputProblem::Degree:
        return name + " takes a degree of at most " + formatIndex(kMaxInterpolationDegree) +
               "; it is " + formatPlain(a, separator) + ".";
    case InputProblem::PointCount:
        return name + " takes from " + formatIndex(methodRow(method).minPoints) + " to " +
               formatIndex(methodRow(method).maxPoints) + " given points; there are " +
               formatPlain(a, separator) + ".";
    case InputProblem::SharedAbscissa:
        return name + " needs distinct abscissae; given points " + formatIndex(i) + " and " +
               formatIndex(j) + " both have x = " + formatValue(a, separator) + ".";
    case InputProblem::TooClose:
        return name + " needs given points further apart; given points " + formatIndex(i) +
               " and " + formatIndex(j) +
               " are too close for the cube of their distance to be held.";
    case InputProblem::Unordered:
        return "The given points must be in increasing or decreasing order of x; given point " +
               formatIndex(j) + " (x = " + formatPlain(b, separator) +
               ") is out of order after given point " + formatIndex(i) +
               " (x = " + formatPlain(a, separator) + ").";
    case InputProblem::Unsolvable:
        return unsolvableText(method);
    case InputProblem::Growth:
        return growthText(method, a, separator);
    case InputProblem::LargeValues:
        break;
    case InputProblem::SampledCount:
        return "The number of given points must lie from " + formatIndex(kMinSampledPoints) +
               " to " + formatIndex(kPointCapacity) + " for a test function; it is " +
               formatPlain(a, separator) + ".";
    case InputProblem::TestDegree:
        return "The degree nPoly of the test polynomial must be at most " +
               formatIndex(kMaxTestDegree) + " and must not be -1; it is " +
               formatPlain(a, separator) + ".";
    case InputProblem::TestCoefficients:
        return "The coefficients of the test polynomial are too large: their sum overflows a "
               "number.";
    case InputProblem::ExistingPoints:
        return "Only " + formatPlain(a, separator) +
               " given points exist, so the number of given points can be at most " +
               formatPlain(a, separator) + "; it is " + formatPlain(b, separator) +
               ". For more, press OK with a test function or load a *.dsf file with more points.";
    case InputProblem::NoDataSet:
        return "No data set is loaded: pick a *.dsf file in the browser, then press OK.";
    case InputProblem::NoTestFunction:
        return "Choose an option";
    case InputProblem::NotReady:
        return "Set the test function first !";
    case InputProblem::DegreeNotBelowCount:
        return "nDeg must be lower then " + formatPlain(a, separator);
    }
    return "The given values are too large for this method: a coefficient or an interpolated "
           "value overflows the range of numbers. Scale the data down.";
}

EntryWords entryWords(Entry entry, std::size_t coefficient)
{
    switch (entry) {
    case Entry::GivenCount:
        return {"number of given points", "Number of given points"};
    case Entry::TestDegree:
        return {"degree nPoly", "nPoly"};
    case Entry::Coefficient:
        break;
    case Entry::InterpolationCount:
        return {"number of interpolation points", "Ni"};
    case Entry::Degree:
        return {"degree of the polynomial", "Degree of polynomial"};
    }
    const std::string name = "a" + std::to_string(coefficient);
    return {"coefficient " + name, name};
}

std::string refusedSentence(Command command)
{
    return std::string(command == Command::Ok ? "OK" : "Calculate") +
           " was refused; everything stays as it was.";
}

std::string loadedSentence(std::string_view name, const DataSet& set, const Refused& unordered,
                           std::string_view separator)
{
    std::string sentence = "Loaded " + std::string(name) + ": " + std::to_string(set.count) +
                           (set.count == 1 ? " point." : " points.");
    if (set.count > 0)
        sentence += " Press OK to list and draw them.";
    if (set.itemsAfterLastRecord)
        sentence += " Items after the last record were ignored.";
    // Loaded as they stand; said now rather than only when Calculate refuses.
    if (unordered)
        sentence += " Their x are in no order, so Calculate will refuse them: " +
                    inputRefusalText(*unordered, separator);
    return sentence;
}

std::string failedLoadSentence(std::string_view name, const DataSetFailure& failure)
{
    return std::string(name) + (failure.line > 0 ? ", " : ": ") + describeFailure(failure) + ".";
}

std::string cancelledLoadSentence(std::string_view name)
{
    return "Reading " + std::string(name) + " was cancelled; nothing changed.";
}

}  // namespace tarvel
