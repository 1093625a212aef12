// The main window's words: the names of its methods, the sentence for each
// input it refuses and what a data-set load says.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "data/dsf_reader.h"
#include "interp/method_checks.h"

namespace tarvel {

struct MethodWords {
    const char* name;         // begins its refusals: "The cubic spline"
    const char* statusName;   // in the status sentence: "the natural cubic spline"
    const char* legendName;   // in the picture's legend: "Natural cubic spline"
    const char* listHeading;  // above the listed coefficients, when it lists them
};

const MethodWords& methodWords(Method method);

// What is wrong and what is allowed, numbers written with the decimal
// separator: "The cubic spline needs distinct abscissae; given points 3 and
// 4 both have x = 0.5."
std::string inputRefusalText(const InputRefusal& refusal, std::string_view separator);

// The status sentence of a load that stored the points, with what to do
// next; unordered: why Calculate will refuse them.
std::string loadedSentence(std::string_view name, const DataSet& set, const Refused& unordered,
                           std::string_view separator);
std::string failedLoadSentence(std::string_view name, const DataSetFailure& failure);
std::string cancelledLoadSentence(std::string_view name);

// The text boxes whose numbers the commands read: what a refusal calls
// each, and the label of its note when its text was not a number alone.
enum class Entry { GivenCount, TestDegree, Coefficient, InterpolationCount, Degree };

struct EntryWords {
    std::string what;   // "number of given points"
    std::string label;  // "Number of given points"
};

// coefficient: k of the coefficient ak.
EntryWords entryWords(Entry entry, std::size_t coefficient = 0);

// The commands a refusal names in the status line.
enum class Command { Ok, Calculate };

// "Calculate was refused; everything stays as it was."
std::string refusedSentence(Command command);

inline constexpr const char* kGivenPointsHeading = "Data points";

inline constexpr const char* kLoadFailedCaption = "Hata oluştu";
inline constexpr const char* kNoFileSelected = "No file is selected.";
inline constexpr const char* kReadingBusy =
    "A data-set file is being read. Wait until it is loaded, or cancel the reading.";
// Said after a load that stored nothing, when there are points to keep.
inline constexpr const char* kKeptNote = " The former given points are kept.";

}  // namespace tarvel
