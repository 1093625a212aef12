// Comparison of doubles to the last bit, reported in hexadecimal floating
// point so that a failure shows which bits moved.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <span>
#include <string>

namespace tarvel::support {

inline std::string hexFloat(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

inline ::testing::AssertionResult sameBitsAs(double actual, double expected)
{
    if (std::memcmp(&actual, &expected, sizeof actual) == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << hexFloat(actual) << " instead of " << hexFloat(expected);
}

// Every entry of actual bit for bit as expected; what names the values.
inline void expectBits(const std::string& what, std::span<const double> actual,
                       std::span<const double> expected)
{
    ASSERT_GE(actual.size(), expected.size()) << what;
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_TRUE(sameBitsAs(actual[k], expected[k])) << what << ", entry " << k;
}

}  // namespace tarvel::support
