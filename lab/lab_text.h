// The lab's sentences are put together from their pieces in one string.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tarvel {

inline std::string joined(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (const std::string_view part : parts)
        text += part;
    return text;
}

// A whole number in superscript digits, for f⁽¹¹⁾.
inline std::string superscript(int number)
{
    static constexpr std::string_view kDigits[] = {"⁰", "¹", "²", "³", "⁴",
                                                   "⁵", "⁶", "⁷", "⁸", "⁹"};
    std::string text;
    for (const char digit : std::to_string(number))
        text += digit == '-' ? std::string_view("⁻") : kDigits[digit - '0'];
    return text;
}

}  // namespace tarvel
