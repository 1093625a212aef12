#include "data/numeric_text.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace tarvel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct TextCase {
    const char* name;
    std::string text;
    double expected;
};

void expectValues(const std::vector<TextCase>& cases)
{
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const TextCase& row = cases[i];
        const double got = numericValue(row.text);
        EXPECT_EQ(got, row.expected)
            << "case " << i << " (" << row.name << "), text \"" << row.text.substr(0, 60)
            << (row.text.size() > 60 ? "..." : "") << "\"";
        if (row.expected == 0.0) {
            EXPECT_FALSE(std::signbit(got)) << "case " << i << " (" << row.name << ") reads -0";
        }
    }
}

TEST(NumericValue, LeadingNumberOfATextBox)
{
    expectValues({
        {"default count", "11", 11.0},
        {"plain decimal", "0.25", 0.25},
        {"plus sign", "+5", 5.0},
        {"minus sign", "-3.5", -3.5},
        {"point first", ".5", 0.5},
        {"plus then point", "+.5", 0.5},
        {"minus then point", "-.75", -0.75},
        {"trailing point", "5.", 5.0},
        {"leading zeros", "007", 7.0},
        {"zeros after point", "0.000125", 0.000125},
        {"correctly rounded tenth", "0.1", 0.1},
        {"exponent", "1e3", 1000.0},
        {"capital exponent", "2.5E2", 250.0},
        {"signed exponent", "1e+2", 100.0},
        {"negative exponent", "25e-2", 0.25},
        {"exponent after bare point", "1.e2", 100.0},
        {"incomplete exponent", "1e", 1.0},
        {"exponent without digits", "1e+", 1.0},
        {"exponent sign only", "7E-", 7.0},
        {"exponent then garbage", "1e3x", 1000.0},
        {"exponent ends at point", "1e2.5", 100.0},
        {"D is no exponent letter", "1d2", 1.0},
    });
}

TEST(NumericValue, BlanksAnywhereAreSkipped)
{
    expectValues({
        {"blank between digits", "1 5", 15.0},
        {"blanks everywhere", " - 2 . 5 e 1", -25.0},
        {"leading blanks", "   42", 42.0},
        {"tab", "\t3\t4", 34.0},
        {"line feed", "1\n2", 12.0},
        {"carriage return and line feed", "1\r\n2", 12.0},
        {"blanks in exponent", "1 e - 2", 0.01},
        {"blanks in hexadecimal", "& H F F", 255.0},
        {"only blanks", " \t\n ", 0.0},
    });
}

TEST(NumericValue, TextThatIsNoNumberGivesZeroOrItsLeadingNumber)
{
    expectValues({
        {"empty", "", 0.0},
        {"letters", "abc", 0.0},
        {"point alone", ".", 0.0},
        {"minus alone", "-", 0.0},
        {"plus alone", "+", 0.0},
        {"exponent alone", "e5", 0.0},
        {"point and exponent", ".e5", 0.0},
        {"two signs", "--5", 0.0},
        {"mixed signs", "+-5", 0.0},
        {"number then letters", "12abc", 12.0},
        {"second point ends the number", "1.2.3", 1.2},
        {"trailing sign", "5-", 5.0},
        {"comma is no decimal point", "1,5", 1.0},
        {"C hexadecimal is no number", "0x10", 0.0},
        {"NUL ends the number",
         std::string("4\0"
                     "2",
                     3),
         4.0},
        {"minus zero", "-0", 0.0},
    });
}

TEST(NumericValue, HexadecimalAndOctal)
{
    expectValues({
        {"hex", "&HFF", 255.0},
        {"hex lower case", "&hff", 255.0},
        {"hex mixed digits", "&H1a2B", 6699.0},
        {"octal", "&O17", 15.0},
        {"octal lower case", "&o777", 511.0},
        {"hex without digits", "&H", 0.0},
        {"hex stops at non-digit", "&HFG", 15.0},
        {"octal stops at 8", "&O178", 15.0},
        {"octal digit 8 only", "&O8", 0.0},
        {"hex leading zeros", "&H000010", 16.0},
        {"unknown base letter", "&X10", 0.0},
        {"ampersand alone", "&", 0.0},
        {"no sign before hex", "-&H10", 0.0},
        {"hex has no point", "&H1.8", 1.0},
        {"hex 2^53+1 ties to even", "&H20000000000001", 9007199254740992.0},
        {"hex 2^53+3 ties to even", "&H20000000000003", 9007199254740996.0},
        {"octal 2^63+1", "&O1000000000000000000001", 9223372036854775808.0},
        {"hex 255 F digits", "&H" + std::string(255, 'F'), std::ldexp(1.0, 1020)},
        {"hex 256 F digits overflow", "&H" + std::string(256, 'F'), kInf},
        {"hex 300 F digits", "&H" + std::string(300, 'F'), kInf},
        {"octal 2^1023", "&O1" + std::string(341, '0'), std::ldexp(1.0, 1023)},
        {"octal 342 sevens overflow", "&O" + std::string(342, '7'), kInf},
        {"hex zeros then digits", "&H" + std::string(5000, '0') + "1", 1.0},
    });
}

