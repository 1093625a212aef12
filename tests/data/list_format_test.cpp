#include "data/list_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace tarvel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FormatCase {
    const char* name;
    double value;
    std::string separator;
    std::string expected;
};

template <typename Format> void expectFormats(const std::vector<FormatCase>& cases, Format format)
{
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const FormatCase& row = cases[i];
        EXPECT_EQ(format(row.value, row.separator), row.expected)
            << "case " << i << " (" << row.name << "), value " << row.value;
    }
}

std::string zeros(std::size_t count)
{
    return std::string(count, '0');
}

TEST(FormatIndex, WholeNumbersWithoutLeadingZeros)
{
    expectFormats(
        {
            {"zero", 0.0, "", "0"},
            {"one digit", 7.0, "", "7"},
            {"two digits", 12.0, "", "12"},
            {"thousand", 1000.0, "", "1000"},
            {"negative", -1.0, "", "-1"},
            {"half rounds up", 2.5, "", "3"},
            {"negative half rounds down", -2.5, "", "-3"},
            {"below half", 0.4, "", "0"},
            {"negative rounding to zero has no sign", -0.4, "", "0"},
            {"minus zero", -0.0, "", "0"},
            {"large without exponent", 1e20, "", "1" + zeros(20)},
            {"infinity", kInf, "", "inf"},
            {"negative infinity", -kInf, "", "-inf"},
            {"not a number", kNaN, "", "nan"},
        },
        [](double value, const std::string&) { return formatIndex(value); });
}

TEST(FormatValue, FourDecimalsHalvesAwayFromZero)
{
    expectFormats(
        {
            {"tenth", 0.1, ".", "0.1000"},
            {"sine at a tenth", 0.587785, ".", "0.5878"},
            {"negative sine", -0.587785, ".", "-0.5878"},
            {"whole number", 12.0, ".", "12.0000"},
            {"zero", 0.0, ".", "0.0000"},
            {"exact half rounds up", 0.03125, ".", "0.0313"},
            {"negative exact half rounds down", -0.03125, ".", "-0.0313"},
            {"half stored a hair below", 43 * (1.0 / 160), ".", "0.2688"},
            {"half read from 15 digits", 0.00015, ".", "0.0002"},
            {"carry into the whole part", 0.99995, ".", "1.0000"},
            {"carry adds a digit", 9.99995, ".", "10.0000"},
            {"carry through nines", -999.99995, ".", "-1000.0000"},
            {"just below half", 0.000149999, ".", "0.0001"},
            {"negative rounding to zero has no sign", -0.00004, ".", "0.0000"},
            {"minus zero", -0.0, ".", "0.0000"},
            {"many digits", 123456.789, ".", "123456.7890"},
            {"huge has no exponent", 1e300, ".", "1" + zeros(300) + ".0000"},
            {"largest double", std::numeric_limits<double>::max(), ".",
             "179769313486232" + zeros(294) + ".0000"},
            {"tiny", 1e-300, ".", "0.0000"},
            {"least subnormal", std::numeric_limits<double>::denorm_min(), ".", "0.0000"},
            {"comma separator", 0.1, ",", "0,1000"},
            {"multi-byte separator", -2.5, "\xD9\xAB",
             "-2\xD9\xAB"
             "5000"},
            {"infinity", kInf, ".", "inf"},
            {"negative infinity", -kInf, ",", "-inf"},
            {"not a number", kNaN, ".", "nan"},
        },
        [](double value, const std::string& separator) { return formatValue(value, separator); });
}

