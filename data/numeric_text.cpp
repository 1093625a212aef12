// Reading a number from the text of a text box the way the old Basic "Val"
// reads it: the leading number, 0 when there is none, never an error.
//
// The digits are gathered into a short normalised copy and converted by
// std::from_chars, which rounds correctly and does not look at the C locale
// (strtod and stream extraction would take a comma for the point in some
// locales). The copy keeps at most a few hundred significant digits, so a
// megabyte of digits or an exponent a thousand digits long costs one pass
// and cannot overflow a counter.
#include "data/numeric_text.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace tarvel {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Enough digits to round any decimal to the nearest double (767 can matter);
// the digits dropped beyond them only tell whether something nonzero follows.
constexpr std::size_t kKeptDecimalDigits = 800;

// Far beyond any exponent a double can use, far below overflow of int64 when
// added to the shift that the digits themselves bring (at most the text
// length).
constexpr std::int64_t kExponentCeiling = 1'000'000'000'000;

// A double is below 1.8e308 and at least about 4.9e-324 unless it is zero.
constexpr std::int64_t kMaxDecimalMagnitude = 310;
constexpr std::int64_t kMinDecimalMagnitude = -324;

// 2^1024 = 16^256 no longer fits a double.
constexpr std::size_t kMaxHexDigits = 256;
// 342 octal digits are up to 1026 bits; more is certainly too large.
constexpr std::size_t kMaxOctalDigits = 343;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

bool isHexDigit(char c)
{
    return isDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Walks the text and steps over the blanks that may stand anywhere in it.
class BlankSkippingCursor {
public:
    explicit BlankSkippingCursor(std::string_view text) : text_(text) {}

    // The next character that is not a blank; '\0' at the end of the text
    // (a NUL in the text ends the number just as the end does).
    char peek()
    {
        while (pos_ < text_.size() && isBlank(text_[pos_])) {
            ++pos_;
        }
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }

    // Consumes the next character when it is one of the two.
    bool accept(char either, char other)
    {
        const char c = peek();
        if (c != either && c != other) {
            return false;
        }
        ++pos_;
        return true;
    }

    bool accept(char expected) { return accept(expected, expected); }

    // Consumes and returns the next character when it satisfies the test.
    template <typename Test> char acceptIf(Test test)
    {
        const char c = peek();
        if (c == '\0' || !test(c)) {
            return '\0';
        }
        ++pos_;
        return c;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The significant digits of a non-negative integer, without leading zeros;
// more than `limit` of them only counts as "too many".
struct IntegerDigits {
    std::string digits;
    bool tooMany = false;
};

template <typename Test>
IntegerDigits readIntegerDigits(BlankSkippingCursor& cursor, Test isDigit, std::size_t limit)
{
    IntegerDigits result;
    while (const char c = cursor.acceptIf(isDigit)) {
        if (result.digits.empty() && c == '0') {
            continue;
        }
        if (result.digits.size() < limit) {
            result.digits.push_back(c);
        } else {
            result.tooMany = true;
        }
    }
    return result;
}

double hexDigitsToDouble(const std::string& hexDigits)
{
    if (hexDigits.empty()) {
        return 0.0;
    }
    double value = 0.0;
    const char* const first = hexDigits.data();
    const char* const last = first + hexDigits.size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::hex);
    if (ec == std::errc::result_out_of_range) {
        return kInfinity;
    }
    return (ec == std::errc() && end == last) ? value : 0.0;
}

std::string octalDigitsToHexDigits(const std::string& octalDigits)
{
    std::string bits;
    for (const char c : octalDigits) {
        const int digit = c - '0';
        for (int shift = 2; shift >= 0; --shift) {
            bits.push_back(((digit >> shift) & 1) != 0 ? '1' : '0');
        }
    }
    bits.insert(0, (4 - bits.size() % 4) % 4, '0');
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < bits.size(); i += 4) {
        int nibble = 0;
        for (std::size_t k = i; k < i + 4; ++k) {
            nibble = nibble * 2 + (bits[k] - '0');
        }
        hex.push_back(kHexDigits[nibble]);
    }
    return hex;
}

// After "&": "H" and hexadecimal digits, or "O" and octal digits. Anything
// else is no number.
double readBasedInteger(BlankSkippingCursor& cursor)
{
    if (cursor.accept('h', 'H')) {
        const IntegerDigits hex = readIntegerDigits(cursor, isHexDigit, kMaxHexDigits);
        return hex.tooMany ? kInfinity : hexDigitsToDouble(hex.digits);
    }
    if (cursor.accept('o', 'O')) {
        const IntegerDigits octal = readIntegerDigits(cursor, isOctalDigit, kMaxOctalDigits);
        return octal.tooMany ? kInfinity : hexDigitsToDouble(octalDigitsToHexDigits(octal.digits));
    }
    return 0.0;
}

// A decimal number as the integer `significand` times 10^`scale`. The
// significand has no leading zero; `inexact` says that nonzero digits beyond
// the kept ones were dropped.
struct DecimalNumber {
    bool negative = false;
    std::string significand;
    std::int64_t scale = 0;
    bool inexact = false;
    bool hasDigits = false;
};

void addMantissaDigit(DecimalNumber& number, char digit, bool afterPoint)
{
    number.hasDigits = true;
    if (number.significand.empty() && digit == '0') {
        number.scale -= afterPoint ? 1 : 0;
        return;
    }
    if (number.significand.size() < kKeptDecimalDigits) {
        number.significand.push_back(digit);
        number.scale -= afterPoint ? 1 : 0;
        return;
    }
    number.inexact = number.inexact || digit != '0';
    number.scale += afterPoint ? 0 : 1;
}

// An optional + or -; true for the minus.
bool readSign(BlankSkippingCursor& cursor)
{
    if (cursor.accept('-')) {
        return true;
    }
    cursor.accept('+');
    return false;
}

// The exponent after E: an optionally signed integer. Without digits (as in
// "1e" or "1e+") it counts as 0.
std::int64_t readExponent(BlankSkippingCursor& cursor)
{
    const bool negative = readSign(cursor);
    std::int64_t exponent = 0;
    while (const char c = cursor.acceptIf(isDecimalDigit)) {
        exponent = std::min(exponent * 10 + (c - '0'), kExponentCeiling);
    }
    return negative ? -exponent : exponent;
}

DecimalNumber readDecimal(BlankSkippingCursor& cursor)
{
    DecimalNumber number;
    number.negative = readSign(cursor);
    while (const char c = cursor.acceptIf(isDecimalDigit)) {
        addMantissaDigit(number, c, false);
    }
    if (cursor.accept('.')) {
        while (const char c = cursor.acceptIf(isDecimalDigit)) {
            addMantissaDigit(number, c, true);
        }
    }
    if (number.hasDigits && cursor.accept('e', 'E')) {
        number.scale += readExponent(cursor);
    }
    return number;
}

double decimalToDouble(DecimalNumber number)
{
    if (number.significand.empty()) {
        return 0.0;  // also for "-0": a zero carries no sign
    }
    if (number.inexact) {
        // A trailing 1 below every kept digit stands for the dropped ones.
        number.significand.push_back('1');
        number.scale -= 1;
    }
    const double sign = number.negative ? -1.0 : 1.0;
    // The value lies in [10^(magnitude-1), 10^magnitude).
    const std::int64_t magnitude =
        static_cast<std::int64_t>(number.significand.size()) + number.scale;
    if (magnitude > kMaxDecimalMagnitude) {
        return sign * kInfinity;
    }
    if (magnitude < kMinDecimalMagnitude) {
        return 0.0;
    }
    const std::string text = number.significand + 'e' + std::to_string(number.scale);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        return magnitude > 0 ? sign * kInfinity : 0.0;
    }
    // A zero result is +0 whatever the sign of the text.
    return (ec == std::errc() && value != 0.0) ? sign * value : 0.0;
}

}  // namespace

