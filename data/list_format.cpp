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

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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

bool isAllZeros(const std::string& digits)
{
    return digits.find_first_not_of('0') == std::string::npos;
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


// The list patterns are written often (four values a row, a row per
// interval), so they build the text in place, without the intermediate
// strings above: from the bits of the value where that is safe (see
// roundFromBits), otherwise from the digit characters.

// A finite value with 15 significant digits, as "%.14e" writes it:
// d0.d1...d14 times 10^exponent.
struct Significand {
    bool negative = false;
    std::array<char, 20> digits;  // as read (up to 17), d0..d14 once rounded
    int exponent = 0;
};

// Reads "[-]d[.ddd]e(+|-)dd[d]" into s; returns the number of digits.
int readScientific(const char* p, const char* end, Significand& s)
{
    s.negative = *p == '-';
    p += s.negative ? 1 : 0;
    int count = 0;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            s.digits[static_cast<std::size_t>(count++)] = *p;
        }
    }
    ++p;
    const bool negativeExponent = *p == '-';
    int exponent = 0;
    for (++p; p < end; ++p) {
        exponent = exponent * 10 + (*p - '0');
    }
    s.exponent = negativeExponent ? -exponent : exponent;
    return count;
}

// The 15 digits are those of the shortest text that reads back as the
// value, rounded to 15 when it is longer: that text lies within half a unit
// of the value's last bit, far closer than the 15-digit steps, so no
// rounding boundary of 15 digits separates the two. The one exception is
// the shortest text being the boundary itself (16 digits ending in 5); then
// the digits come from the exact value.
Significand significandOf(double value)
{
    std::array<char, 32> buffer;
    const auto shortest = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                        std::chars_format::scientific);
    Significand s;
    int count = readScientific(buffer.data(), shortest.ptr, s);
    if (count == kSignificantDigits + 1 && s.digits[kSignificantDigits] == '5') {
        const auto exact = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::scientific, kSignificantDigits - 1);
        count = readScientific(buffer.data(), exact.ptr, s);
    }
    const bool roundsUp = count > kSignificantDigits && s.digits[kSignificantDigits] >= '5';
    for (int k = count; k < kSignificantDigits; ++k) {
        s.digits[static_cast<std::size_t>(k)] = '0';
    }
    if (roundsUp) {
        int k = kSignificantDigits - 1;
        for (; k >= 0 && s.digits[static_cast<std::size_t>(k)] == '9'; --k) {
            s.digits[static_cast<std::size_t>(k)] = '0';
        }
        if (k >= 0) {
            ++s.digits[static_cast<std::size_t>(k)];
        } else {
            s.digits[0] = '1';  // 9.99...9 became 10.00...0
            ++s.exponent;
        }
    }
    return s;
}

// The first `count` digits as an integer.
std::uint64_t leadingDigits(const Significand& s, int count)
{
    std::uint64_t number = 0;
    for (int k = 0; k < count; ++k) {
        number = number * 10 + static_cast<std::uint64_t>(s.digits[static_cast<std::size_t>(k)] - '0');
    }
    return number;
}

// Most values are rounded straight from their bits. magnitude * 10^decimals
// is split exactly into p + e (two doubles), so its whole part and its
// fraction are known to far better than the margin below. Reading 15 digits
// first moves the value by at most half a unit of its 15th digit, less than
// magnitude * 10^-14 / 2; unless that could carry the fraction across a
// half, rounding the value itself gives what rounding its 15 digits gives.
// Returns false where it could (then the digits decide), and for magnitudes
// from 2^39 on.
bool roundFromBits(double magnitude, std::size_t decimals, std::uint64_t& scaled)
{
    if (!(magnitude < 0x1p39)) {
        return false;
    }
    if (magnitude < 0x1p-60) {
        scaled = 0;  // far below half of the last decimal
        return true;
    }
    constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    const double scale = kScale[decimals];  // at most 14 bits
    // magnitude = high + low, high with 26 significant bits and low with at
    // most 27: both products with the scale are exact, and so is the error
    // of their sum.
    const double high = std::bit_cast<double>(std::bit_cast<std::uint64_t>(magnitude) &
                                              ~((std::uint64_t{1} << 27) - 1));
    const double low = magnitude - high;
    const double highScaled = high * scale;
    const double lowScaled = low * scale;
    const double p = highScaled + lowScaled;
    const double e = (highScaled - p) + lowScaled;
    const auto whole = static_cast<std::uint64_t>(p);  // p < 2^53: exact, rounded down
    const double part = (p - static_cast<double>(whole)) + e;
    const double margin = magnitude * scale * 1e-14 + 1e-15;
    if (std::fabs(part - 0.5) <= margin) {
        return false;
    }
    scaled = whole + (part > 0.5 ? 1 : 0);
    return true;
}

