#include "data/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "data/list_format.h"

namespace tarvel {
namespace {

constexpr std::size_t kBufferSize = 64;

std::string chars(double value, std::chars_format format, int precision)
{
    std::array<char, kBufferSize> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    return std::string(buffer.data(), result.ptr);
}

std::string trimFraction(std::string text)
{
    if (text.find('.') == std::string::npos)
        return text;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}

// "1.2000e+05" -> "1.2e5", "1.0e-05" -> "1e-5": no trailing zeros of the
// mantissa, no plus sign and no leading zeros in the exponent.
std::string tidyExponentForm(const std::string& text)
{
    const auto e = text.find('e');
    const std::string mantissa = trimFraction(text.substr(0, e));
    std::string exponent = text.substr(e + 1);
    std::string sign;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
        if (exponent[0] == '-')
            sign = "-";
        exponent.erase(0, 1);
    }
    while (exponent.size() > 1 && exponent[0] == '0')
        exponent.erase(0, 1);
    return mantissa + "e" + sign + exponent;
}

std::string withSeparator(std::string text, std::string_view separator)
{
    const auto point = text.find('.');
    if (point != std::string::npos)
        text.replace(point, 1, separator);
    return text;
}

// The power of ten of a number in exponent form ("1.5e+07" -> 7).
int exponentOf(const std::string& exponentForm)
{
    return std::stoi(exponentForm.substr(exponentForm.find('e') + 1));
}

}  // namespace

int decimalExponent(double value, int digits)
{
    return exponentOf(chars(std::abs(value), std::chars_format::scientific, digits - 1));
}

std::string tickLabel(double value, double step, std::string_view decimalSeparator)
{
    if (!std::isfinite(value))
        return *nonFiniteText(value);
    if (value == 0)
        return "0";
    const int stepExponent = step > 0 ? decimalExponent(step) : decimalExponent(value);
    const int valueExponent = decimalExponent(value, 6);
    if (stepExponent >= -4 && valueExponent < 6) {
        const int decimals = stepExponent < 0 ? -stepExponent : 0;
        return withSeparator(trimFraction(chars(value, std::chars_format::fixed, decimals)),
                             decimalSeparator);
    }
    const int decimals = std::max(0, valueExponent - stepExponent);
    return withSeparator(tidyExponentForm(chars(value, std::chars_format::scientific, decimals)),
                         decimalSeparator);
}

std::string compactNumber(double value, std::string_view decimalSeparator, int digits)
{
    if (!std::isfinite(value))
        return *nonFiniteText(value);
    if (value == 0)
        return "0";
    const std::string exponentForm = chars(value, std::chars_format::scientific, digits - 1);
    const int exponent = exponentOf(exponentForm);
    if (exponent >= -3 && exponent < 5) {
        const int decimals = std::max(0, digits - 1 - exponent);
        return withSeparator(trimFraction(chars(value, std::chars_format::fixed, decimals)),
                             decimalSeparator);
    }
    return withSeparator(tidyExponentForm(exponentForm), decimalSeparator);
}

std::string fullNumber(double value)
{
    if (!std::isfinite(value))
        return *nonFiniteText(value);
    return chars(value, std::chars_format::general, std::numeric_limits<double>::max_digits10);
}

}  // namespace tarvel
