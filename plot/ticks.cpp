#include "plot/ticks.h"

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

// The decimal exponent of a positive finite value after rounding to one
// digit, read from its exponent form so that log10's rounding cannot err.
int decimalExponent(double value, int digits = 1)
{
    return exponentOf(chars(std::abs(value), std::chars_format::scientific, digits - 1));
}

}  // namespace

double tickStep(double lo, double hi, int maxTicks)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo) || maxTicks < 1)
        return 0;
    // Halved, the extent of any two finite doubles is finite.
    const double halfSpan = hi / 2 - lo / 2;
    const double raw = halfSpan / maxTicks * 2;
    if (!(raw > 0) || !std::isfinite(raw))
        return 0;  // beyond the largest doubles no round step fits
    const int exponent = decimalExponent(raw);
    for (int power = exponent - 1; power <= exponent + 1; ++power) {
        const double base = std::pow(10.0, power);
        for (const double multiple : {1.0, 2.0, 5.0}) {
            const double step = multiple * base;
            if (std::isfinite(step) && step > 0 && halfSpan / step * 2 <= maxTicks)
                return step;
        }
    }
    return 0;
}

std::vector<double> ticksIn(double lo, double hi, int maxTicks)
{
    std::vector<double> ticks;
    const double step = tickStep(lo, hi, maxTicks);
    if (step == 0)
        return ticks;
    const double first = std::ceil(lo / step);
    const double last = std::floor(hi / step);
    if (!(last - first <= maxTicks + 1))
        return ticks;  // the range lies far from zero: no round multiples to show
    // Counted, not stepped: beyond 2^53 adding 1 to a multiple leaves it as
    // it is, and such a loop would never end.
    const auto count = static_cast<int>(last - first) + 1;
    for (int k = 0; k < count; ++k) {
        const double n = first + k;
        if (k > 0 && n == first)
            break;  // one multiple stands for all: the doubles are that far apart here
        const double value = n == 0 ? 0.0 : n * step;
        // The quotients and products round: a multiple may fall a rounding
        // outside, or on its neighbour, where the doubles are sparse.
        if (value >= lo && value <= hi && (ticks.empty() || value > ticks.back()))
            ticks.push_back(value);
    }
    return ticks;
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