double numericValue(std::string_view text)
{
    BlankSkippingCursor cursor(text);
    if (cursor.accept('&')) {
        return readBasedInteger(cursor);
    }
    return decimalToDouble(readDecimal(cursor));
}

bool hasNumberShape(std::string_view text)
{
    const auto isSign = [](char c) { return c == '+' || c == '-'; };
    std::size_t i = 0;
    if (i < text.size() && isSign(text[i]))
        ++i;
    std::size_t mantissaDigits = 0;
    bool seenPeriod = false;
    for (; i < text.size(); ++i) {
        if (isDecimalDigit(text[i])) {
            ++mantissaDigits;
        } else if (text[i] == '.' && !seenPeriod) {
            seenPeriod = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i == text.size())
        return true;
    if (text[i] != 'e' && text[i] != 'E')
        return false;
    ++i;
    if (i < text.size() && isSign(text[i]))
        ++i;
    const std::size_t exponentStart = i;
    while (i < text.size() && isDecimalDigit(text[i]))
        ++i;
    return i > exponentStart && i == text.size();
}

bool isNumberAlone(std::string_view text)
{
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && isBlank(text[first]))
        ++first;
    while (end > first && isBlank(text[end - 1]))
        --end;
    const std::string_view body = text.substr(first, end - first);
    if (body.size() >= 2 && body[0] == '&') {
        const char base = body[1];
        bool (*accepts)(char) = nullptr;
        if (base == 'H' || base == 'h')
            accepts = isHexDigit;
        if (base == 'O' || base == 'o')
            accepts = isOctalDigit;
        return accepts && body.size() > 2 && std::all_of(body.begin() + 2, body.end(), accepts);
    }
    return hasNumberShape(body);
}

}  // namespace tarvel
