// The number patterns of the list and of messages.
//
// A value is first written with 15 significant decimal digits, the number a
// person would read: 3 * (1/10) is 0.300000000000000 then, although the
// double lies a little above 0.3. All rounding after that is done on those
// decimal digits, so a value that reads as a half (0.03125, or 43 * (1/160),
// stored a hair below 0.26875) rounds away from zero as on paper. Writing
// goes through std::to_chars, which ignores the C locale; the separator is
// the one the caller passes.
#include "data/list_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string>

namespace tarvel {
namespace {

constexpr int kSignificantDigits = 15;
constexpr std::size_t kListDecimals = 4;

// A finite value in decimal writing, split at the decimal point. `whole`
// has at least one digit and no leading zero unless it is "0".
struct DecimalText {
    bool negative = false;
    std::string whole;
    std::string fraction;
};

std::optional<std::string> nonFiniteText(double value)
{
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    return std::nullopt;
}

// Splits 15 significant digits d0 d1 ... d14, meaning d0.d1...d14 times
// 10^exponent, at the decimal point.
DecimalText placeDecimalPoint(bool negative, const std::string& digits, int exponent)
{
    DecimalText text;
    text.negative = negative;
    const int wholeCount = exponent + 1;
    const int digitCount = static_cast<int>(digits.size());
    if (wholeCount <= 0) {
        text.whole.assign(1, '0');  // not = "0": GCC 12 warns falsely (-Wrestrict)
        text.fraction = std::string(static_cast<std::size_t>(-wholeCount), '0') + digits;
    } else if (wholeCount >= digitCount) {
        text.whole = digits + std::string(static_cast<std::size_t>(wholeCount - digitCount), '0');
    } else {
        text.whole = digits.substr(0, static_cast<std::size_t>(wholeCount));
        text.fraction = digits.substr(static_cast<std::size_t>(wholeCount));
    }
    return text;
}

// The 15 significant digits of a value and the power of ten of the first.
struct ScientificDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// Plain writing in messages from 1e-12 up to below 1e21; scientific beyond.
constexpr int kPlainMinExponent = -12;
constexpr int kPlainMaxExponent = 20;

// The value with 15 significant digits, as "%.14e" would write it.
ScientificDigits scientificDigits(double value)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    // The text is "[-]d.ddddddddddddddde(+|-)dd[d]".
    const std::string_view scientific(buffer.data(),
                                      static_cast<std::size_t>(result.ptr - buffer.data()));
    const bool negative = scientific.front() == '-';
    const std::size_t exponentMark = scientific.find('e');
    std::string digits;
    for (const char c : scientific.substr(0, exponentMark)) {
        if (c >= '0' && c <= '9') {
            digits.push_back(c);
        }
    }
    std::string_view exponentText = scientific.substr(exponentMark + 1);
    const bool negativeExponent = exponentText.front() == '-';
    exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    return {negative, digits, negativeExponent ? -exponent : exponent};
}

DecimalText readableDecimal(double value)
{
    const ScientificDigits scientific = scientificDigits(value);
    return placeDecimalPoint(scientific.negative, scientific.digits, scientific.exponent);
}

bool isAllZeros(const std::string& digits)
{
    return digits.find_first_not_of('0') == std::string::npos;
}

// Adds one unit of the last digit to a string of decimal digits.
void incrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Rounds to `decimals` places, a half away from zero, on the digits.
void roundToDecimals(DecimalText& text, std::size_t decimals)
{
    if (text.fraction.size() <= decimals) {
        text.fraction.resize(decimals, '0');
        return;
    }
    const bool roundsUp = text.fraction[decimals] >= '5';
    text.fraction.resize(decimals);
    if (!roundsUp) {
        return;
    }
    std::string digits = text.whole + text.fraction;
    incrementDigits(digits);
    text.whole = digits.substr(0, digits.size() - decimals);
    text.fraction = digits.substr(digits.size() - decimals);
}

void dropTrailingZeros(std::string& fraction)
{
    const std::size_t lastNonZero = fraction.find_last_not_of('0');
    fraction.resize(lastNonZero == std::string::npos ? 0 : lastNonZero + 1);
}

// A zero, however it came about, is written without a sign.
std::string joinDecimal(const DecimalText& text, std::string_view decimalSeparator)
{
    const bool isZero = isAllZeros(text.whole) && isAllZeros(text.fraction);
    std::string joined = (text.negative && !isZero) ? "-" : "";
    joined += text.whole;
    if (!text.fraction.empty()) {
        joined += decimalSeparator;
        joined += text.fraction;
    }
    return joined;
}

}  // namespace

std::string formatIndex(double index)
{
    if (const auto special = nonFiniteText(index)) {
        return *special;
    }
    DecimalText text = readableDecimal(index);
    roundToDecimals(text, 0);
    return joinDecimal(text, "");
}

std::string formatValue(double value, std::string_view decimalSeparator)
{
    if (const auto special = nonFiniteText(value)) {
        return *special;
    }
    DecimalText text = readableDecimal(value);
    roundToDecimals(text, kListDecimals);
    return joinDecimal(text, decimalSeparator);
}

std::string formatPlain(double value, std::string_view decimalSeparator)
{
    if (const auto special = nonFiniteText(value)) {
        return *special;
    }
    const ScientificDigits scientific = scientificDigits(value);
    if (scientific.exponent < kPlainMinExponent || scientific.exponent > kPlainMaxExponent) {
        // Beyond these a plain writing runs to dozens or hundreds of
        // digits: 1e+308, not a 1 with 308 zeros.
        DecimalText text = placeDecimalPoint(scientific.negative, scientific.digits, 0);
        dropTrailingZeros(text.fraction);
        const std::string sign = scientific.exponent < 0 ? "-" : "+";
        return joinDecimal(text, decimalSeparator) + "e" + sign +
               std::to_string(std::abs(scientific.exponent));
    }
    DecimalText text =
        placeDecimalPoint(scientific.negative, scientific.digits, scientific.exponent);
    dropTrailingZeros(text.fraction);
    return joinDecimal(text, decimalSeparator);
}

}  // namespace tarvel
