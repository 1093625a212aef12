#include "app/status_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tarvel {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t pos, bool (*accepts)(char))
{
    while (pos < text.size() && accepts(text[pos]))
        ++pos;
    return pos;
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// A quoted text is cut so that a pasted page does not fill the status line.
std::string quoted(std::string_view text)
{
    constexpr std::size_t kMaxQuoted = 24;
    if (text.size() <= kMaxQuoted)
        return "'" + std::string(text) + "'";
    std::size_t cut = kMaxQuoted;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;  // not inside a UTF-8 sequence
    return "'" + std::string(text.substr(0, cut)) + "…'";
}

}  // namespace

std::string formatThreeDigits(double value, std::string_view decimalSeparator)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    if (value == 0)
        return "0";
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 2);
    // "[-]d.dde(+|-)dd[d]"
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(result.ptr - buffer.data()));
    const bool negative = text.front() == '-';
    const std::size_t mark = text.find('e');
    std::string digits;
    for (const char c : text.substr(0, mark))
        if (isDigit(c))
            digits.push_back(c);
    int exponent = 0;
    std::string_view exponentText = text.substr(mark + 1);
    const bool negativeExponent = exponentText.front() == '-';
    exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    if (negativeExponent)
        exponent = -exponent;

    std::string whole;
    std::string fraction;
    std::string suffix;
    if (exponent < -2 || exponent > 3) {
        whole = digits.substr(0, 1);
        fraction = digits.substr(1);
        suffix = std::string("e") + (exponent < 0 ? "-" : "+") + std::to_string(std::abs(exponent));
    } else if (exponent < 0) {
        whole = "0";
        fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto wholeCount = static_cast<std::size_t>(exponent + 1);
        whole = digits.substr(0, std::min(wholeCount, digits.size()));
        if (wholeCount > digits.size())
            whole += std::string(wholeCount - digits.size(), '0');
        else
            fraction = digits.substr(wholeCount);
    }
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string out = negative ? "-" : "";
    out += whole;
    if (!fraction.empty()) {
        out += decimalSeparator;
        out += fraction;
    }
    return out + suffix;
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
        return accepts && body.size() > 2 && skipDigits(body, 2, accepts) == body.size();
    }
    std::size_t pos = 0;
    if (pos < body.size() && (body[pos] == '+' || body[pos] == '-'))
        ++pos;
    const std::size_t wholeEnd = skipDigits(body, pos, isDigit);
    std::size_t digitCount = wholeEnd - pos;
    pos = wholeEnd;
    if (pos < body.size() && body[pos] == '.') {
        const std::size_t fractionEnd = skipDigits(body, pos + 1, isDigit);
        digitCount += fractionEnd - (pos + 1);
        pos = fractionEnd;
    }
    if (digitCount == 0)
        return false;
    if (pos < body.size() && (body[pos] == 'e' || body[pos] == 'E')) {
        ++pos;
        if (pos < body.size() && (body[pos] == '+' || body[pos] == '-'))
            ++pos;
        const std::size_t exponentEnd = skipDigits(body, pos, isDigit);
        if (exponentEnd == pos)
            return false;
        pos = exponentEnd;
    }
    return pos == body.size();
}

std::string readingNote(std::string_view label, std::string_view text, double value,
                        std::string_view decimalSeparator)
{
    if (isNumberAlone(text))
        return {};
    std::string note = std::string(label) + ": " + quoted(text) + " was read as " +
                       formatThreeDigits(value, decimalSeparator);
    if (text.find(',') != std::string_view::npos)
        note += " — the decimal point is a period";
    return note + ".";
}

std::optional<ErrorFigure> errorFigure(const std::vector<ui::StudyPoint>& points)
{
    ErrorFigure figure;
    std::size_t count = 0;
    for (const ui::StudyPoint& point : points) {
        if (!point.exact)
            continue;
        const double error = std::abs(point.y - *point.exact);
        if (count == 0 || error > figure.largest) {
            figure.largest = error;
            figure.at = point.x;
        }
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    if (figure.largest == 0 || !std::isfinite(figure.largest)) {
        figure.rms = figure.largest;
        return figure;
    }
    // Scaled by the largest error, so that squares neither overflow nor
    // vanish.
    double sum = 0;
    for (const ui::StudyPoint& point : points) {
        if (!point.exact)
            continue;
        const double scaled = (point.y - *point.exact) / figure.largest;
        sum += scaled * scaled;
    }
    figure.rms = figure.largest * std::sqrt(sum / static_cast<double>(count));
    return figure;
}

}  // namespace tarvel
