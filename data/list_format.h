// The two number patterns of the list: "##0" for indices and "##0.###0" for
// values.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarvel {

// "nan", "-inf" or "inf" for a value that is not finite; none for the rest.
std::optional<std::string> nonFiniteText(double value);

// "##0": a whole number without leading zeros, at least one digit.
std::string formatIndex(double index);

// "##0.###0": the value a person would read (its 15 significant decimal
// digits) rounded to four decimals, halves away from zero; at least one digit
// before the separator and exactly four after it. A negative value that
// rounds to zero is written without a minus sign. Infinities and NaN are
// written "inf", "-inf" and "nan".
std::string formatValue(double value, std::string_view decimalSeparator);

// The lines of a listing, one per row of `columns` values: the row's index
// (0, 1, ...) as formatIndex writes it, then each value after three spaces
// as formatValue writes it, then `ending`. add receives each line in turn.
void listRows(std::span<const double> values, std::size_t columns,
              std::string_view decimalSeparator, std::string_view ending,
              const std::function<void(std::string_view)>& add);

// A number as a message quotes it: up to 15 significant digits with
// trailing zeros dropped, in ordinary decimal writing from 1e-12 up to below
// 1e21 (11, 1002, 10.5, 0.00000015), with an exponent beyond (1e+308,
// -2.5e-320), so no quote runs to hundreds of digits.
std::string formatPlain(double value, std::string_view decimalSeparator);

// `digits` significant digits (1 to 17) with trailing zeros dropped, in
// ordinary decimal writing where the first digit stands for a power of ten
// from minExponent to maxExponent, with an exponent beyond; formatPlain is
// the 15-digit form of messages.
std::string formatSignificant(double value, int digits, int minExponent, int maxExponent,
                              std::string_view decimalSeparator);

}  // namespace tarvel