// Edges of the digit arithmetic: halves at every place the 15 digits can
// put them, carries that add a digit, the largest values whose 15 digits
// still reach the decimals, and the ends of the exponent range.
TEST(FormatValue, EdgesOfTheFifteenDigits)
{
    expectFormats(
        {
            {"half at the fifth decimal, whole part", 12.34565, ".", "12.3457"},
            {"negative half, whole part", -12.34565, ".", "-12.3457"},
            {"half below the fifth decimal stays", 0.000049999999999999, ".", "0.0000"},
            {"half in the first dropped digit only", 0.00005, ".", "0.0001"},
            {"negative half to the first unit", -0.00005, ".", "-0.0001"},
            {"half whose next digits are zeros", 2.00005, ".", "2.0001"},
            {"fifteen nines carry", 0.999999999999999, ".", "1.0000"},
            {"carry through every digit", 99999.99995, ".", "100000.0000"},
            {"ten digits before the point", 1234567890.12345, ".", "1234567890.1235"},
            {"eleven digits: the 15 end at the fourth decimal", 12345678901.2345, ".",
             "12345678901.2345"},
            {"twelve digits: the 15 end at the third decimal", 123456789012.345, ".",
             "123456789012.3450"},
            {"just below 1e15", 999999999999999.0, ".", "999999999999999.0000"},
            {"1e15 exactly", 1e15, ".", "1000000000000000.0000"},
            {"1e15 plus one reads as 15 digits", 1e15 + 1, ".", "1000000000000000.0000"},
            {"2^53 + 2", 9007199254740994.0, ".", "9007199254740990.0000"},
            {"huge negative", -1.5e200, ".", "-15" + zeros(199) + ".0000"},
            {"negative zero after rounding", -0.00004999, ".", "0.0000"},
            {"negative zero", -0.0, ",", "0,0000"},
            {"smallest normal", 2.2250738585072014e-308, ".", "0.0000"},
            {"a value that prints 0.0001 only by the half", 0.000051, ".", "0.0001"},
            // Sixteen digits ending in 5 read back as the value: the 15
            // digits come from the value itself, which lies below that half,
            // or on it (to even).
            {"just below a half after 15 digits", 12345678901.234505, ".", "12345678901.2345"},
            {"exactly a half after 15 digits, to even", 12345678901.23465, ".", "12345678901.2346"},
            {"long separator before the decimals", 0.5, "<>", "0<>5000"},
        },
        [](double value, const std::string& separator) { return formatValue(value, separator); });
    expectFormats(
        {
            {"half of one", 0.5, "", "1"},
            {"fifteen nines carry", 0.999999999999999, "", "1"},
            {"largest double below a half reads as a half", 0.49999999999999994, "", "1"},
            {"sixteen digits below a half read as a half", 0.4999999999999999, "", "1"},
            {"fourteen nines stay below", 0.49999999999999, "", "0"},
            {"negative half", -0.5, "", "-1"},
            {"large index", 123456789012345.0, "", "123456789012345"},
            // An exact half in the sixteenth digit: the 15 digits of the
            // value itself round it to even, before any rounding of ours.
            {"exact half after 15 digits, even", 123456789012344.5, "", "123456789012344"},
            {"exact half after 15 digits, odd", 123456789012345.5, "", "123456789012346"},
            {"sixteen digits ending in 5, not a half", 1234567890123.455, "", "1234567890123"},
            {"beyond 15 digits", 1234567890123456789.0, "", "1234567890123460000"},
        },
        [](double value, const std::string&) { return formatIndex(value); });
}

// The list patterns done the long way: "%.14e", the digits placed around the
// point, rounded on paper.
std::string paperRounding(double value, std::size_t decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", value);
    const bool negative = text[0] == '-';
    std::string digits;
    const char* p = text + (negative ? 1 : 0);
    for (; *p != 'e'; ++p)
        if (*p != '.')
            digits.push_back(*p);
    const int exponent = std::atoi(p + 1);
    // digits * 10^(exponent - 14), written with at least decimals + 1 places
    // of fraction so that the rounding digit exists.
    std::string whole, fraction;
    const int wholeCount = exponent + 1;
    if (wholeCount <= 0) {
        whole = "0";
        fraction = std::string(static_cast<std::size_t>(-wholeCount), '0') + digits;
    } else if (wholeCount >= 15) {
        whole = digits + std::string(static_cast<std::size_t>(wholeCount - 15), '0');
    } else {
        whole = digits.substr(0, static_cast<std::size_t>(wholeCount));
        fraction = digits.substr(static_cast<std::size_t>(wholeCount));
    }
    fraction.resize(std::max(fraction.size(), decimals + 1), '0');
    const bool up = fraction[decimals] >= '5';
    std::string all = whole + fraction.substr(0, decimals);
    if (up) {
        std::size_t k = all.size();
        while (k > 0 && all[k - 1] == '9')
            all[--k] = '0';
        if (k == 0)
            all.insert(all.begin(), '1');
        else
            ++all[k - 1];
    }
    const std::string wholePart = all.substr(0, all.size() - decimals);
    const std::string decimalPart = all.substr(all.size() - decimals);
    const bool zero = all.find_first_not_of('0') == std::string::npos;
    return std::string(negative && !zero ? "-" : "") + wholePart +
           (decimals ? "." + decimalPart : "");
}

