// What the lab copies and saves, as text: the numbers table and the values
// on the 1,001 points of [0, 1].
#pragma once

#include <array>
#include <complex>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interp/error_bound.h"
#include "lab/lab_settings.h"

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
    // The poles view's figures of AAA: how many support points it took and
    // its pole nearest the nodes.
    std::optional<double> supportPoints;
    std::optional<std::complex<double>> nearestPole;
    // The node polynomial's view: the largest |ω| of the row's nodes on the
    // bound's grid, and where it lies.
    std::optional<ScaledNumber> largestOmega;
    double largestOmegaX = 0;
};

// The numbers table's columns, as Copy numbers heads them. The first seven
// show in every view, the others in their own view only.
inline constexpr std::array<std::string_view, 10> kNumbersColumns = {
    "method",         "largest error",  "at x",         "RMS error",   "overshoot",
    "Lebesgue constant", "observed order", "support points", "nearest pole", "largest |ω|"};
inline constexpr std::size_t kSupportPointsColumn = 7;
inline constexpr std::size_t kNearestPoleColumn = 8;
inline constexpr std::size_t kLargestOmegaColumn = 9;

bool numbersColumnShown(std::size_t column, LabView view);

// A number too small or too large for a double, as compactNumber writes
// the others ("3.2e-435"), with at most 12 digits.
std::string scaledText(const ScaledNumber& number, int digits = 4);

// A pole as the numbers write it, one of a conjugate pair naming both
// ("0.5 ± 0.1i"), each part written by `number`.
std::string poleText(std::complex<double> pole, const std::function<std::string(double)>& number);

// The overshoot as the table shows it: below a few units of rounding of the
// node values' largest magnitude it is rounding, not a rise, and shows as 0.
double overshootShown(double overshoot, double largestNodeMagnitude);

// The header, then one tab-separated line per row: the id, then each figure
// with 17 significant digits (a period as decimal point), empty when absent;
// the columns the view shows.
std::string numbersText(std::span<const NumbersRow> rows, LabView view);

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
