// What the lab copies and saves, as text: the numbers table and the values
// on the 1,001 points of [0, 1].
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
    // The convergence view's observed order ("4.0000000000000009") or rate
    // ("rho=1.2198039027185568"); empty while none is fitted.
    std::string observedOrder;
};

// The numbers table's columns, as Copy numbers heads them.
inline constexpr std::array<std::string_view, 7> kNumbersColumns = {
    "method",    "largest error",     "at x",          "RMS error",
    "overshoot", "Lebesgue constant", "observed order"};

// The overshoot as the table shows it: below a few units of rounding of the
// node values' largest magnitude it is rounding, not a rise, and shows as 0.
double overshootShown(double overshoot, double largestNodeMagnitude);

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
// columns' values, 17 significant digits each; a value that does not exist
// (not finite, or beyond the column) is left empty.
std::string valuesCsv(std::span<const ValuesColumn> columns);

}  // namespace tarvel