// The rare long texts: values of 1e11 and more (the 15 digits end before
// the decimals and zeros follow) or an unusually long separator.
std::string writeLong(bool minus, std::uint64_t scaled, int zeros, std::size_t decimals,
                      std::string_view decimalSeparator)
{
    std::string digits = std::to_string(scaled);
    digits.append(static_cast<std::size_t>(zeros), '0');
    if (digits.size() <= decimals) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    const std::size_t wholeCount = digits.size() - decimals;
    std::string text = minus ? "-" : "";
    text.append(digits, 0, wholeCount);
    if (decimals > 0) {
        text.append(decimalSeparator);
        text.append(digits, wholeCount, decimals);
    }
    return text;
}

// "##0" with `decimals` places after the separator, rounded halves away from
// zero on the 15 digits: the same text as roundToDecimals and joinDecimal
// give, built directly.
void appendRounded(std::string& out, double value, std::size_t decimals,
                   std::string_view decimalSeparator)
{
    if (!std::isfinite(value)) {
        out += *nonFiniteText(value);
        return;
    }
    bool negative = std::signbit(value);
    std::uint64_t scaled = 0;
    int zeros = 0;
    if (decimals > 4 || !roundFromBits(std::fabs(value), decimals, scaled)) {
        const Significand s = significandOf(value);
        negative = s.negative;
        // The digits that stay, counted from d0: those before the point and
        // `decimals` after it. scaled is the value times 10^decimals,
        // rounded on the first dropped digit; beyond 15 digits it continues
        // with `zeros` zeros.
        const int kept = s.exponent + 1 + static_cast<int>(decimals);
        if (kept >= kSignificantDigits) {
            scaled = leadingDigits(s, kSignificantDigits);
            zeros = kept - kSignificantDigits;
        } else if (kept >= 0) {
            scaled = leadingDigits(s, kept);
            if (s.digits[static_cast<std::size_t>(kept)] >= '5') {
                ++scaled;  // a half or more, away from zero
            }
        }
    }
    const bool minus = negative && scaled != 0;
    if (zeros > 0 || decimalSeparator.size() > 8) {
        out += writeLong(minus, scaled, zeros, decimals, decimalSeparator);
        return;
    }
    // Written backwards from the last decimal: the decimals, the separator,
    // the whole part (at least one digit), the sign.
    std::array<char, 48> buffer;
    char* const end = buffer.data() + buffer.size();
    char* w = end;
    for (std::size_t d = 0; d < decimals; ++d) {
        *--w = static_cast<char>('0' + scaled % 10);
        scaled /= 10;
    }
    if (decimals > 0) {
        w -= decimalSeparator.size();
        std::memcpy(w, decimalSeparator.data(), decimalSeparator.size());
    }
    do {
        *--w = static_cast<char>('0' + scaled % 10);
        scaled /= 10;
    } while (scaled != 0);
    if (minus) {
        *--w = '-';
    }
    out.append(w, static_cast<std::size_t>(end - w));
}

}  // namespace

std::string formatIndex(double index)
{
    std::string text;
    appendRounded(text, index, 0, "");
    return text;
}

std::string formatValue(double value, std::string_view decimalSeparator)
{
    std::string text;
    appendRounded(text, value, kListDecimals, decimalSeparator);
    return text;
}

void appendIndex(std::string& line, double index)
{
    appendRounded(line, index, 0, "");
}

void appendValue(std::string& line, double value, std::string_view decimalSeparator)
{
    appendRounded(line, value, kListDecimals, decimalSeparator);
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