TEST(FormatValue, SameAsPaperRoundingOnRandomBitPatterns)
{
    std::mt19937_64 random(1618);
    for (int sample = 0; sample < 60000; ++sample) {
        std::uint64_t bits = random();
        // Mostly exponents that reach the decimals: |value| from 1e-6 to 1e17.
        if (sample % 4 != 0)
            bits = (bits & 0x800fffffffffffffULL) |
                   (static_cast<std::uint64_t>(1003 + random() % 77) << 52);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            continue;
        ASSERT_EQ(formatValue(value, "."), paperRounding(value, 4)) << "bits " << bits;
        ASSERT_EQ(formatIndex(value), paperRounding(value, 0)) << "bits " << bits;
    }
}

std::vector<std::string> listed(const std::vector<double>& values, std::size_t columns,
                                const std::string& separator, const std::string& ending)
{
    std::vector<std::string> lines;
    listRows(values, columns, separator, ending,
             [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

// A listing line is the row's index, then each value after three spaces,
// each written exactly as on its own (the long forms and long separators
// included), then the ending; rows continue across the batches in which
// the values are rounded.
TEST(ListRows, EachLineIsTheIndexAndTheValuesAsOnTheirOwn)
{
    std::vector<double> values = {0.03125,    -0.00004,          1e300, -kInf,
                                  kNaN,       12345678901.23465, -2.5,  -999999999999.99995,
                                  9999.99995, -9999.99994,       0.0,   -0.0};
    for (int k = 0; k < 300; ++k)
        values.push_back((k % 2 ? -1 : 1) * std::ldexp(1.0 + k / 7.0, k % 60 - 20));
    const std::vector<std::string> separators = {".", ",", std::string(8, '#'), std::string(9, '#'),
                                                 std::string(300, '~')};
    for (const std::size_t columns :
         {std::size_t{1}, std::size_t{2}, std::size_t{4}, std::size_t{257}}) {
        for (const std::string& separator : separators) {
            const std::vector<std::string> lines = listed(values, columns, separator, "   ");
            ASSERT_EQ(lines.size(), values.size() / columns);
            for (std::size_t row = 0; row < lines.size(); ++row) {
                std::string expected = formatIndex(static_cast<double>(row));
                for (std::size_t c = 0; c < columns; ++c)
                    expected += "   " + formatValue(values[row * columns + c], separator);
                ASSERT_EQ(lines[row], expected + "   ")
                    << columns << " columns, separator of " << separator.size() << ", row " << row;
            }
        }
    }
}

TEST(ListRows, RandomValuesAsRoundedOnPaper)
{
    std::mt19937_64 random(2718);
    std::vector<double> values;
    while (values.size() < 40000) {
        const std::uint64_t bits = (random() & 0x800fffffffffffffULL) |
                                   (static_cast<std::uint64_t>(1003 + random() % 40) << 52);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        values.push_back(value);
    }
    const std::vector<std::string> lines = listed(values, 4, ".", "");
    ASSERT_EQ(lines.size(), values.size() / 4);
    for (std::size_t row = 0; row < lines.size(); ++row) {
        std::string expected = paperRounding(static_cast<double>(row), 0);
        for (std::size_t c = 0; c < 4; ++c)
            expected += "   " + paperRounding(values[row * 4 + c], 4);
        ASSERT_EQ(lines[row], expected) << "row " << row;
    }
}

// Values that do not fill a last row are not listed; no columns, no lines.
TEST(ListRows, OnlyWholeRows)
{
    EXPECT_EQ(listed({1, 2, 3}, 2, ".", ""), std::vector<std::string>{"0   1.0000   2.0000"});
    EXPECT_TRUE(listed({1, 2, 3}, 0, ".", "").empty());
    EXPECT_TRUE(listed({}, 4, ".", "").empty());
}

TEST(FormatPlain, OrdinaryDecimalWriting)
{
    expectFormats(
        {
            {"count", 11.0, ".", "11"},
            {"zero", 0.0, ".", "0"},
            {"minus zero", -0.0, ".", "0"},
            {"negative whole", -3.0, ".", "-3"},
            {"whole with inner zeros", 1001.0, ",", "1001"},
            {"fraction", 10.5, ".", "10.5"},
            {"quarter", 0.25, ".", "0.25"},
            {"locale separator", -0.25, ",", "-0,25"},
            {"tenth times three reads as 0.3", 3 * (1.0 / 10), ".", "0.3"},
            {"fifteen significant digits", 1.0 / 3.0, ".", "0.333333333333333"},
            {"no exponent for large", 1e20, ".", "1" + zeros(20)},
            {"no exponent for small", 1.5e-7, ".", "0.00000015"},
            {"infinity", kInf, ".", "inf"},
            {"not a number", kNaN, ".", "nan"},
        },
        [](double value, const std::string& separator) { return formatPlain(value, separator); });
}

// The list of the sine with 11 points: the abscissae are i * (1/10).
TEST(FormatValue, SineListedAtElevenPoints)
{
    const double twoPi = 2 * (4 * std::atan(1.0));
    const double step = 1.0 / 10;
    const double x1 = 1 * step;
    const double x6 = 6 * step;
    EXPECT_EQ(formatValue(x1, "."), "0.1000");
    EXPECT_EQ(formatValue(std::sin(twoPi * x1), "."), "0.5878");
    EXPECT_EQ(formatValue(x6, "."), "0.6000");
    EXPECT_EQ(formatValue(std::sin(twoPi * x6), "."), "-0.5878");
    const double x3 = 3 * step;
    EXPECT_NE(x3, 0.3);
    EXPECT_EQ(formatValue(x3, "."), "0.3000");
    EXPECT_EQ(formatIndex(1), "1");
    EXPECT_EQ(formatIndex(6), "6");
}

// k * 10^-5 holds exactly the digits of k in its 15-digit writing, so an
// integer rounding of k gives the expected list text for any k.
std::string fourDecimalsOfHundredThousandths(std::int64_t k)
{
    const std::int64_t magnitude = k < 0 ? -k : k;
    const std::int64_t rounded = (magnitude + 5) / 10;
    std::string fraction = std::to_string(rounded % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    const std::string sign = (k < 0 && rounded != 0) ? "-" : "";
    return sign + std::to_string(rounded / 10000) + "." + fraction;
}

TEST(FormatValue, RandomHundredThousandthsRoundLikeIntegers)
{
    std::mt19937_64 random(314159);
    const std::int64_t limits[] = {100, 100000, 10000000, 100000000000000};
    for (int sample = 0; sample < 20000; ++sample) {
        const std::int64_t limit = limits[sample % 4];
        std::uniform_int_distribution<std::int64_t> draw(-limit, limit);
        std::int64_t k = draw(random);
        if (sample % 5 == 0) {
            k = k / 10 * 10 + (k < 0 ? -5 : 5);  // an exact half in the fifth decimal
        }
        const double value = static_cast<double>(k) / 100000.0;
        ASSERT_EQ(formatValue(value, "."), fourDecimalsOfHundredThousandths(k))
            << "sample " << sample << ", k " << k;
    }
}

std::string plainDecimal(std::int64_t k, int decimals)
{
    const std::int64_t magnitude = k < 0 ? -k : k;
    std::string digits = std::to_string(magnitude);
    if (static_cast<int>(digits.size()) <= decimals) {
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    }
    std::string whole = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    std::string fraction = digits.substr(whole.size());
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    const std::string sign = k < 0 ? "-" : "";
    return sign + whole + (fraction.empty() ? "" : "." + fraction);
}

TEST(FormatPlain, RandomDecimalsOfAtMostFifteenDigits)
{
    std::mt19937_64 random(2718);
    std::uniform_int_distribution<std::int64_t> draw(-999999999999999, 999999999999999);
    for (int sample = 0; sample < 20000; ++sample) {
        const std::int64_t k = draw(random) >> (sample % 40);
        const int decimals = sample % 12;
        const double value = static_cast<double>(k) / std::pow(10.0, decimals);
        ASSERT_EQ(formatPlain(value, "."), plainDecimal(k, decimals))
            << "sample " << sample << ", k " << k << ", decimals " << decimals;
    }
}

}  // namespace
}  // namespace tarvel