TEST(NumericValue, OverflowAndUnderflow)
{
    expectValues({
        {"largest double", "1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"just above largest", "1.7976931348623159e308", kInf},
        {"exponent too large", "1e400", kInf},
        {"negative too large", "-1e400", -kInf},
        {"400 digit integer", std::string(400, '9'), kInf},
        {"too small", "1e-400", 0.0},
        {"negative too small", "-1e-400", 0.0},
        {"below half the least subnormal", "2e-324", 0.0},
        {"negative below half the least subnormal", "-2e-324", 0.0},
        {"least subnormal", "4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        {"smallest normal", "2.2250738585072014e-308", std::numeric_limits<double>::min()},
        {"2^53+1 ties to even", "9007199254740993", 9007199254740992.0},
        {"2^53+1 and a little more", "9007199254740993.0000000000000000001", 9007199254740994.0},
        {"a far nonzero digit decides the tie", "9007199254740993." + std::string(900, '0') + "1",
         9007199254740994.0},
        {"far zero digits leave the tie", "9007199254740993." + std::string(900, '0'),
         9007199254740992.0},
        {"far nonzero integer digit decides the tie",
         "9007199254740993" + std::string(900, '0') + "1e-901", 9007199254740994.0},
        {"zero with huge exponent", "0e999999", 0.0},
    });
}

TEST(NumericValue, HugeTextsAreReadQuickly)
{
    const std::string megabyte(1 << 20, '9');
    expectValues({
        {"megabyte of nines", megabyte, kInf},
        {"negative megabyte of nines", "-" + megabyte, -kInf},
        {"megabyte of zeros then 7", std::string(1 << 20, '0') + "7", 7.0},
        {"tiny fraction scaled up", "0." + std::string(1000000, '0') + "1e1000005", 10000.0},
        {"huge integer scaled down", "1" + std::string(1000000, '0') + "e-1000000", 1.0},
        {"megabyte of blanks", std::string(1 << 20, ' ') + "3", 3.0},
        {"thousand-digit exponent", "1e" + std::string(999, '0') + "1", 10.0},
        {"thousand nines as exponent", "1e" + std::string(1000, '9'), kInf},
        {"thousand nines as negative exponent", "1e-" + std::string(1000, '9'), 0.0},
        {"nines round up to a power of ten", megabyte + "e-1048570", 1000000.0},
    });
}

TEST(NumericValue, ReadsNothingBeyondTheView)
{
    const std::string buffer = "12345&HFF1e5";
    EXPECT_EQ(numericValue(std::string_view(buffer).substr(0, 2)), 12.0);
    EXPECT_EQ(numericValue(std::string_view(buffer).substr(5, 3)), 15.0);
    EXPECT_EQ(numericValue(std::string_view(buffer).substr(9, 2)), 1.0);
    EXPECT_EQ(numericValue(std::string_view(buffer).substr(0, 0)), 0.0);
}

// Every double written in the shortest form that reads back exactly must
// read back exactly: a check of correct rounding over the whole range,
// subnormals included.
TEST(NumericValue, ShortestWritingOfRandomDoublesReadsBack)
{
    std::mt19937_64 random(20240611);
    int checked = 0;
    while (checked < 20000) {
        const double value = std::bit_cast<double>(random());
        if (!std::isfinite(value)) {
            continue;
        }
        std::array<char, 64> buffer{};
        const auto format =
            (checked % 2 == 0) ? std::chars_format::scientific : std::chars_format::general;
        const auto end =
            std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format).ptr;
        const std::string text(buffer.data(), end);
        ASSERT_EQ(numericValue(text), value) << "sample " << checked << ", text " << text;
        ++checked;
    }
}

// Exact decimal writing of a finite non-negative double with a fixed
// number of decimals, the point left out.
constexpr int kExactDecimals = 1075;  // the least subnormal needs 1074

std::string exactDigits(double value)
{
    std::string buffer(1500, '\0');
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed, kExactDecimals)
                         .ptr;
    std::string digits(buffer.data(), end);
    digits.erase(digits.find('.'), 1);
    return digits;
}

