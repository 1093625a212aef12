// Reading a number from arbitrary text: never a crash, never NaN, 0 when
// the text holds no digit, and the same value whatever blanks, a trailing
// non-number character or a leading minus sign do to the text. Plain decimal
// texts must read exactly as the C library's correctly rounded conversion
// reads them, and the list pattern must write back a value that reads as
// nearly the same number.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "data/list_format.h"
#include "data/numeric_text.h"

namespace tarvel {
namespace {

[[noreturn]] void violated(const char* property, std::string_view text, double got, double expected)
{
    std::fprintf(stderr, "PROPERTY VIOLATED: %s\n  text (%zu bytes): \"", property, text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && byte != '\\' && byte != '"')
            std::fputc(byte, stderr);
        else
            std::fprintf(stderr, "\\x%02x", byte);
    }
    std::fprintf(stderr, "\"\n  got %.17g, expected %.17g\n", got, expected);
    __builtin_trap();
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexLetter(char c)
{
    return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string withoutBlanks(std::string_view text)
{
    std::string kept;
    for (const char c : text)
        if (!isBlank(c))
            kept.push_back(c);
    return kept;
}

char firstNonBlank(std::string_view text)
{
    for (const char c : text)
        if (!isBlank(c))
            return c;
    return '\0';
}

// A hexadecimal text may have no decimal digit and still a value ("&HFF").
bool mayHoldDigits(std::string_view text)
{
    for (const char c : text)
        if (isDecimalDigit(c) || isHexLetter(c))
            return true;
    return false;
}

// sign? digits [. digits] [(e|E) sign? digits], at least one mantissa digit,
// an exponent of at most six digits: a text that strtod reads completely
// and that the reader must read to the same double.
bool isPlainDecimal(std::string_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < s.size() && isDecimalDigit(s[i]); ++i)
        ++digits;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && isDecimalDigit(s[i]); ++i)
            ++digits;
    if (digits == 0)
        return false;
    if (i == s.size())
        return true;
    if (s[i] != 'e' && s[i] != 'E')
        return false;
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t exponentStart = i;
    for (; i < s.size() && isDecimalDigit(s[i]); ++i) {
    }
    return i == s.size() && i > exponentStart && i - exponentStart <= 6;
}

void checkAgainstStrtod(std::string_view text, double value)
{
    const std::string copy(text);
    double expected = std::strtod(copy.c_str(), nullptr);
    if (expected == 0)
        expected = 0;  // the reader gives +0 for every zero
    // Below the normal range the reader may give 0 instead of a subnormal.
    const bool subnormal = expected != 0 && std::fpclassify(expected) == FP_SUBNORMAL;
    if (sameBits(value, expected) || (subnormal && value == 0))
        return;
    violated("a plain decimal text reads as the correctly rounded double", text, value, expected);
}

// The list pattern rounds to four decimals after taking 15 significant
// digits, so reading it back lands within half a unit of the fourth decimal
// plus the rounding to 15 digits. Near the largest double those 15 digits
// (1.79769313486232e308) lie beyond the range and read back as infinity.
void checkListedValueReadsBack(double value)
{
    if (!std::isfinite(value))
        return;
    const std::string listed = formatValue(value, ".");
    const double back = numericValue(listed);
    constexpr double kLargestListedBelowOverflow = 1.79769313486231e308;
    if (std::isinf(back) && std::signbit(back) == std::signbit(value) &&
        std::abs(value) > kLargestListedBelowOverflow)
        return;
    const double tolerance = 0.00005 + std::abs(value) * 1e-14;
    if (!(std::abs(back - value) <= tolerance))
        violated("the listed value reads back as nearly the same number", listed, back, value);
}

void checkText(std::string_view text)
{
    const double value = numericValue(text);
    if (std::isnan(value))
        violated("the value is never NaN", text, value, 0);

    bool anyDecimalDigit = false;
    for (const char c : text)
        anyDecimalDigit = anyDecimalDigit || isDecimalDigit(c);
    if (!anyDecimalDigit && (!mayHoldDigits(text) || firstNonBlank(text) != '&') && value != 0)
        violated("a text without any digit reads as 0", text, value, 0);

    const double compact = numericValue(withoutBlanks(text));
    if (!sameBits(compact, value))
        violated("blanks anywhere do not change the value", text, value, compact);

    const double followed = numericValue(std::string(text) + "#");
    if (!sameBits(followed, value))
        violated("a character that continues no number changes nothing", text, followed, value);

    const char first = firstNonBlank(text);
    if (first != '+' && first != '-' && first != '&') {
        const double negated = numericValue("-" + std::string(text));
        const double expected = value == 0 ? 0.0 : -value;
        if (!sameBits(negated, expected))
            violated("a leading minus negates the value (a zero stays +0)", text, negated,
                     expected);
    }

    if (isPlainDecimal(text))
        checkAgainstStrtod(text, value);
    checkListedValueReadsBack(value);
}

}  // namespace
}  // namespace tarvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tarvel::checkText(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
