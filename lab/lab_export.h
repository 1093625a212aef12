// What the lab copies and saves, as text: the numbers table, the values on
// the 1,001 points of [0, 1] and the nodes as a data set; and writing a file
// so that the target is either its former self or the whole new text.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lab/lab_nodes.h"

namespace tarvel {

// One row of the numbers table; a figure the method or the function cannot
// give (no exact function, no Lebesgue function) is empty.
struct NumbersRow {
    std::string method;  // the method's id
    std::optional<double> largestError;
    std::optional<double> atX;
    std::optional<double> rmsError;
    std::optional<double> overshoot;
    std::optional<double> lebesgueConstant;
};

inline constexpr std::string_view kNumbersHeader =
    "method\tlargest error\tat x\tRMS error\tovershoot\tLebesgue constant";

// The header, then one tab-separated line per row: the id, then each figure
// with 17 significant digits (a period as decimal point), empty when absent.
std::string numbersText(std::span<const NumbersRow> rows);

// One curve of the values file: its column name and its value at each of
// the 1,001 points x = k/1000.
struct ValuesColumn {
    std::string name;
    std::vector<double> values;
};
inline constexpr int kValuesPoints = 1001;
double valuesAbscissa(int k);

// CSV: a header "x,<name>,...", then one line per point x = k/1000 with the
// columns' values, 17 significant digits each.
std::string valuesCsv(std::span<const ValuesColumn> columns);

// A data set the main window loads: the count, then "i,x,y" a line with 17
// significant digits, so every value reads back bit for bit.
std::string nodesDataSet(const NodeList& nodes);

// Writes text to a temporary file beside target and renames it over target
// once all of it is written; on any failure removes the temporary file,
// leaves target as it was and says why.
std::optional<std::string> writeWholeFile(const std::filesystem::path& target,
                                          std::string_view text);

}  // namespace tarvel