// The exact decimal midpoint of two adjacent doubles.
std::string exactMidpoint(double below, double above)
{
    std::string a = exactDigits(below);
    std::string b = exactDigits(above);
    a.insert(0, b.size() + 1 - a.size(), '0');
    b.insert(0, 1, '0');
    std::string sum(a.size(), '0');
    int carry = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        const int digit = (a[i] - '0') + (b[i] - '0') + carry;
        sum[i] = static_cast<char>('0' + digit % 10);
        carry = digit / 10;
    }
    std::string half(sum.size(), '0');
    int remainder = 0;
    for (std::size_t i = 0; i < sum.size(); ++i) {
        const int current = remainder * 10 + (sum[i] - '0');
        half[i] = static_cast<char>('0' + current / 2);
        remainder = current % 2;
    }
    half.insert(half.size() - kExactDecimals, 1, '.');
    return half;
}

// Subtracts one unit of the last digit of a positive decimal text that
// ends in a nonzero digit or in the point.
void lowerLastDigit(std::string& decimal)
{
    for (std::size_t i = decimal.size(); i-- > 0;) {
        if (decimal[i] == '.') {
            continue;
        }
        if (decimal[i] != '0') {
            --decimal[i];
            return;
        }
        decimal[i] = '9';
    }
}

// A midpoint between two doubles ties to the even one; any digit beyond it,
// however far down, decides for the nearer one. Subnormal midpoints are
// some 750 significant digits long.
TEST(NumericValue, MidpointsOfAdjacentDoublesAreDecidedByEveryDigit)
{
    std::mt19937_64 random(1075);
    std::vector<double> belows = {0.0, 1.0, std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::min(), 9007199254740992.0};
    for (int sample = 0; sample < 300; ++sample) {
        const double value = std::abs(std::bit_cast<double>(random()));
        if (value < std::numeric_limits<double>::max()) {
            belows.push_back(value);
        }
    }
    for (std::size_t i = 0; i < belows.size(); ++i) {
        const double below = belows[i];
        const double above = std::nextafter(below, kInf);
        const bool belowIsEven = (std::bit_cast<std::uint64_t>(below) & 1) == 0;
        std::string midpoint = exactMidpoint(below, above);
        midpoint.erase(midpoint.find_last_not_of('0') + 1);
        std::string lower = midpoint;
        lowerLastDigit(lower);
        lower += "999999";
        EXPECT_EQ(numericValue(midpoint), belowIsEven ? below : above)
            << "sample " << i << ", tie above " << below;
        EXPECT_EQ(numericValue(midpoint + "0001"), above) << "sample " << i << ", above " << below;
        EXPECT_EQ(numericValue(lower), below) << "sample " << i << ", below " << below;
    }
}

TEST(NumericValue, BlanksInsertedAnywhereDoNotChangeTheValue)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> magnitude(-300.0, 300.0);
    for (int sample = 0; sample < 2000; ++sample) {
        const double value = std::pow(10.0, magnitude(random)) * ((sample % 3 == 0) ? -1.0 : 1.0);
        std::array<char, 64> buffer{};
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::scientific, 16)
                             .ptr;
        std::string text(buffer.data(), end);
        const double plain = numericValue(text);
        for (int blanks = 0; blanks < 4; ++blanks) {
            const std::size_t at = random() % (text.size() + 1);
            text.insert(at, 1, " \t\n\r"[blanks]);
        }
        ASSERT_EQ(numericValue(text), plain) << "sample " << sample << ", text \"" << text << "\"";
        ASSERT_EQ(plain, value) << "sample " << sample;
    }
}

TEST(NumericValue, RandomIntegersInHexadecimalAndOctal)
{
    std::mt19937_64 random(99);
    for (int sample = 0; sample < 5000; ++sample) {
        const std::uint64_t number = random() >> (sample % 64);
        const double expected = static_cast<double>(number);
        for (const int base : {16, 8}) {
            std::array<char, 80> buffer{};
            const auto end =
                std::to_chars(buffer.data(), buffer.data() + buffer.size(), number, base).ptr;
            const std::string text =
                std::string(base == 16 ? "&H" : "&O") + std::string(buffer.data(), end);
            ASSERT_EQ(numericValue(text), expected) << "sample " << sample << ", text " << text;
        }
    }
}

TEST(NumericValue, PeriodIsThePointWhateverTheLocale)
{
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "tr_TR.UTF-8",
                                  "German"};
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    bool switched = false;
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            switched = true;
            break;
        }
    }
    if (!switched) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const double withPeriod = numericValue("2.5");
    const double withComma = numericValue("2,5");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(withPeriod, 2.5);
    EXPECT_EQ(withComma, 2.0);
}

}  // namespace
}  // namespace tarvel
